// lyrivox-cli hyphenate: the editor pass from a script, with the pattern files
// the build puts beside the program.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <sys/wait.h>

namespace {

struct TResult {
    int Code;
    std::string Out;
};

TResult RunCli(const std::string& args) {
    const std::string cmd = std::string(LV_CLI_PATH) + " hyphenate " + args + " 2>/dev/null";
    FILE* p = popen(cmd.c_str(), "r");
    std::string out;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        out.append(buf, n);
    const int status = pclose(p);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

std::string WriteTemp(const std::string& name, const std::string& text) {
    const std::string path = ::testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

TEST(CliHyphenate, HyphenatesAFileKeepingTitleLinesAndLineEnds) {
    const std::string path =
        WriteTemp("lyric_de.txt",
                  "Sonnenschein  \r\nInterpret\r\nSonnenschein und Liebe,\r\n_Takt 2 Liebe\r\n");
    const TResult r = RunCli("--lang de " + path);
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(r.Out,
              "Sonnenschein\r\nInterpret\r\nSon-nen-schein und Lie-be,\r\n_Takt 2 Liebe\r\n");
}

TEST(CliHyphenate, ReadsStandardInput) {
    const std::string path = WriteTemp("lyric_en.txt", "Title\nArtist\nwonderful hyphenation\n");
    const TResult r = RunCli("--lang en < " + path);
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(r.Out, "Title\nArtist\nwon-der-ful hy-phen-ation\n");
}

TEST(CliHyphenate, RejectsBadArguments) {
    EXPECT_EQ(RunCli("--lang xx /dev/null").Code, 2);
    EXPECT_EQ(RunCli("/dev/null").Code, 2);
    EXPECT_EQ(RunCli("--lang de /nonexistent/lyric.txt").Code, 1);
}

} // namespace

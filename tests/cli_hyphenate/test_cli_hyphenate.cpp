// lyrivox-cli hyphenate: the editor pass from a script, with the pattern files
// the build puts beside the program.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "CliRun.h"

namespace {

using lvtest::TRun;

TRun Hyphenate(const std::string& args) {
    return lvtest::RunCli(LV_CLI_PATH, "hyphenate " + args);
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
    const TRun r = Hyphenate("--lang de " + path);
    EXPECT_EQ(r.Exit, 0);
    EXPECT_EQ(r.Out,
              "Sonnenschein\r\nInterpret\r\nSon-nen-schein und Lie-be,\r\n_Takt 2 Liebe\r\n");
}

TEST(CliHyphenate, ReadsStandardInput) {
    const std::string path = WriteTemp("lyric_en.txt", "Title\nArtist\nwonderful hyphenation\n");
    const TRun r = Hyphenate("--lang en < " + path);
    EXPECT_EQ(r.Exit, 0);
    EXPECT_EQ(r.Out, "Title\nArtist\nwon-der-ful hy-phen-ation\n");
}

TEST(CliHyphenate, RejectsBadArguments) {
    EXPECT_EQ(Hyphenate("--lang xx /dev/null").Exit, 2);
    EXPECT_EQ(Hyphenate("/dev/null").Exit, 2);
    EXPECT_EQ(Hyphenate("--lang de /nonexistent/lyric.txt").Exit, 1);
}

} // namespace

#pragma once
// The real songs below LV_CORPUS_DIR and a reference reader (Debian's
// python3-mido) run over them.
#include <string>
#include <vector>

namespace lvtest {

// The corpus files whose extension is one of extensions (".mid"), sorted;
// empty when there is no corpus folder.
std::vector<std::string> CorpusFiles(const std::vector<std::string>& extensions);

// s quoted for the shell.
std::string ShellQuote(const std::string& s);

// Runs "/usr/bin/python3 LV_SOURCE_DIR/script [redirect] files..." and returns
// its standard output.
std::string RunMidoScript(const std::string& script, const std::vector<std::string>& files,
                          const std::string& redirect = "");

} // namespace lvtest

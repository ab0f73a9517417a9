#pragma once
#include <string>

#include "settings/Configuration.h"

namespace lv {

// The settings of a first start: the table's defaults, with the three paths
// set to the program's folder (the open dialog's one in lower case).
TConfiguration DefaultConfiguration(const std::string& programFolder);

// Lower case of the ASCII letters; other bytes stay (folder names keep their
// accented letters).
std::string LowerCaseAscii(std::string text);

// The form in which the last MIDI source folder is kept and compared: lower
// case where file names ignore case (Windows), as it is where they do not --
// a lower-cased "/home/Anna/Songs" would name a folder that does not exist.
std::string SourceFolderKey(const std::string& folder);

} // namespace lv

#pragma once
// Loading a lyric text into the editor (plain text, RTF, office documents
// through an external converter) and saving the lyric as a text file.
#include <cstdint>
#include <string>
#include <vector>

#include "lyrics/EditorText.h"
#include "model/Song.h"

namespace lv {

// One importable document type of the office converters.
struct TConverterFilter {
    std::string Description; // "Word document (LibreOffice)"
    std::string Patterns;    // "*.docx;*.doc"
};

// Turns office documents into RTF. The platform layer provides the real one
// (programs found at run time); core only needs the list and the import.
class TOfficeConverter {
  public:
    virtual ~TOfficeConverter() = default;
    // The importable types in converter-number order (number = index).
    virtual std::vector<TConverterFilter> ImportFilters() const = 0;
    // Converts source with the given converter into an RTF file at rtfTarget.
    // Returns false when the converter failed.
    virtual bool ImportToRtf(int converterNumber, const std::string& source,
                             const std::string& rtfTarget) = 0;
};

// The filter of the load dialog: the two fixed entries, then the converters,
// "Description|patterns|..." (the filter index counts from 1).
std::string TextLoadFilter(const std::string& language,
                           const std::vector<TConverterFilter>& converters);

// How the load dialog's filter index reads a file.
enum class TTextFileKind { Plain = 1, Rtf = 2 }; // 3 and higher: converter index - 3

// The name of the temporary RTF file a converter import goes through.
inline constexpr const char* kConverterTempName = "Text.rtf";

struct TTextLoadResult {
    bool Loaded = false;              // the editor holds the text, editing state is on
    bool LastTextPathChanged = false; // Config.LastTextPath changed: store the settings
};

// Load text: reads fileName by the dialog's filterIndex (1 plain, 2 RTF,
// 3.. converter index-3 through tempFolder/"Text.rtf"), cleans up blank lines,
// turns tabs into blanks (8 columns) and typographic apostrophes into "'",
// and puts the text into the editor in the editing state (EditMode and
// RulesQuestionPending set). Messages go through song.UserDialogs(). On any
// failure the editor and the song stay as they were.
TTextLoadResult LoadLyricTextFile(TSong& song, TEditorText& editor, const std::string& fileName,
                                  int filterIndex, TOfficeConverter* converter,
                                  const std::string& tempFolder);

// The text lines of a file's bytes before clean-up: plain text as it is (a
// UTF-8 file is turned into Windows-1252 bytes), RTF as its plain text.
std::vector<std::string> TextFileLines(const std::string& bytes, bool asRtf);
// Clean-up and normalisation of loaded lines; false when nothing but blank
// lines is left.
bool PrepareLoadedLines(std::vector<std::string>& lines);

// The lyric text format of the table, as Save text writes it ("\r\n" line ends).
std::string LyricTextFileContents(const TSong& song);
// Save text: stores the lyric text. On failure the old file is kept, a message
// goes through song.UserDialogs() and the result is false.
bool SaveLyricTextFile(TSong& song, const std::string& fileName);

} // namespace lv

#pragma once
// Office documents into RTF through converter programs found at run time:
// LibreOffice headless ("soffice --headless --convert-to rtf") and pandoc.
// Only the programs that are installed contribute entries to the list.
#include <string>
#include <vector>

#include "lyrics/TextImport.h"

namespace lv::platform {

class TSystemOfficeConverter : public TOfficeConverter {
  public:
    // Looks the programs up on the PATH. profileDir is the LibreOffice user
    // profile to use (empty: one of our own below the user's cache folder, so a
    // running LibreOffice of the user neither blocks nor is touched by us).
    explicit TSystemOfficeConverter(const std::string& language = "Englisch",
                                    const std::string& profileDir = {});

    std::vector<TConverterFilter> ImportFilters() const override;
    bool ImportToRtf(int converterNumber, const std::string& source,
                     const std::string& rtfTarget) override;

    bool HasLibreOffice() const { return !Soffice.empty(); }
    bool HasPandoc() const { return !Pandoc.empty(); }
    // Upper limit for one conversion; a converter that hangs is stopped.
    int TimeoutMs = 180000;

  private:
    struct TEntry {
        TConverterFilter Filter;
        bool UsesPandoc;
        std::string PandocFormat; // pandoc's name of the input format
    };
    std::vector<TEntry> Entries;
    std::string Soffice, Pandoc, ProfileDir;

    bool RunLibreOffice(const std::string& source, const std::string& rtfTarget);
    bool RunPandoc(const std::string& format, const std::string& source,
                   const std::string& rtfTarget);
};

// The folder for the temporary "Text.rtf" of a converter import: the
// program's own folder when it is writable, else the temporary folder.
std::string ConverterTempFolder();

} // namespace lv::platform

#include "lyrics/TextImport.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "lyrics/RtfReader.h"
#include "lyrics/TextEditing.h"
#include "text/MessagesLyrics.h"

namespace lv {

namespace fs = std::filesystem;

namespace {

// prefix, the quoted path, a carriage return, the tail.
std::string FileMessage(const TSong& song, const TMessage& prefix, const std::string& path,
                        const TMessage& tail) {
    return Tr(song.Language, prefix) + "\"" + path + "\"\r" + Tr(song.Language, tail);
}

bool ReadWholeFile(const std::string& path, std::string& out) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// Decodes well-formed UTF-8; false on any malformed sequence.
bool DecodeUtf8(const std::string& s, std::vector<char32_t>& out) {
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        int extra;
        char32_t cp;
        if (b < 0x80) {
            extra = 0;
            cp = b;
        } else if ((b & 0xE0) == 0xC0) {
            extra = 1;
            cp = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2;
            cp = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3;
            cp = b & 0x07;
        } else {
            return false;
        }
        if (i + std::size_t(extra) >= s.size()) return false;
        for (int k = 1; k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(s[i + std::size_t(k)]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        // Overlong forms and surrogates are not UTF-8.
        if ((extra == 1 && cp < 0x80) || (extra == 2 && cp < 0x800) ||
            (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        out.push_back(cp);
        i += std::size_t(extra) + 1;
    }
    return true;
}

// Lyric texts are Windows-1252 bytes. A text file written as UTF-8 (the usual
// form on Linux) is turned into them; characters the code page lacks become "?".
std::string PlainTextBytes(std::string bytes) {
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
    bool ascii = true;
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) ascii = false;
    if (ascii) return bytes;
    std::vector<char32_t> cps;
    if (!DecodeUtf8(bytes, cps)) return bytes; // already single-byte text
    std::string out;
    out.reserve(cps.size());
    for (char32_t cp : cps) {
        const int b = UnicodeToCp1252(cp);
        out += b >= 0 ? char(b) : '?';
    }
    return out;
}

} // namespace

std::string TextLoadFilter(const std::string& language,
                           const std::vector<TConverterFilter>& converters) {
    std::string f = Tr(language, msg::TextLoadFilterFixed);
    for (std::size_t i = 0; i < converters.size(); ++i) {
        if (i) f += '|';
        f += converters[i].Description + "|" + converters[i].Patterns;
    }
    return f;
}

std::vector<std::string> TextFileLines(const std::string& bytes, bool asRtf) {
    TEditorText t;
    if (asRtf && LooksLikeRtf(bytes))
        t.SetText(RtfToPlainText(bytes));
    else
        t.SetText(PlainTextBytes(bytes));
    return t.Lines;
}

bool PrepareLoadedLines(std::vector<std::string>& lines) {
    CleanUpLines(lines);
    if (lines.empty()) return false;
    for (std::string& line : lines)
        NormaliseLine(line, 8);
    return true;
}

TTextLoadResult LoadLyricTextFile(TSong& song, TEditorText& editor, const std::string& fileName,
                                  int filterIndex, TOfficeConverter* converter,
                                  const std::string& tempFolder) {
    TTextLoadResult result;
    const std::string folder = fs::path(fileName).parent_path().string();
    if (folder != song.Config.LastTextPath) {
        song.Config.LastTextPath = folder;
        result.LastTextPathChanged = true;
    }
    TUserDialogs& dialogs = song.UserDialogs();

    std::string bytes;
    bool asRtf = filterIndex == int(TTextFileKind::Rtf);
    if (filterIndex >= 3) {
        // The converter writes an RTF document; its plain text is the lyric.
        const std::string temp = (fs::path(tempFolder) / kConverterTempName).string();
        std::error_code ec;
        fs::remove(temp, ec);
        const bool converted =
            converter != nullptr && converter->ImportToRtf(filterIndex - 3, fileName, temp);
        if (!converted)
            dialogs.Message(Tr(song.Language, msg::ConverterError),
                            Tr(song.Language, msg::ConverterError));
        const bool read = converted && ReadWholeFile(temp, bytes) && LooksLikeRtf(bytes);
        fs::remove(temp, ec);
        if (!read) {
            dialogs.Message(FileMessage(song, msg::WrongTypePrefix, fileName, msg::WrongTypeTail),
                            kAppTitle);
            return result;
        }
        asRtf = true;
    } else if (!ReadWholeFile(fileName, bytes)) {
        dialogs.Message(
            FileMessage(song, msg::UnreadableFilePrefix, fileName, msg::UnreadableFileTail),
            kAppTitle);
        return result;
    }

    std::vector<std::string> lines = TextFileLines(bytes, asRtf);
    if (!PrepareLoadedLines(lines)) {
        dialogs.Message(FileMessage(song, msg::EmptyFilePrefix, fileName, msg::EmptyFileTail),
                        kAppTitle);
        return result;
    }
    editor.Lines = std::move(lines);
    editor.SelStart = 0;
    editor.SelLength = 0;
    editor.ReadOnly = false;
    song.EditMode = true;
    song.RulesQuestionPending = true;
    result.Loaded = true;
    return result;
}

std::string LyricTextFileContents(const TSong& song) {
    std::string out;
    for (const std::string& line : LyricTextLines(song)) {
        out += line;
        out += "\r\n";
    }
    return out;
}

bool SaveLyricTextFile(TSong& song, const std::string& fileName) {
    const std::string contents = LyricTextFileContents(song);
    // Written beside the target first, so a failed write keeps the old file.
    const std::string temp = fileName + ".lvtmp";
    bool ok = false;
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (out) {
            out.write(contents.data(), std::streamsize(contents.size()));
            out.flush();
            ok = bool(out);
        }
    }
    std::error_code ec;
    if (ok) {
        fs::rename(temp, fileName, ec);
        ok = !ec;
    }
    if (!ok) {
        fs::remove(temp, ec);
        song.UserDialogs().Message(
            FileMessage(song, msg::UnwritableFilePrefix, fileName, msg::UnwritableFileTail),
            kAppTitle);
    }
    return ok;
}

} // namespace lv

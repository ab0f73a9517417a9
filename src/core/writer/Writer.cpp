#include "writer/Writer.h"

#include <cctype>
#include <cstring>
#include <filesystem>

#include "model/Errors.h"
#include "text/MessagesWriter.h"
#include "writer/SafeSave.h"

namespace lv {

namespace {

// Which long events a writer lets through.
enum class TLongRule {
    NonEmpty,     // format 0 and format 1 as is: Length above 0, or end of track
    SplitChannels // split format 1: anything but an empty meta event, or end of track
};

struct TChunk {
    const TEventList* Events;
    TLongRule Rule;
};

[[noreturn]] void CodingError(const TSong& song) {
    throw EMidiError(Tr(song.Language, msg::CodingError));
}

// Writes bytes into the image, or only counts them when Out is null.
class TSink {
  public:
    explicit TSink(std::uint8_t* out) : Out(out) {}
    void Byte(std::uint8_t b) {
        if (Out) Out[Pos] = b;
        ++Pos;
    }
    void Bytes(const void* p, std::size_t n) {
        if (Out && n) std::memcpy(Out + Pos, p, n);
        Pos += n;
    }
    void Text(const char* s) { Bytes(s, std::strlen(s)); }
    void Be32(std::uint32_t v) {
        Byte(static_cast<std::uint8_t>(v >> 24));
        Byte(static_cast<std::uint8_t>(v >> 16));
        Byte(static_cast<std::uint8_t>(v >> 8));
        Byte(static_cast<std::uint8_t>(v));
    }
    void Be16(std::uint16_t v) {
        Byte(static_cast<std::uint8_t>(v >> 8));
        Byte(static_cast<std::uint8_t>(v));
    }
    // Variable-length quantity; a negative value is written as 0.
    void Vlq(std::int64_t value) {
        std::uint32_t v = value < 0 ? 0u : static_cast<std::uint32_t>(value);
        std::uint8_t groups[5];
        int n = 0;
        groups[n++] = static_cast<std::uint8_t>(v & 0x7F);
        while ((v >>= 7) != 0)
            groups[n++] = static_cast<std::uint8_t>(0x80 | (v & 0x7F));
        while (n > 0)
            Byte(groups[--n]);
    }
    void Patch32(std::size_t at, std::uint32_t v) {
        if (!Out) return;
        Out[at] = static_cast<std::uint8_t>(v >> 24);
        Out[at + 1] = static_cast<std::uint8_t>(v >> 16);
        Out[at + 2] = static_cast<std::uint8_t>(v >> 8);
        Out[at + 3] = static_cast<std::uint8_t>(v);
    }
    std::uint8_t* Out;
    std::size_t Pos = 0;
};

bool LetThrough(const TMidiEvent& e, TLongRule rule) {
    if (e.MetaType == 47 && e.Status == 0xFF) return true;
    if (rule == TLongRule::NonEmpty) return e.Length > 0;
    return e.Status != 0xFF || e.Length != 0;
}

void WriteChunk(const TSong& song, TSink& s, const TChunk& chunk) {
    s.Text("MTrk");
    const std::size_t lengthAt = s.Pos;
    s.Be32(0); // patched below
    const std::size_t start = s.Pos;

    std::uint8_t running = 0;
    std::int32_t prevTick = 0;
    bool endWritten = false;
    const TEventList& list = *chunk.Events;
    for (auto it = list.begin(); it != list.end(); ++it) {
        const TMidiEvent& e = *it;
        const bool last = std::next(it) == list.end();
        if (e.Kind == 1) {
            const int dataBytes = e.Length - 1;
            // A channel message the reader could not read back is refused
            // rather than written as a broken file.
            if (e.Status < 0x80 || e.Status > 0xEF || dataBytes < 1 || dataBytes > 2 ||
                e.Data1 > 127 || (dataBytes == 2 && e.Data2 > 127))
                CodingError(song);
            s.Vlq(static_cast<std::int64_t>(e.Tick) - prevTick);
            prevTick = e.Tick;
            if (e.Status != running) {
                s.Byte(e.Status);
                running = e.Status;
            }
            s.Byte(e.Data1);
            if (dataBytes == 2) s.Byte(e.Data2);
        } else if (e.Kind == 2) {
            if (!LetThrough(e, chunk.Rule)) continue;
            const bool isEnd = e.Status == 0xFF && e.MetaType == 47;
            // An end of track inside the list would cut the chunk short for
            // every reader; only the final one is written.
            if (isEnd && !last) continue;
            if (e.Status == 0xFF && (e.MetaType < 0 || e.MetaType > 255)) CodingError(song);
            if (e.Status != 0xF0 && e.Status != 0xF7 && e.Status != 0xFF && e.Status != 0xF8 &&
                e.Status != 0xFA && e.Status != 0xFB && e.Status != 0xFC)
                CodingError(song);
            s.Vlq(static_cast<std::int64_t>(e.Tick) - prevTick);
            prevTick = e.Tick;
            s.Byte(e.Status);
            running = 0;
            const std::size_t n = e.Length > 0 ? e.Data.size() : 0;
            if (e.Status == 0xF0 || e.Status == 0xF7) {
                s.Vlq(static_cast<std::int64_t>(n));
                s.Bytes(e.Data.data(), n);
            } else if (e.Status == 0xFF) {
                s.Byte(static_cast<std::uint8_t>(e.MetaType));
                if (n == 0) {
                    s.Byte(0);
                } else {
                    s.Vlq(static_cast<std::int64_t>(n));
                    if (e.MetaType == 5) {
                        // "_" stands for a blank inside a syllable.
                        for (std::size_t i = 0; i < n; ++i)
                            s.Byte(e.Data[i] == '_' ? ' ' : static_cast<std::uint8_t>(e.Data[i]));
                    } else {
                        s.Bytes(e.Data.data(), n);
                    }
                }
            }
            endWritten = isEnd;
            continue;
        } else {
            CodingError(song);
        }
        endWritten = false;
    }
    // Every chunk ends with an end of track, even when the list lost its own.
    if (!endWritten) {
        s.Vlq(0);
        s.Byte(0xFF);
        s.Byte(0x2F);
        s.Byte(0);
    }
    s.Patch32(lengthAt, static_cast<std::uint32_t>(s.Pos - start));
}

void WriteImage(const TSong& song, TSink& s, int format, const std::vector<TChunk>& chunks) {
    s.Text("MThd");
    s.Be32(6);
    s.Be16(static_cast<std::uint16_t>(format));
    s.Byte(0);
    s.Byte(static_cast<std::uint8_t>(chunks.size()));
    s.Be16(song.Division);
    for (const TChunk& c : chunks)
        WriteChunk(song, s, c);
}

// Counting pass, one allocation of exactly that size, writing pass.
AByte BuildImage(const TSong& song, int format, const std::vector<TChunk>& chunks) {
    if (chunks.size() > 255) throw EMidiError(Tr(song.Language, msg::TooManyTracks));
    TSink counter(nullptr);
    WriteImage(song, counter, format, chunks);
    AByte image(counter.Pos);
    TSink writer(image.data());
    WriteImage(song, writer, format, chunks);
    if (writer.Pos != image.size()) CodingError(song);
    return image;
}

TMidiEvent CopyEvent(const TMidiEvent& e) {
    TMidiEvent c;
    c.Status = e.Status;
    c.Length = e.Length;
    c.Kind = e.Kind;
    c.MetaType = e.MetaType;
    c.Tick = e.Tick;
    c.Data1 = e.Data1;
    c.Data2 = e.Data2;
    if (e.Kind == 2 && e.Length > 0) c.Data = e.Data;
    return c;
}

// The name of the single track of a format-0 file: the file name without its
// folder and extension, starting with a capital letter.
std::string TrackNameOf(const std::string& targetPath) {
    const std::filesystem::path p(targetPath);
    std::string name = p.filename().string();
    const std::string ext = p.extension().string();
    if (!ext.empty()) {
        const std::size_t at = name.find(ext);
        if (at != std::string::npos) name.erase(at, ext.size());
    }
    if (!name.empty() && name[0] >= 'a' && name[0] <= 'z')
        name[0] = static_cast<char>(name[0] - 32);
    return name;
}

bool IsMeta(const TMidiEvent& e, int type) {
    return e.Kind == 2 && e.Status == 0xFF && e.MetaType == type;
}

bool IsSkippedEmptyTrack(const TTrack& t) {
    if (t.EventCount >= 3 || t.Events.size() < 2) return false;
    const TMidiEvent& second = *std::next(t.Events.begin());
    return IsMeta(second, 3) && (second.Data == "Lyrics" || second.Data == "Suffloer");
}

// Channel number of a "MO..._ch.N word" instrument name, 0 when the name is
// none of those or names no channel 1..16.
int InstrumentNameChannel(const std::string& text) {
    static const char* const prefixes[] = {"MO4P_ch.", "MO5P_ch.", "MO6P_ch.",
                                           "MO7_ch.",  "MO8_ch.",  "MO9_ch."};
    for (const char* prefix : prefixes) {
        const std::size_t n = std::strlen(prefix);
        if (text.compare(0, n, prefix) != 0) continue;
        // The channel number follows the prefix, whatever its length.
        const std::string rest = text.substr(n);
        const std::size_t blank = rest.find(' ');
        if (blank == std::string::npos) return 0;
        std::string digits = rest.substr(0, blank);
        std::size_t i = 0;
        bool negative = false;
        if (i < digits.size() && (digits[i] == '+' || digits[i] == '-'))
            negative = digits[i++] == '-';
        if (i == digits.size() || digits.size() - i > 6) return 0;
        int v = 0;
        for (; i < digits.size(); ++i) {
            if (!std::isdigit(static_cast<unsigned char>(digits[i]))) return 0;
            v = v * 10 + (digits[i] - '0');
        }
        if (negative) v = -v;
        return (v >= 1 && v <= 16) ? v : 0;
    }
    return 0;
}

} // namespace

AByte BuildFormat0Image(const TSong& song, const std::string& targetPath) {
    TEventList out;
    out.push_back(MakePortHead());
    out.push_back(MakeMetaEvent(3, TrackNameOf(targetPath), 0));
    out.push_back(MakeEndOfTrack(song.SongEndTick));
    const auto outEnd = std::prev(out.end());

    bool copyrightKept = false;
    const std::size_t trackTotal = song.Tracks.size();
    for (std::size_t t = 0; t < trackTotal; ++t) {
        const TTrack& track = song.Tracks[t];
        if (t > 0 && track.EventCount < 3) continue;
        auto src = track.Events.begin();
        while (src != track.Events.end()) {
            const TMidiEvent& e = *src;
            if (IsMeta(e, 3) || IsMeta(e, 4) || IsMeta(e, 32) || IsMeta(e, 33) ||
                (IsMeta(e, 2) && copyrightKept)) {
                ++src;
                continue;
            }
            break;
        }
        // Insertion starts after the port events at the front of the output.
        auto ins = out.begin();
        while (ins != outEnd && IsMeta(*ins, 33))
            ++ins;
        for (; src != track.Events.end(); ++src) {
            const TMidiEvent& e = *src;
            if (IsMeta(e, 47)) continue; // the output has its own end of track
            // Equal ticks go after what is already there, so lower tracks come first;
            // the end of track stays behind everything at the song's last tick.
            while (ins != out.end() && ins->Tick <= e.Tick &&
                   !(ins == outEnd && ins->Tick == e.Tick))
                ++ins;
            if (ins == out.end()) break; // after the song's end: the rest of the track goes
            if (e.Kind == 2 && e.Status == 0xFF && e.Length == 0 && e.MetaType < 10) continue;
            out.insert(ins, CopyEvent(e));
            if (IsMeta(e, 2)) copyrightKept = true;
        }
    }
    return BuildImage(song, 0, {TChunk{&out, TLongRule::NonEmpty}});
}

namespace {

AByte BuildFormat1AsIs(const TSong& song) {
    std::vector<TChunk> chunks;
    for (const TTrack& track : song.Tracks) {
        if (IsSkippedEmptyTrack(track)) continue;
        chunks.push_back(TChunk{&track.Events, TLongRule::NonEmpty});
    }
    return BuildImage(song, 1, chunks);
}

struct TSplitList {
    TEventList Events;
    std::int32_t Count = 1;
    int Program = -1;
};

AByte BuildFormat1Split(const TSong& song) {
    std::vector<TSplitList> lists(19);
    lists[0].Events.push_back(MakePortHead());
    for (int i = 1; i <= 16; ++i) {
        lists[i].Events.push_back(MakePortHead());
        lists[i].Events.push_back(MakeMetaEvent(3, std::string(), 0));
    }
    // Events of one track keep their order. An event of a later track that is
    // earlier than what the list already holds from earlier tracks is put in
    // tick order among those, so a song with several tracks on one channel
    // does not get the later track's events shifted behind the earlier one's.
    // The copies carry their source track in TimeMs, which the writer never
    // writes; the head events carry -1 and are never passed.
    for (auto& l : lists)
        for (auto& e : l.Events)
            e.TimeMs = -1;
    auto append = [&](int list, const TMidiEvent& e, int sourceTrack) {
        TEventList& events = lists[list].Events;
        auto pos = events.end();
        while (pos != events.begin()) {
            const TMidiEvent& before = *std::prev(pos);
            if (before.TimeMs < 0 || before.TimeMs == sourceTrack || before.Tick <= e.Tick) break;
            --pos;
        }
        TMidiEvent copy = CopyEvent(e);
        copy.TimeMs = sourceTrack;
        events.insert(pos, std::move(copy));
        ++lists[list].Count;
    };

    for (std::size_t t = 0; t < song.TrackCount && t < song.Tracks.size(); ++t) {
        const TTrack& track = song.Tracks[t];
        if (track.Events.empty()) continue;
        const int source = static_cast<int>(t);
        for (auto it = std::next(track.Events.begin()); it != track.Events.end(); ++it) {
            const TMidiEvent& e = *it;
            if (e.Kind == 1) {
                const int list = (e.Status & 0x0F) + 1;
                if ((e.Status & 0xF0) == 0xC0 && lists[list].Program < 0)
                    lists[list].Program = e.Data1;
                append(list, e, source);
            } else if (e.Status == 0xF0 || e.Status == 0xF7) {
                append(10, e, source);
            } else if (e.Status == 0xFF) {
                switch (e.MetaType) {
                case 1:
                case 6:
                case 7:
                case 75:
                case 127:
                    append(1, e, source);
                    break;
                case 81:
                case 84:
                case 88:
                case 89:
                    append(0, e, source);
                    break;
                case 4:
                    if (const int ch = InstrumentNameChannel(e.Data)) append(ch, e, source);
                    break;
                default:
                    break;
                }
            }
        }
    }

    auto copyTrack = [&](int list, const TTrack& track, bool withEvents) {
        if (track.Events.empty()) return;
        lists[list].Events.push_back(CopyEvent(track.Events.front()));
        if (withEvents) {
            for (auto it = std::next(track.Events.begin()); it != track.Events.end(); ++it)
                lists[list].Events.push_back(CopyEvent(*it));
        } else {
            lists[list].Events.push_back(MakeEndOfTrack(song.SongEndTick));
        }
        lists[list].Count = static_cast<std::int32_t>(lists[list].Events.size());
    };
    const std::size_t lyrics = song.TrackCount;
    if (lyrics < song.Tracks.size()) copyTrack(17, song.Tracks[lyrics], song.SyllableCount > 0);
    if (lyrics + 1 < song.Tracks.size())
        copyTrack(18, song.Tracks[lyrics + 1],
                  song.Config.SufflorEnabled && song.SyllableCount > 0);

    for (int i = 0; i <= 18; ++i) {
        TSplitList& l = lists[i];
        if (l.Program >= 0 && l.Events.size() >= 2) {
            TMidiEvent& name = *std::next(l.Events.begin());
            if (IsMeta(name, 3)) {
                name.Data = i == 10 ? DrumSetName(l.Program) : ToneName(l.Program);
                name.Length = static_cast<std::int32_t>(name.Data.size());
            }
        }
        if (l.Events.empty() || !IsMeta(l.Events.back(), 47)) {
            l.Events.push_back(MakeEndOfTrack(song.SongEndTick));
            ++l.Count;
        }
    }

    std::vector<TChunk> chunks;
    for (int i = 0; i <= 18; ++i)
        if (i == 0 || lists[i].Count >= 3)
            chunks.push_back(TChunk{&lists[i].Events, TLongRule::SplitChannels});
    return BuildImage(song, 1, chunks);
}

} // namespace

AByte BuildFormat1Image(const TSong& song) {
    return song.SourceFormat == 1 ? BuildFormat1AsIs(song) : BuildFormat1Split(song);
}

bool WriteFormat0File(TSong& song, const std::string& targetPath) {
    const AByte image = BuildFormat0Image(song, targetPath);
    return SaveFileImage(song, targetPath, image, TWriterKind::Format0);
}

bool WriteFormat1File(TSong& song, const std::string& targetPath) {
    const AByte image = BuildFormat1Image(song);
    return SaveFileImage(song, targetPath, image,
                         song.SourceFormat == 1 ? TWriterKind::Format1AsIs
                                                : TWriterKind::Format1Split);
}

} // namespace lv

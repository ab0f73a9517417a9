#include "model/Reader.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <string>

#include "model/Errors.h"
#include "text/MessagesModel.h"
#include "writer/Controller32.h"

namespace lv {

namespace {

// The text a prompter signature spells between the values 24 and 25.
constexpr char kSignature[] = "Quillet MX-40";
constexpr int kSignatureLength = 13;
constexpr std::int32_t kSignatureTickLimit = 300;

std::uint16_t BpmOfTempo(std::int32_t tempo) {
    // Nearest integer, halves to even. A tempo below 916 us per quarter would
    // not fit the 16-bit field; it shows as the largest value instead.
    const double bpm = std::nearbyint(60000000.0 / static_cast<double>(tempo));
    if (bpm > 65535.0) return 65535;
    return static_cast<std::uint16_t>(bpm);
}

// Unlinks one event; a play cursor standing on it moves on to the next event.
void EraseEvent(TTrack& track, TEventIt it) {
    if (track.PlayCursor == it) track.PlayCursor = std::next(it);
    track.Events.erase(it);
    if (track.EventCount > 1) --track.EventCount;
}

class TMidiReader {
  public:
    explicit TMidiReader(TSong& song)
        : S(song), Img(song.FileImage), Lang(song.Language),
          Size(static_cast<std::int64_t>(song.FileImage.size())) {}

    void Run();

  private:
    TSong& S;
    const AByte& Img;
    const std::string& Lang;
    std::int64_t Size;
    std::int64_t Pos = 0;
    bool LineMode = false;
    std::int32_t TempoFill = 0;
    std::int32_t TimeSignFill = 0;

    [[noreturn]] void Fail(const TMessage& m) const { throw EMidiError(Tr(Lang, m)); }
    [[noreturn]] void RangeFail(const TMessage& m, std::int64_t value) const {
        throw ERangeError(Tr(Lang, m) + std::to_string(value));
    }

    std::uint8_t Byte() {
        if (Pos < 0 || Pos >= Size) RangeFail(msg::kPastEnd, Pos);
        return Img[static_cast<std::size_t>(Pos++)];
    }
    std::uint32_t Word32() {
        std::uint32_t v = 0;
        for (int k = 0; k < 4; ++k)
            v = (v << 8) | Byte();
        return v;
    }
    std::uint16_t Word16() {
        const std::uint16_t hi = Byte();
        return static_cast<std::uint16_t>((hi << 8) | Byte());
    }
    // Variable-length quantity; any number of bytes, but the value must fit a
    // signed 32-bit field.
    std::int32_t Vlq() {
        const std::int64_t start = Pos;
        std::uint64_t v = 0;
        std::uint8_t b;
        do {
            b = Byte();
            v = (v << 7) | (b & 0x7F);
            if (v > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))
                RangeFail(msg::kLengthRange, start);
        } while (b & 0x80);
        return static_cast<std::int32_t>(v);
    }
    // Payload bytes must all lie inside the image.
    void Skip(std::int32_t n) {
        if (Pos + n > Size) RangeFail(msg::kPastEnd, Size);
        Pos += n;
    }
    std::string Payload(std::int64_t start, std::int32_t n) const {
        return std::string(reinterpret_cast<const char*>(Img.data()) + start,
                           static_cast<std::size_t>(n));
    }

    void ReadHeader();
    void ReadTrack(std::int32_t track, bool build);
    void Recognise(std::int32_t track, std::uint8_t controller, std::uint8_t value,
                   std::uint8_t channel, std::int64_t tick);
    void StoreChannel(std::int32_t track, std::uint8_t status, std::uint8_t d1, std::uint8_t d2,
                      std::int32_t tick, bool explicitStatus);
    void StoreMeta(std::int32_t track, std::uint8_t type, std::int64_t start, std::int32_t n,
                   std::int32_t tick);
    void AllocateTables();
    void AfterPasses();
    void AskAboutPrompterCommands();
    void RemoveDrumBankSelect();
    void BuildMelodyNotes();
};

void TMidiReader::ReadHeader() {
    static const std::uint8_t mthd[4] = {'M', 'T', 'h', 'd'};
    for (std::uint8_t c : mthd)
        if (Byte() != c) Fail(msg::kHeader1);
    static const std::uint8_t six[4] = {0, 0, 0, 6};
    for (std::uint8_t c : six)
        if (Byte() != c) Fail(msg::kHeader2);
    S.SongEndTick = 0;
    const std::uint16_t format = Word16();
    if (format > 255) RangeFail(msg::kFormatRange, format);
    S.SourceFormat = static_cast<std::uint8_t>(format);
    S.TrackCount = Word16();
    S.Tracks.clear();
    S.Tracks.resize(static_cast<std::size_t>(S.TrackCount) + 2u);
    for (auto& t : S.Tracks)
        t.PlayCursor = t.Events.end();
    S.Division = Word16();

    LineMode = false;
    S.BassChannels.fill(false);
    S.SyllableCount = 0;
    S.TempoCount = 0;
    S.TimeSignCount = 0;
    S.XFChordCount = 0;
    S.XFChordTrack = -1;
    S.XFChords.clear();
    S.SignatureState = 0;
}

void TMidiReader::Recognise(std::int32_t track, std::uint8_t controller, std::uint8_t value,
                            std::uint8_t channel, std::int64_t tick) {
    std::uint8_t& state = S.SignatureState;
    const bool early = tick < kSignatureTickLimit;
    const bool same = controller == S.PrompterController && channel == S.PrompterChannel;
    if (state == 0) {
        if (value == 24 && early) {
            S.PrompterController = controller;
            S.PrompterChannel = channel;
            state = 1;
        }
    } else if (state >= 1 && state <= kSignatureLength) {
        if (same && early && value == static_cast<std::uint8_t>(kSignature[state - 1])) {
            ++state;
        } else if (state == 1 && value == 24) {
            // A new start value replaces the remembered controller and channel.
            S.PrompterController = controller;
            S.PrompterChannel = channel;
        }
    } else if (state == kSignatureLength + 1) {
        if (same && early && value == 25) {
            if (track > std::numeric_limits<std::int16_t>::max())
                RangeFail(msg::kTrackIndexRange, track);
            state = kSignatureLength + 2;
            S.PrompterTrackIndex = static_cast<std::int16_t>(track);
        }
    }
}

void TMidiReader::StoreChannel(std::int32_t track, std::uint8_t status, std::uint8_t d1,
                               std::uint8_t d2, std::int32_t tick, bool explicitStatus) {
    const std::uint8_t cmd = status & 0xF0;
    TMidiEvent e;
    e.Status = status;
    e.Kind = 1;
    e.MetaType = -1;
    e.Length = (cmd == 0xC0 || cmd == 0xD0) ? 2 : 3;
    e.Tick = tick;
    if (explicitStatus && d1 > 127) {
        // The check of the structure rejects such files before they get here.
        throw EMidiError(Tr(Lang, msg::kDataBytePosition) + std::to_string(Pos) + "\r" +
                         Tr(Lang, msg::kDataByteValue) + std::to_string(d1) + "\r" +
                         Tr(Lang, msg::kDataByteTail));
    }
    if (cmd == 0x90 && d2 == 0) {
        // A note-on without velocity is kept as a note-off.
        e.Status = static_cast<std::uint8_t>(0x80 | (status & 0x0F));
        d2 = 17;
    } else if (d2 > 127) {
        d2 = (cmd == 0x80) ? 64 : 127;
    }
    e.Data1 = e.OrigData1 = d1;
    e.Data2 = e.OrigData2 = d2;
    if (cmd == 0xC0 && d1 >= 33 && d1 <= 40) S.BassChannels[status & 0x0F] = true;
    TTrack& t = S.Tracks[static_cast<std::size_t>(track)];
    t.Events.push_back(std::move(e));
    ++t.EventCount;
}

void TMidiReader::StoreMeta(std::int32_t track, std::uint8_t type, std::int64_t start,
                            std::int32_t n, std::int32_t tick) {
    TTrack& t = S.Tracks[static_cast<std::size_t>(track)];
    auto append = [&](TTrack& list, bool counted) -> TMidiEvent& {
        list.Events.push_back(MakeMetaEvent(type, Payload(start, n), tick));
        if (counted) ++list.EventCount;
        return list.Events.back();
    };

    if (type <= 9 && type != 5) {
        if (n > 0) append(t, false);
    } else if (type == 5) {
        TTrack& lyrics = S.LyricsTrack();
        if (n > 0) {
            TMidiEvent& e = append(lyrics, true);
            ++S.SyllableCount;
            if (LineMode) {
                e.Data += '\r';
                ++e.Length;
            }
        } else if (LineMode) {
            lyrics.Events.push_back(MakeMetaEvent(5, "\r", tick));
            ++lyrics.EventCount;
        }
    } else if (type == 0x51 || type == 0x54 || type == 0x58 || type == 0x59) {
        if (n <= 0) return;
        append(t, true);
        // A map entry is made only from a complete payload; the event itself is
        // kept either way so that writing the song loses nothing.
        if (type == 0x51 && n >= 3 && TempoFill < S.TempoCount) {
            std::int32_t tempo = (Img[start] << 16) | (Img[start + 1] << 8) | Img[start + 2];
            if (tempo == 0) tempo = 500000;
            TTempo& m = S.Tempos[static_cast<std::size_t>(TempoFill++)];
            m.Tick = tick;
            m.Tempo = m.OrigTempo = m.FileTempo = tempo;
            m.BPM = BpmOfTempo(tempo);
        } else if (type == 0x58 && n >= 4 && TimeSignFill < S.TimeSignCount) {
            // A denominator exponent of 8 or more does not fit; the event stays
            // in its track but makes no map entry.
            if (Img[start + 1] >= 8) return;
            TTimeSign& m = S.TimeSigns[static_cast<std::size_t>(TimeSignFill++)];
            m.Numerator = Img[start];
            m.Denominator = static_cast<std::uint8_t>(1u << Img[start + 1]);
            m.ClocksPerClick = Img[start + 2];
            m.ThirtySecondsPerQuarter = Img[start + 3];
            m.Tick = tick;
        }
    } else if (type == 0x7F) {
        if (n <= 0) return;
        append(t, false);
        if (S.SourceFormat == 0 && n == 7 && Img[start] == 0x43 && Img[start + 1] == 0x7B &&
            Img[start + 2] == 0x01) {
            S.XFChordTrack = track;
            ++S.XFChordCount;
        }
    }
    // Port (0x21), channel prefix (0x20), end of track and every other type are
    // not kept; the lists get their own heads and ends.
}

void TMidiReader::ReadTrack(std::int32_t track, bool build) {
    const std::int64_t chunkStart = Pos;
    if (!build) S.SignatureState = 0;
    static const std::uint8_t mtrk[4] = {'M', 'T', 'r', 'k'};
    for (std::uint8_t c : mtrk)
        if (Byte() != c) Fail(build ? msg::kTrackHeader1 : msg::kTrackHeader1Check);
    const std::int64_t chunkEnd = chunkStart + 8 + static_cast<std::int64_t>(Word32());
    // A chunk that claims more bytes than the file holds is cut off.
    if (chunkEnd > Size) RangeFail(msg::kPastEnd, Size);
    const bool prevMode = S.Config.PrevCommandMode;
    std::uint8_t running = 0;
    std::int64_t tick = 0;

    while (Pos < chunkEnd) {
        tick += Vlq();
        if (tick > std::numeric_limits<std::int32_t>::max()) RangeFail(msg::kTickRange, track);
        const std::int32_t tick32 = static_cast<std::int32_t>(tick);
        const std::uint8_t b = Byte();
        bool countsTowardsEnd = true;

        if (b <= 0xEF) {
            std::uint8_t status;
            std::uint8_t d1;
            const bool explicitStatus = b >= 0x80;
            if (!explicitStatus) {
                if (running < 0x80) Fail(msg::kRunningStatus);
                status = running;
                d1 = b;
            } else {
                running = b;
                status = b;
                d1 = Byte();
            }
            const std::uint8_t cmd = status & 0xF0;
            const std::uint8_t d2 = (cmd == 0xC0 || cmd == 0xD0) ? 0 : Byte();
            if (!build) {
                // A data byte with the top bit set would make the written file
                // unreadable; such a file is refused while checking it.
                if (explicitStatus && d1 > 127)
                    throw EMidiError(Tr(Lang, msg::kDataBytePosition) + std::to_string(Pos) + "\r" +
                                     Tr(Lang, msg::kDataByteValue) + std::to_string(d1) + "\r" +
                                     Tr(Lang, msg::kDataByteTail));
                if (cmd == 0xB0) Recognise(track, d1, d2, status & 0x0F, tick);
            } else {
                StoreChannel(track, status, d1, d2, tick32, explicitStatus);
            }
        } else if (b == 0xF0 || b == 0xF7) {
            if (!prevMode) running = 0;
            const std::int32_t n = Vlq();
            const std::int64_t start = Pos;
            Skip(n);
            if (build && n > 0) {
                TMidiEvent e = MakeMetaEvent(0, Payload(start, n), tick32);
                e.Status = b;
                e.MetaType = -1;
                TTrack& t = S.Tracks[static_cast<std::size_t>(track)];
                t.Events.push_back(std::move(e));
                ++t.EventCount;
                if (n > 4 && Img[start] == 0x00 && Img[start + 1] == 0x20 &&
                    Img[start + 2] == 0x24 && Img[start + 3] == 0x00)
                    LineMode = true;
            }
        } else if (b >= 0xF8 && b <= 0xFC) {
            // Real-time bytes are not kept.
            if (!prevMode) running = 0;
        } else if (b == 0xFF) {
            if (!prevMode) running = 0;
            const std::uint8_t type = Byte();
            const std::int32_t n = Vlq();
            if (type == 0x2F && n != 0) Fail(msg::kBadEvent);
            const std::int64_t start = Pos;
            Skip(n);
            if (!build) {
                if (type == 0x51 && n >= 3) ++S.TempoCount;
                if (type == 0x58 && n >= 4) ++S.TimeSignCount;
            } else {
                StoreMeta(track, type, start, n, tick32);
            }
            countsTowardsEnd = type < 0x2F;
            if (type == 0x2F) {
                // Bytes after the end of the track inside the chunk are skipped.
                Pos = chunkEnd;
            }
        } else {
            // 0xF1..0xF6, 0xFD, 0xFE have no place in a file.
            Fail(msg::kBadEvent);
        }
        if (!build && countsTowardsEnd && tick32 > S.SongEndTick) S.SongEndTick = tick32;
    }
}

void TMidiReader::AllocateTables() {
    for (std::size_t k = 0; k < S.Tracks.size(); ++k) {
        TTrack& t = S.Tracks[k];
        t.Events.clear();
        t.Events.push_back(MakePortHead());
        t.EventCount = 1;
        t.PlayCursor = t.Events.begin();
    }
    S.LyricsTrack().Events.push_back(MakeMetaEvent(3, "Lyrics", 0));
    S.PrompterTrack().Events.push_back(MakeMetaEvent(3, "Suffloer", 0));

    S.TempoCount = std::max(S.TempoCount, 1) + 1;
    S.TimeSignCount = std::max(S.TimeSignCount, 1) + 1;
    S.Tempos.assign(static_cast<std::size_t>(S.TempoCount), TTempo{});
    S.TimeSigns.assign(static_cast<std::size_t>(S.TimeSignCount), TTimeSign{});
    for (auto& t : S.Tempos)
        t.Tick = -1;
    for (auto& t : S.TimeSigns)
        t.Tick = -1;
}

void TMidiReader::AskAboutPrompterCommands() {
    std::string text = Tr(Lang, msg::kPrompterFound1) + "\r" + Tr(Lang, msg::kPrompterFound2) +
                       "\r" + Tr(Lang, msg::kPrompterTrack);
    text += S.SourceFormat == 0 ? std::to_string(S.PrompterTrackIndex) : std::string("1");
    text += Tr(Lang, msg::kPrompterChannel) + std::to_string(S.PrompterChannel + 1) + "\r" +
            Tr(Lang, msg::kPrompterRemove);
    if (S.UserDialogs().AskYesNo(text, kAppTitle)) RemovePrompterCommands(S);
}

void TMidiReader::RemoveDrumBankSelect() {
    for (std::size_t k = 0; k < S.TrackCount; ++k) {
        TTrack& t = S.Tracks[k];
        if (t.EventCount <= 2) continue;
        bool hasFine = false;
        TEventIt coarse = t.Events.end();
        for (auto it = t.Events.begin(); it != t.Events.end(); ++it) {
            if (it->Kind != 1 || it->Status != 0xB9) continue;
            if (it->Data1 == 32) hasFine = true;
            if (it->Data1 == 0 && coarse == t.Events.end()) coarse = it;
        }
        if (!hasFine && coarse != t.Events.end()) EraseEvent(t, coarse);
    }
}

void TMidiReader::BuildMelodyNotes() {
    S.MelodyNotes.clear();
    S.MelodyNotes.push_back(MakePortHead());
    const std::uint8_t status = static_cast<std::uint8_t>(0x90 | (S.Config.MelodyTrack & 0x0F));
    auto isMelodyNote = [&](const TMidiEvent& e) {
        return e.Kind == 1 && e.Status == status && e.Data2 > 0;
    };
    for (std::size_t k = 0; k < S.TrackCount; ++k) {
        bool any = false;
        for (const TMidiEvent& e : S.Tracks[k].Events) {
            if (!isMelodyNote(e)) continue;
            any = true;
            TMidiEvent copy;
            copy.Status = e.Status;
            copy.Length = e.Length;
            copy.Kind = e.Kind;
            copy.MetaType = e.MetaType;
            copy.Tick = e.Tick;
            copy.TimeMs = e.TimeMs;
            copy.Data1 = copy.OrigData1 = e.Data1;
            copy.Data2 = copy.OrigData2 = e.Data2;
            S.MelodyNotes.push_back(std::move(copy));
        }
        if (any) break;
    }
    S.MelodyNotes.push_back(MakeEndOfTrack(S.SongEndTick));
    S.MelodyNoteCount = static_cast<std::int32_t>(S.MelodyNotes.size());
}

void TMidiReader::AfterPasses() {
    for (auto& t : S.Tracks) {
        t.Events.push_back(MakeEndOfTrack(S.SongEndTick));
        ++t.EventCount;
        t.PlayCursor = t.Events.begin();
    }
    if (S.PrompterTrackIndex > -1) {
        if (S.Config.SufflorEnabled || S.BatchMode)
            RemovePrompterCommands(S);
        else
            AskAboutPrompterCommands();
    }
    if (S.Config.InsertController32) InsertController32Events(S);
    if (S.Config.DeleteController32) RemoveController32Events(S);
    RemoveDrumBankSelect();
    BuildMelodyNotes();
}

void TMidiReader::Run() {
    if (Size > std::numeric_limits<std::int32_t>::max()) RangeFail(msg::kFileTooLarge, Size);
    S.MelodyNotes.clear();
    S.MelodyNoteCount = 0;
    S.HasLastHiddenNote = false;
    ReadHeader();

    // Check the structure and count what the tables need.
    for (std::int32_t i = 0; i < S.TrackCount; ++i)
        ReadTrack(i, false);
    S.ReadPos = static_cast<std::int32_t>(Pos);

    AllocateTables();

    // Build the lists. The structure was checked, so an error here can only be
    // a value the lists cannot hold; the song keeps what was read up to it.
    Pos = 14;
    TempoFill = 0;
    TimeSignFill = 0;
    try {
        for (std::int32_t i = 0; i < S.TrackCount; ++i)
            ReadTrack(i, true);
    } catch (const std::exception&) {
    }
    S.ReadPos = static_cast<std::int32_t>(Pos);

    AfterPasses();
}

} // namespace

void ReadMidiFile(TSong& song) {
    TMidiReader reader(song);
    reader.Run();
}

void RemovePrompterCommands(TSong& song) {
    const int index = song.PrompterTrackIndex;
    if (index < 0 || index > song.TrackCount + 1) return;
    if (static_cast<std::size_t>(index) >= song.Tracks.size()) return;
    TTrack& t = song.Tracks[static_cast<std::size_t>(index)];
    if (!t.HasHead()) return;
    const std::uint8_t ch = song.PrompterChannel & 0x0F;
    const std::uint8_t noteOn = static_cast<std::uint8_t>(0x90 | ch);
    const std::uint8_t noteOff = static_cast<std::uint8_t>(0x80 | ch);

    // The start note of the old prompter stream and its end, both near the start.
    auto findNear = [&](TEventIt from, auto matches) {
        for (auto it = from; it != t.Events.end(); ++it) {
            if (matches(*it)) return it;
            if (it->Tick > 100) break;
        }
        return t.Events.end();
    };
    auto start = findNear(std::next(t.Head()), [&](const TMidiEvent& e) {
        return e.Kind == 1 && e.Status == noteOn && e.Data1 == 36 && e.Data2 < 6;
    });
    if (start != t.Events.end()) {
        const TEventIt before = std::prev(start);
        EraseEvent(t, start);
        auto end = findNear(std::next(before), [&](const TMidiEvent& e) {
            return e.Kind == 1 && e.Data1 == 36 &&
                   (e.Status == noteOff || (e.Status == noteOn && e.Data2 == 0));
        });
        if (end != t.Events.end()) EraseEvent(t, end);
    }

    const std::uint8_t control = static_cast<std::uint8_t>(0xB0 | ch);
    for (auto it = std::next(t.Head()); it != t.Events.end();) {
        auto next = std::next(it);
        if (it->Kind == 1 && it->Status == control && it->Data1 == song.PrompterController)
            EraseEvent(t, it);
        it = next;
    }
}

} // namespace lv

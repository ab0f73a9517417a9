#include "SmfBuilder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace lvtest {

void AppendVlq(AByte& out, std::uint32_t value) {
    std::uint8_t buf[5];
    int n = 0;
    buf[n++] = value & 0x7F;
    while ((value >>= 7) != 0) buf[n++] = static_cast<std::uint8_t>((value & 0x7F) | 0x80);
    while (n > 0) out.push_back(buf[--n]);
}

TTrackBuilder& TTrackBuilder::Raw(std::uint32_t delta, std::initializer_list<int> bytes) {
    AppendVlq(Body, delta);
    for (int b : bytes) Body.push_back(static_cast<std::uint8_t>(b));
    return *this;
}

TTrackBuilder& TTrackBuilder::Raw(std::uint32_t delta, const AByte& bytes) {
    AppendVlq(Body, delta);
    Body.insert(Body.end(), bytes.begin(), bytes.end());
    return *this;
}

TTrackBuilder& TTrackBuilder::Bytes(std::initializer_list<int> bytes) {
    for (int b : bytes) Body.push_back(static_cast<std::uint8_t>(b));
    return *this;
}

TTrackBuilder& TTrackBuilder::NoteOn(std::uint32_t delta, int ch, int key, int vel) {
    return Raw(delta, {0x90 | ch, key, vel});
}
TTrackBuilder& TTrackBuilder::NoteOff(std::uint32_t delta, int ch, int key, int vel) {
    return Raw(delta, {0x80 | ch, key, vel});
}
TTrackBuilder& TTrackBuilder::Control(std::uint32_t delta, int ch, int controller, int value) {
    return Raw(delta, {0xB0 | ch, controller, value});
}
TTrackBuilder& TTrackBuilder::Program(std::uint32_t delta, int ch, int program) {
    return Raw(delta, {0xC0 | ch, program});
}

TTrackBuilder& TTrackBuilder::Meta(std::uint32_t delta, int type, const std::string& data) {
    AppendVlq(Body, delta);
    Body.push_back(0xFF);
    Body.push_back(static_cast<std::uint8_t>(type));
    AppendVlq(Body, static_cast<std::uint32_t>(data.size()));
    Body.insert(Body.end(), data.begin(), data.end());
    return *this;
}

TTrackBuilder& TTrackBuilder::Tempo(std::uint32_t delta, std::uint32_t us) {
    return Raw(delta, {0xFF, 0x51, 3, int((us >> 16) & 0xFF), int((us >> 8) & 0xFF), int(us & 0xFF)});
}

TTrackBuilder& TTrackBuilder::TimeSig(std::uint32_t delta, int num, int denomExp, int clocks,
                                      int thirtySeconds) {
    return Raw(delta, {0xFF, 0x58, 4, num, denomExp, clocks, thirtySeconds});
}

TTrackBuilder& TTrackBuilder::Sysex(std::uint32_t delta, const AByte& payload, int status) {
    AppendVlq(Body, delta);
    Body.push_back(static_cast<std::uint8_t>(status));
    AppendVlq(Body, static_cast<std::uint32_t>(payload.size()));
    Body.insert(Body.end(), payload.begin(), payload.end());
    return *this;
}

TTrackBuilder& TTrackBuilder::EndOfTrack(std::uint32_t delta) { return Raw(delta, {0xFF, 0x2F, 0}); }

TTrackBuilder& TTrackBuilder::DeclaredLength(std::uint32_t length) {
    HasDeclaredLength = true;
    Declared = length;
    return *this;
}

TSmfBuilder::TSmfBuilder(int format, int division, int declaredTracks)
    : Format(format), Division(division), DeclaredTracks(declaredTracks) {}

TTrackBuilder& TSmfBuilder::AddTrack() {
    Tracks.emplace_back();
    return Tracks.back();
}

static void Put16(AByte& out, std::uint32_t v) {
    out.push_back((v >> 8) & 0xFF);
    out.push_back(v & 0xFF);
}
static void Put32(AByte& out, std::uint32_t v) {
    Put16(out, v >> 16);
    Put16(out, v & 0xFFFF);
}

AByte TSmfBuilder::Build() const {
    AByte out{'M', 'T', 'h', 'd', 0, 0, 0, 6};
    Put16(out, static_cast<std::uint32_t>(Format));
    Put16(out, static_cast<std::uint32_t>(DeclaredTracks >= 0 ? DeclaredTracks : int(Tracks.size())));
    Put16(out, static_cast<std::uint32_t>(Division));
    for (const auto& t : Tracks) {
        out.insert(out.end(), {'M', 'T', 'r', 'k'});
        Put32(out, t.HasDeclaredLength ? t.Declared : static_cast<std::uint32_t>(t.Body.size()));
        out.insert(out.end(), t.Body.begin(), t.Body.end());
    }
    return out;
}

AByte ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return AByte(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const AByte& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::string MakeTempDir(const std::string& prefix) {
    namespace fs = std::filesystem;
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path p = fs::temp_directory_path() / (prefix + "-" + std::to_string(rd()));
        if (fs::create_directory(p)) return p.string();
    }
    throw std::runtime_error("cannot make a temporary folder");
}

} // namespace lvtest

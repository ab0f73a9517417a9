#include "writer/Writer.h"

namespace lv {

namespace {

// General MIDI tone names, index = program number.
constexpr const char* kToneNames[128] = {
    "Piano 1",       "Piano 2",       "Piano 3",      "Honky-Tonk Piano",
    "E. Piano 1",    "E. Piano 2",    "Harpsichord",  "Clav.",
    "Celeste",       "Glockenspiel",  "Music Box",    "Vibraphone",
    "Marimba",       "Xylophone",     "Tubular-bell", "Santur",
    "Organ 1",       "Organ 2",       "Organ 3",      "Church Org. 1",
    "Reed Organ",    "Accordion Fr",  "Harmonica",    "Bandoneon",
    "Nylon-str. Gt", "Steel-str. Gt", "Jazz Gt.",     "Clean Gt.",
    "Muted Gt.",     "Overdrive Gt",  "DistortionGt", "Gt.Harmonics",
    "Acoustic Bs.",  "Fingered Bs.",  "Picked Bs.",   "Fretless Bs.",
    "Slap Bass 1",   "Slap Bass 2",   "Synth Bass 1", "Synth Bass 2",
    "Violin",        "Viola",         "Cello",        "Contrabass",
    "Tremolo Str",   "PizzicatoStr",  "Harp",         "Timpani",
    "Strings",       "Slow Strings",  "Syn.Strings1", "Syn.Strings2",
    "Choir Aahs",    "Voice Oohs",    "SynVox",       "OrchestralHit",
    "Trumpet",       "Trombone",      "Tuba",         "MutedTrumpet",
    "French Horn",   "Brass 1",       "Synth Brass1", "Synth Brass2",
    "Soprano Sax",   "Alto Sax",      "Tenor Sax",    "Baritone Sax",
    "Oboe",          "English Horn",  "Bassoon",      "Clarinet",
    "Piccolo",       "Flute",         "Recorder",     "Pan Flute",
    "Bottle Blow",   "Shakuhachi",    "Whistle",      "Ocarina",
    "Square Wave",   "Saw Wave",      "Syn.Calliope", "Chiffer Lead",
    "Charang",       "Solo Vox",      "5th Saw Wave", "Bass&Lead",
    "Fantasia",      "Warm Pad",      "Polysynth",    "Space Voice",
    "Bowed Glass",   "Metal Pad",     "Helo Pad",     "Sweep Pad",
    "Ice Rain",      "Soundtrack",    "Crystal",      "Atmosphere",
    "Brightness",    "Goblin",        "Echo Drops",   "Star Theme",
    "Sitar",         "Banjo",         "Shamisen",     "Koto",
    "Kalimba",       "Bag Pipe",      "Fiddle",       "Shanai",
    "Tinkle Bell",   "Agogo",         "Steel Drums",  "Woodblock",
    "Taiko",         "Melo. Tom 1",   "Synth Drum",   "Reverse Cym.",
    "Gt.Fretnoise",  "Breath Noise",  "Seashore",     "Bird",
    "Telephone 1",   "Helicopter",    "Applause",     "Gun Shot",
};

} // namespace

const char* ToneName(int program) {
    if (program < 0 || program > 127) return "";
    return kToneNames[program];
}

const char* DrumSetName(int program) {
    switch (program) {
    case 8:
        return "Room";
    case 16:
        return "Power";
    case 24:
        return "Electronic";
    case 25:
        return "TR-808";
    case 32:
        return "Jazz";
    case 40:
        return "Brush";
    case 48:
        return "Orchestra";
    case 56:
        return "SFX";
    case 127:
        return "CM-64/32L";
    default:
        return "Standard";
    }
}

} // namespace lv

// Orbalune's soundtrack: eighteen General MIDI pieces in the spirit of late
// arcade and home-computer shooters. Each track has a hand-picked style row
// (tempo, key, mode, groove family, bass family, instruments, ending); its
// index seeds everything else: chord progressions, motifs, its own drum
// grooves, fills and bass riffs, which parts play where, and the form. A piece
// runs a short intro that already plays the hook, verses and choruses that
// come back changed, a bridge, a solo or a break, the chorus in a lifted key
// and one of four endings.
#include "assetgen.h"
#include "catalogue.h"
#include "music_midi.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Randomness: splitmix64, so every run composes the same notes.

// Each track starts from a scrambled seed: consecutive plain seeds would give
// the same stream shifted by a few draws, and tracks that share riffs.
struct Rng {
    uint64_t state;

    uint64_t Next() {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Below(int n) { return int(Next() % uint64_t(n)); }
    int Between(int lo, int hi) { return lo + Below(hi - lo + 1); }
    bool Chance(int percent) { return Below(100) < percent; }
    int Weighted(const std::vector<int>& weights) {
        int total = 0;
        for (int w : weights) total += w;
        int pick = Below(total);
        for (size_t i = 0; i < weights.size(); ++i) {
            if (pick < weights[i]) return int(i);
            pick -= weights[i];
        }
        return 0;
    }
};

int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
int Mod(int a, int b) { return a - FloorDiv(a, b) * b; }

// ---------------------------------------------------------------------------
// Harmony.

enum Mode { kIonian, kDorian, kPhrygian, kLydian, kMixolydian, kAeolian };

const int kModeSteps[][7] = {
    {0, 2, 4, 5, 7, 9, 11},  // ionian: bright major
    {0, 2, 3, 5, 7, 9, 10},  // dorian: minor with a hopeful sixth
    {0, 1, 3, 5, 7, 8, 10},  // phrygian: dark, flat second
    {0, 2, 4, 6, 7, 9, 11},  // lydian: floating, raised fourth
    {0, 2, 4, 5, 7, 9, 10},  // mixolydian: major with a flat seventh
    {0, 2, 3, 5, 7, 8, 10},  // aeolian: natural minor
};

// Chords are diatonic triads named by scale degree; "!" raises the third
// (the major dominant of a minor key), "-" splits a bar into two chords.
struct ProgressionRow {
    Mode mode;
    const char* chords;  // four bars
};

const ProgressionRow kProgressions[] = {
    {kIonian, "I V vi IV"},
    {kIonian, "I vi IV V"},
    {kIonian, "I IV vi V"},
    {kIonian, "I iii IV V"},
    {kIonian, "I V IV-V I"},
    {kIonian, "IV V iii vi"},
    {kIonian, "vi IV I V"},
    {kIonian, "ii V I vi"},
    {kIonian, "IV I-V vi V"},
    {kIonian, "vi iii IV V"},
    {kDorian, "i IV i IV"},
    {kDorian, "i ii III IV"},
    {kDorian, "i VII IV i"},
    {kDorian, "III IV i i"},
    {kDorian, "IV v VII i"},
    {kDorian, "ii III IV VII"},
    {kPhrygian, "i II i VII"},
    {kPhrygian, "i II VII i"},
    {kPhrygian, "i VI VII II"},
    {kPhrygian, "VI VII i i"},
    {kPhrygian, "iv III II i"},
    {kPhrygian, "VI II VII-II i"},
    {kLydian, "I II I II"},
    {kLydian, "I II iii II"},
    {kLydian, "I V II I"},
    {kLydian, "vi II I V"},
    {kLydian, "II iii vi V"},
    {kLydian, "iii II vi II"},
    {kMixolydian, "I VII IV I"},
    {kMixolydian, "I v VII IV"},
    {kMixolydian, "I IV VII IV"},
    {kMixolydian, "VII IV I I"},
    {kMixolydian, "IV VII I v"},
    {kMixolydian, "vi VII I I"},
    {kAeolian, "i VI III VII"},
    {kAeolian, "i VII VI VII"},
    {kAeolian, "i iv VII III"},
    {kAeolian, "i VI iv V!"},
    {kAeolian, "i III VII VI"},
    {kAeolian, "VI VII i i"},
    {kAeolian, "iv VI V! V!"},
    {kAeolian, "VI III VII i"},
    {kAeolian, "iv i VI V!"},
    {kAeolian, "VI iv VII V!"},
};

struct Chord {
    int degree = 0;       // 0..6 in the track's mode
    bool raised = false;  // major third over a minor-mode degree
};

struct BarChords {
    Chord first;
    Chord second;        // from the middle of the bar when split
    bool split = false;
};

Chord ParseChord(const std::string& token) {
    static const char* const kNumerals[] = {"i", "ii", "iii", "iv", "v", "vi", "vii"};
    Chord chord;
    std::string lower;
    for (char c : token) {
        if (c == '!') chord.raised = true;
        else lower += char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    for (int d = 0; d < 7; ++d)
        if (lower == kNumerals[d]) chord.degree = d;
    return chord;
}

std::vector<BarChords> ParseProgression(const std::string& text) {
    std::vector<BarChords> bars;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find(' ', pos);
        if (end == std::string::npos) end = text.size();
        const std::string token = text.substr(pos, end - pos);
        pos = end + 1;
        if (token.empty()) continue;
        BarChords bar;
        const size_t dash = token.find('-');
        bar.first = ParseChord(token.substr(0, dash));
        bar.second = bar.first;
        if (dash != std::string::npos) {
            bar.second = ParseChord(token.substr(dash + 1));
            bar.split = true;
        }
        bars.push_back(bar);
    }
    return bars;
}

// ---------------------------------------------------------------------------
// Rhythm tables. Step strings use one character per sixteenth.

enum Feel { kStraight, kSwing, kShuffle };

// Where the four sixteenths of a beat fall, in ticks of a 480-tick beat.
const int kFeelOffsets[][4] = {
    {0, 120, 240, 360},  // straight
    {0, 150, 240, 390},  // light sixteenth swing
    {0, 160, 320, 400},  // triplet shuffle
};

// Drums: X accent, x hit, o soft, g ghost, . silent.

// ---------------------------------------------------------------------------
// Drums. A family gives the skeleton of kick and backbeat; every track then
// builds its own grooves on it: kick placements, its snare and hat sounds,
// a percussion layer and fills of its own.

enum Groove {
    kGrooveRock, kGrooveFour, kGrooveBreak, kGrooveHalf, kGrooveShuffle, kGrooveGallop,
    kGrooveWaltz, kGrooveWaltzDrive, kGrooveLatin, kGrooveMarch
};

// Sixteenths: X accent, x hit, o soft, . silent.
struct GrooveFamily {
    const char* kick;
    const char* snare;
    const char* half_kick;   // the bridge's half-time feel
    const char* half_snare;
};

const GrooveFamily kGrooveFamilies[] = {
    {"X.......x.x.....", "....X.......X...", "X.........x.....", "........X......."},  // rock
    {"X...X...X...X...", "....X.......X...", "X.......X.......", "........X......."},  // four on the floor
    {"X.x.......x.....", "....X.......X...", "X.........x.....", "........X......."},  // breakbeat
    {"X.........x.....", "........X.......", "X...............", "........X......."},  // half time
    {"X.....x.X.......", "....X.......X...", "X.......x.......", "........X......."},  // shuffle
    {"X.xx....X.xx....", "....X.......X...", "X.xx............", "........X......."},  // gallop
    {"X...........",     "....o...o...",     "X...........",     "........o..."},      // waltz
    {"X.....x.....",     "....X.......",     "X...........",     "......X....."},      // driving three
    {"X..x..x.X..x..x.", "....X.......X...", "X..x....X.......", "........X......."},  // latin
    {"X.......X.......", "..x.X.x...x.X.xx", "X...............", "........X......."},  // march
};

// Hat lines, one beat each: x hit, o soft, g ghost.
const char* const kHatCells[] = {"x.o.", "xoxo", "..x.", "x...", "x.xo", "xgog", "x..o", "xo.x", "x.ox", "o.x."};

// The time-keeping sounds a track may pick: closed and pedal hat, shakers,
// tambourine; and the brighter ones for choruses.
const int kHatSounds[] = {42, 42, 44, 70, 69, 54};
const int kLiftSounds[] = {51, 46, 53, 59};

// A percussion layer: its drum, the answering drum and hits per bar.
struct PercussionVoice {
    int key, answer, hits;
};
const PercussionVoice kPercussion[] = {
    {56, 56, 4},  // cowbell
    {63, 64, 6},  // congas
    {60, 61, 5},  // bongos
    {75, 75, 5},  // claves
    {54, 54, 4},  // tambourine
    {70, 70, 7},  // maracas
    {76, 77, 5},  // wood blocks
    {67, 68, 4},  // agogo
    {81, 81, 2},  // triangle
    {62, 63, 6},  // muted and open conga
};

// Toms high to floor, for fills.
const int kToms[] = {50, 48, 47, 45, 43, 41};

struct DrumHit {
    int step;
    int key;
    int velocity;
};
using DrumBar = std::vector<DrumHit>;

// ---------------------------------------------------------------------------
// Bass. Each track writes its own riffs: R root, O octave, F fifth, T third,
// L fifth below, P approach to the next chord, - hold, . rest.

enum BassFamily { kBassEighths, kBassOctaves, kBassGallop, kBassPulse, kBassFunk, kBassWalk, kBassRoots, kBassSyncop };

// Per family: chance in percent of an onset on each sixteenth of a beat, and
// weights of the notes R O F T L away from the downbeat.
struct BassRow {
    int onset[4];
    int notes[5];
    int gate;  // percent of the step length held
};

const BassRow kBassRows[] = {
    {{100, 0, 95, 0}, {8, 2, 2, 1, 0}, 85},    // eighths on the root
    {{100, 0, 100, 0}, {4, 6, 2, 0, 1}, 70},   // octave jumps
    {{100, 0, 90, 90}, {6, 2, 2, 0, 1}, 75},   // gallop
    {{100, 85, 85, 85}, {8, 2, 1, 0, 1}, 55},  // sixteenths
    {{95, 25, 40, 35}, {4, 4, 3, 1, 2}, 70},   // funk
    {{100, 0, 25, 0}, {2, 1, 3, 3, 1}, 90},    // walking quarters, the odd eighth
    {{100, 0, 20, 10}, {5, 2, 3, 1, 2}, 95},   // roots and fifths, long
    {{100, 0, 0, 60}, {5, 3, 3, 1, 1}, 80},    // pushed syncopation
};

// ---------------------------------------------------------------------------
// Keys and melody material.

// Arpeggios: digits index the chord tones upward, wrapping into the next
// octave; the pattern restarts every bar.
const char* const kArpPatterns[] = {
    "0123",      // straight up
    "012321",    // up and down
    "0213",      // broken
    "01234321",  // two-octave sweep
    "0120",      // tight triad
};

// Chord stabs for punchy synth-brass pads.
const char* const kStabs4[] = {"x-..x-.x..x-x-..", "x-.x-.x.x-.x-.x."};
const char* const kStabs3[] = {"x-..x-..x-..", "x-.x-.x-...."};

// Melody rhythm cells, one beat each, weighted for sparse, medium and busy lines.
struct RhythmCell {
    const char* steps;
    int weight[3];
};

const RhythmCell kCells[] = {
    {"x---", {6, 3, 1}},
    {"x-x-", {4, 6, 4}},
    {"x-xx", {1, 3, 4}},
    {"xxx-", {1, 3, 4}},
    {"x--x", {2, 4, 3}},
    {"xxxx", {0, 1, 4}},
    {"..x-", {1, 2, 1}},
    {"----", {5, 2, 1}},
    {"x-.x", {1, 2, 2}},
};

// Phrase endings: the last note lands long on a chord tone.
const char* const kCadences4[] = {
    "x---------------", "x-x-x-----------", "x---x---x-------",
    "x-x-x---x-------", "x--x--x---------", "xxx-x-----------",
};
const char* const kCadences3[] = {"x-----------", "x-x-x-------", "x---x-------", "x--x--x-----"};

// Eight-bar sentences: lower-case letters are motifs, C a half cadence,
// E the closing cadence.
const char* const kPhrasePlans[] = {"abaCabcE", "aabCaacE", "abcCabdE", "abaCabaE"};

// Forms: I intro, A verse, B chorus, C bridge, D solo, K break (drums and
// bass alone), F the chorus once more in the lifted key, O outro. Every
// section that comes back comes back changed (see Arrange).
const char* const kForms[] = {
    "IABABCKFO", "IAABKBCDFO", "IABKABDCFO", "IABACBKFO", "IABKABCFO", "IABADCKFO", "IAABCABKFO",
};

// ---------------------------------------------------------------------------
// The tracks.

enum Ending {
    kEndHeld,    // slows into a held tonic chord
    kEndButton,  // in tempo to one short chord on the downbeat
    kEndFade,    // the outro repeats and dies away
    kEndCold,    // the band drops out for a drum fill, then one last hit
};
enum KeysStyle { kKeysNone, kKeysArp, kKeysComp };

struct Instruments {
    int lead, lead2, bass, pad, keys, counter;  // General MIDI programs, 0-based; -1: no such part
};

struct TrackStyle {
    int tempo;          // beats per minute
    int key;            // tonic pitch class, 0 = C
    Mode mode;
    int beats;          // per bar: 4 or 3
    Feel feel;
    int kit;            // General MIDI drum kit
    Groove groove;
    BassFamily bass;
    Instruments programs;
    KeysStyle keys;
    int arp_pattern;    // row of kArpPatterns
    int arp_rate;       // sixteenths per arpeggio note
    bool stabs;         // rhythmic chord stabs instead of held chords
    int lead_octave;    // octave shift of the melody
    bool echo;          // dotted-eighth echo of the lead
    bool sevenths;      // sevenths in pads and arpeggios
    Ending ending;
};

// Drum kits: 0 standard, 8 room, 16 power, 24 electronic, 32 jazz, 40 brush,
// 48 orchestra. The instruments keep clear of the synth leads and pads whose
// level differs by 10 dB and more between Debian's two General MIDI fonts.
const TrackStyle kStyles[] = {
    // 01 Lunar Dawn: bright, rising, first light over the craters
    {124, 2, kIonian, 4, kStraight, 0, kGrooveRock, kBassOctaves, {63, 9, 33, 89, 2, 49},
     kKeysComp, 0, 2, false, 0, false, false, kEndHeld},
    // 02 Orbit Patrol: galloping minor patrol theme
    {140, 9, kAeolian, 4, kStraight, 16, kGrooveGallop, kBassGallop, {30, 18, 34, -1, 7, 60},
     kKeysComp, 1, 1, false, -1, false, false, kEndButton},
    // 03 Crater Run: fast and dark, phrygian four on the floor
    {152, 4, kPhrygian, 4, kStraight, 24, kGrooveFour, kBassPulse, {104, 85, 34, 99, 8, 42},
     kKeysArp, 2, 1, false, 0, false, false, kEndCold},
    // 04 Starfall: slow, wide and glittering
    {108, 5, kIonian, 4, kStraight, 8, kGrooveHalf, kBassRoots, {73, 8, 35, 89, 46, 41},
     kKeysArp, 3, 2, false, 0, true, true, kEndFade},
    // 05 Ion Storm: relentless sixteenths
    {150, 0, kDorian, 4, kStraight, 24, kGrooveFour, kBassPulse, {85, 30, 33, 102, 12, -1},
     kKeysArp, 0, 1, false, 0, false, false, kEndButton},
    // 06 Night Shift: swung, jazzy dorian groove
    {100, 7, kDorian, 4, kSwing, 32, kGrooveBreak, kBassWalk, {66, 4, 32, 16, -1, 64},
     kKeysNone, 2, 2, false, -1, false, true, kEndHeld},
    // 07 Satellite Waltz: a music-box waltz in orbit
    {144, 10, kIonian, 3, kStraight, 40, kGrooveWaltz, kBassRoots, {71, 10, 32, 49, 12, 69},
     kKeysArp, 1, 1, false, 0, false, false, kEndHeld},
    // 08 Red Horizon: guitar-led minor rock
    {128, 2, kAeolian, 4, kStraight, 16, kGrooveRock, kBassEighths, {30, 18, 34, 19, -1, 56},
     kKeysNone, 0, 1, true, -1, false, false, kEndCold},
    // 09 Comet Tail: bouncy mixolydian disco
    {144, 4, kMixolydian, 4, kStraight, 0, kGrooveFour, kBassOctaves, {64, 25, 37, 49, 7, 56},
     kKeysComp, 0, 1, false, 0, false, false, kEndFade},
    // 10 Deep Field: slow, spacious, echoing
    {96, 6, kAeolian, 4, kStraight, 24, kGrooveHalf, kBassSyncop, {75, 54, 35, 101, 14, 52},
     kKeysArp, 3, 2, false, 0, true, true, kEndFade},
    // 11 Moonbase Alarm: urgent galloping minor
    {156, 0, kAeolian, 4, kStraight, 8, kGrooveGallop, kBassGallop, {40, 69, 33, 44, 45, 42},
     kKeysArp, 1, 1, false, 0, false, false, kEndButton},
    // 12 Gravity Well: heavy broken beat
    {112, 8, kAeolian, 4, kStraight, 24, kGrooveBreak, kBassSyncop, {109, 77, 34, 99, 108, 53},
     kKeysArp, 4, 2, false, -1, false, false, kEndCold},
    // 13 Neon Nebula: dorian synth-pop
    {122, 9, kDorian, 4, kStraight, 24, kGrooveLatin, kBassFunk, {78, 5, 33, 102, 114, 54},
     kKeysArp, 2, 1, false, 0, true, true, kEndFade},
    // 14 Last Signal: melancholic shuffle
    {104, 11, kAeolian, 4, kShuffle, 40, kGrooveShuffle, kBassWalk, {22, 25, 32, 52, 24, 20},
     kKeysArp, 0, 2, false, 0, false, false, kEndHeld},
    // 15 Asteroid Belt: dodging rocks at speed
    {146, 7, kAeolian, 4, kStraight, 16, kGrooveBreak, kBassFunk, {13, 110, 34, 63, 17, -1},
     kKeysComp, 1, 1, true, 0, false, false, kEndCold},
    // 16 Solar Wind: soaring lydian drive
    {136, 4, kLydian, 4, kStraight, 8, kGrooveMarch, kBassEighths, {60, 72, 33, 44, 46, 70},
     kKeysArp, 0, 1, false, -1, false, false, kEndButton},
    // 17 Eclipse: dark swung half time
    {116, 1, kAeolian, 4, kSwing, 32, kGrooveHalf, kBassRoots, {68, 42, 35, 53, 15, 70},
     kKeysArp, 2, 1, false, 0, false, true, kEndFade},
    // 18 Homecoming: triumphant major rock
    {118, 7, kIonian, 4, kStraight, 48, kGrooveMarch, kBassOctaves, {56, 60, 33, 49, 0, 41},
     kKeysComp, 0, 2, false, 0, false, false, kEndHeld},
};

// ---------------------------------------------------------------------------
// Sections.

enum Harmony { kVerseChords, kChorusChords, kBridgeChords };
enum Melody { kNoMelody, kIntroHook, kVerseMelody, kChorusMelody, kBridgeMelody, kSoloMelody, kVerseTail };
enum Counter { kNoCounter, kGuideTones, kHarmonyLine };
enum BassPart { kBassVersePart, kBassChorusPart, kBassLong };
enum DrumPart { kDrumVerse, kDrumChorus, kDrumBridge, kDrumBreak };

struct SectionRow {
    char letter;
    int bars;         // 0: the track's own length for intros, breaks and outros
    int energy;       // velocity scale, percent
    Harmony chords;
    Melody melody;
    Counter counter;
    BassPart bass;
    DrumPart drums;
    bool lifted;      // in the final key
};

const SectionRow kSections[] = {
    {'I', 0, 96, kChorusChords, kIntroHook, kNoCounter, kBassVersePart, kDrumVerse, false},
    {'A', 8, 92, kVerseChords, kVerseMelody, kNoCounter, kBassVersePart, kDrumVerse, false},
    {'B', 8, 100, kChorusChords, kChorusMelody, kGuideTones, kBassChorusPart, kDrumChorus, false},
    {'C', 8, 90, kBridgeChords, kBridgeMelody, kNoCounter, kBassLong, kDrumBridge, false},
    {'D', 8, 96, kVerseChords, kSoloMelody, kGuideTones, kBassVersePart, kDrumChorus, false},
    {'K', 0, 100, kVerseChords, kNoMelody, kNoCounter, kBassChorusPart, kDrumBreak, false},
    {'F', 8, 104, kChorusChords, kChorusMelody, kHarmonyLine, kBassChorusPart, kDrumChorus, true},
    {'O', 0, 96, kVerseChords, kVerseTail, kHarmonyLine, kBassVersePart, kDrumVerse, true},
};

const SectionRow* FindSection(char letter) {
    for (const SectionRow& row : kSections)
        if (row.letter == letter) return &row;
    return nullptr;
}

// ---------------------------------------------------------------------------
// Channels and their mix.

enum Role { kLead, kBass, kPad, kKeys, kCounterVoice, kLead2, kEcho, kDrums };

struct RoleMix {
    int channel;
    const char* name;
    int level;  // dB against the lead, before each program's own loudness
    int pan, reverb, chorus;
};

const RoleMix kMix[] = {
    {0, "Lead", 0, 64, 40, 10},
    {1, "Bass", -1, 64, 10, 0},
    {2, "Pad", -8, 44, 70, 40},
    {3, "Keys", -6, 88, 50, 20},
    {4, "Counter", -6, 36, 50, 20},
    {5, "Second lead", -1, 76, 45, 10},
    {6, "Echo", -10, 104, 70, 0},
    {9, "Drums", 0, 64, 25, 0},
};

// How loud each program used here sounds: a held triad at velocity 100 and
// channel volume 100, in dB of full scale at the game's music volume, the
// mean of Debian's TimGM6mb and FluidR3 fonts. Channel volumes are set from
// it, so a soft flute and a bright organ sit where their part wants them.
struct ProgramLoudness {
    int program;
    int db;
};
const ProgramLoudness kProgramLoudness[] = {
    {0, -33}, {2, -29}, {4, -24}, {5, -26}, {7, -29}, {8, -31}, {9, -30}, {10, -30}, {12, -33}, {13, -38},
    {14, -27}, {15, -34}, {16, -26}, {17, -25}, {18, -24}, {19, -26}, {20, -26}, {22, -27}, {24, -30},
    {25, -31}, {30, -21}, {32, -31}, {33, -27}, {34, -29}, {35, -26}, {37, -35}, {40, -24}, {41, -24},
    {42, -24}, {44, -26}, {45, -32}, {46, -28}, {49, -26}, {52, -26}, {53, -27}, {54, -27}, {56, -27},
    {60, -22}, {63, -18}, {64, -25}, {66, -25}, {68, -24}, {69, -24}, {70, -25}, {71, -24}, {72, -24},
    {73, -25}, {75, -25}, {77, -25}, {78, -21}, {85, -19}, {89, -26}, {99, -25}, {101, -26}, {102, -24},
    {104, -30}, {108, -34}, {109, -24}, {110, -24}, {114, -31},
};
constexpr int kDrumVolume = 100;
constexpr int kReferenceDb = -25;  // a program this loud gets channel volume 100 at level 0

int ChannelVolume(int program, int level) {
    int db = kReferenceDb;
    for (const ProgramLoudness& row : kProgramLoudness)
        if (row.program == program) db = row.db;
    // Channel volume scales the level by 40 log10(volume / 127) dB.
    const double volume = 100.0 * std::pow(10.0, (level + kReferenceDb - db) / 40.0);
    return std::clamp(int(std::lround(volume)), 16, 127);
}

// ---------------------------------------------------------------------------
// The composer.

struct PhraseNote {
    int step;  // sixteenths from the section start
    int len;
    int idx;   // scale index; 7 is the tonic an octave above the base
};

struct Onset {
    int step;
    int len;
};

std::vector<Onset> ParseSteps(const std::string& steps) {
    std::vector<Onset> onsets;
    bool open = false;
    for (int i = 0; i < int(steps.size()); ++i) {
        const char c = steps[size_t(i)];
        if (c == 'x' || (c >= 'A' && c <= 'Z')) {
            onsets.push_back({i, 1});
            open = true;
        } else if (c == '-' && open) {
            ++onsets.back().len;
        } else {
            open = false;
        }
    }
    return onsets;
}

struct Motif {
    std::string rhythm;
    std::vector<int> contour;  // scale steps from the previous note
};


class Composer {
public:
    Composer(const TrackStyle& style, int seed, const std::string& title)
        : style_(style), rng_{Rng{0x0B4A1u + uint64_t(seed)}.Next()} {
        song_.title = title;
        song_.beats_per_bar = style.beats;
        steps_per_bar_ = style.beats * 4;
        base_ = (style.key <= 5 ? 60 : 48) + style.key;
    }

    MidiSong Compose();

private:
    struct Bar {
        BarChords chords;
        const SectionRow* section;
        int in_section;   // bar number inside its section
        int bars;         // of its section
        int occurrence;   // how often its section letter came before
        int lift;         // semitones
    };

    // Helpers on pitch.
    int ScalePitch(int idx, Chord chord, int lift) const {
        const int octave = FloorDiv(idx, 7);
        const int degree = idx - octave * 7;
        int semis = kModeSteps[style_.mode][degree];
        if (chord.raised && degree == (chord.degree + 2) % 7) semis += 1;
        return base_ + 12 * octave + semis + lift;
    }
    static bool IsChordTone(int idx, Chord chord) {
        const int m = Mod(idx - chord.degree, 7);
        return m == 0 || m == 2 || m == 4;
    }
    static int NearestChordTone(int idx, Chord chord, int dir) {
        const int first = dir < 0 ? -1 : 1;
        for (int d = 0; d < 7; ++d) {
            if (IsChordTone(idx + first * d, chord)) return idx + first * d;
            if (IsChordTone(idx - first * d, chord)) return idx - first * d;
        }
        return idx;
    }
    static int NearestRoot(int idx, Chord chord) {
        for (int d = 0; d < 7; ++d) {
            if (Mod(idx - d - chord.degree, 7) == 0) return idx - d;
            if (Mod(idx + d - chord.degree, 7) == 0) return idx + d;
        }
        return idx;
    }

    Chord ChordAt(int global_step) const {
        const Bar& bar = bars_[size_t(global_step / steps_per_bar_)];
        const int in_bar = global_step % steps_per_bar_;
        if (bar.chords.split && in_bar >= steps_per_bar_ / 2) return bar.chords.second;
        return bar.chords.first;
    }
    Chord NextChord(int global_step) const {
        const int next_bar = global_step / steps_per_bar_ + 1;
        if (next_bar >= int(bars_.size())) return Chord{};
        return bars_[size_t(next_bar)].chords.first;
    }
    int LiftAt(int global_step) const { return bars_[size_t(global_step / steps_per_bar_)].lift; }

    int StepTick(int global_step) const {
        const int beat = FloorDiv(global_step, 4);
        return beat * kMidiTicksPerQuarter + kFeelOffsets[style_.feel][Mod(global_step, 4)];
    }
    int Jitter(int amount) { return rng_.Between(-amount, amount); }

    void AddNote(Role role, int key, int velocity, int start_step, int len_steps, int gate_percent) {
        const int start = StepTick(start_step);
        const int end = StepTick(start_step + len_steps);
        const int length = std::max(20, (end - start) * gate_percent / 100);
        song_.notes.push_back({kMix[role].channel, key, std::clamp(velocity, 1, 127), start, length});
    }
    void AddDrum(int key, int velocity, int step) {
        song_.notes.push_back({9, key, std::clamp(velocity, 1, 127), StepTick(step), 40});
    }
    bool Has(Role role) const;

    // Composition steps.
    void PickMaterial();
    void MakeDrums();
    DrumBar MakeGroove(const char* kick, const char* snare, int snare_key, int hat_key, const std::string& hats,
                       int extra_kicks, int ghosts, const PercussionVoice* percussion, const std::string& perc_steps);
    std::string MakeRiff(int density_shift);
    void LayOutBars();
    std::string MakeRhythm(int density);
    std::vector<int> MakeContour(int count);
    std::vector<PhraseNote> ComposePhrase(const std::vector<BarChords>& chords, int home, int density, int lo,
                                          int hi);
    void PlayMelody(Role role, const std::vector<PhraseNote>& phrase, int from_step, int first_bar, int bar_count,
                    int section_start, int energy, std::vector<PhraseNote>* played);
    void PlayHarmony(const std::vector<PhraseNote>& played, int energy);
    void PlayGuideTones(int section_start, int bar_count, int energy);
    void PlayBassBar(int bar_index, const std::string& pattern, int energy);
    void PlayPadBar(int bar_index, bool stabs, int energy);
    void PlayArpBar(int bar_index, int energy);
    void PlayCompBar(int bar_index, int energy);
    void PlayDrumBar(int bar_index, int energy);
    void PlayFill(int bar_index, int from_step, int energy);
    void PlaySection(int first_bar);
    void PlayEnding(int bar_index);
    void AddTempoMap();

    const TrackStyle& style_;
    Rng rng_;
    MidiSong song_;
    int steps_per_bar_;
    int base_;

    std::vector<BarChords> verse_chords_, chorus_chords_, bridge_chords_;
    std::vector<PhraseNote> verse_, chorus_, bridge_, solo_;
    int verse_home_ = 7;
    std::string form_;
    int intro_bars_ = 4;
    int break_bars_ = 2;
    int outro_bars_ = 4;
    int lift_ = 0;
    int stab_pattern_ = 0;
    std::string guide_rhythm_;
    std::string comp_rhythm_;
    std::vector<Bar> bars_;
    std::vector<int> pad_voicing_;
    int guide_idx_ = 0;

    // The track's own drums and bass.
    DrumBar verse_drums_[2], chorus_drums_[2], bridge_drums_, break_drums_[2];
    std::vector<std::vector<DrumHit>> fills_;  // each over the last half bar
    int crash_key_ = 49;
    std::string verse_riff_, chorus_riff_, long_riff_;
    // Which bed plays under the first verse: 1 pad, 2 keys, 3 both.
    int verse_bed_ = 3;
    bool chorus_double_ = false;  // the second lead doubles the last choruses
};

bool Composer::Has(Role role) const {
    switch (role) {
        case kPad: return style_.programs.pad >= 0;
        case kKeys: return style_.programs.keys >= 0 && style_.keys != kKeysNone;
        case kCounterVoice: return style_.programs.counter >= 0;
        case kEcho: return style_.echo;
        default: return true;
    }
}

std::string Composer::MakeRhythm(int density) {
    std::vector<int> weights;
    // Four even sixteenths limp under a triplet shuffle, so that feel skips them.
    for (const RhythmCell& cell : kCells)
        weights.push_back(style_.feel == kShuffle && std::string(cell.steps) == "xxxx" ? 0 : cell.weight[density]);
    std::string rhythm;
    for (int beat = 0; beat < style_.beats; ++beat) {
        int pick = rng_.Weighted(weights);
        // Motifs start on the downbeat so they are easy to hear repeat.
        while (beat == 0 && kCells[pick].steps[0] != 'x') pick = rng_.Weighted(weights);
        rhythm += kCells[pick].steps;
    }
    return rhythm;
}

std::vector<int> Composer::MakeContour(int count) {
    static const std::vector<int> kStepWeights = {2, 7, 4, 2, 1};  // repeat, step, third, fourth, fifth
    std::vector<int> contour(size_t(std::max(count, 1)), 0);
    int dir = rng_.Chance(50) ? 1 : -1;
    int last_size = 0;
    for (int i = 1; i < count; ++i) {
        // Leaps turn back; lines otherwise keep their direction for a while.
        if (last_size >= 3 || rng_.Chance(28)) dir = -dir;
        last_size = rng_.Weighted(kStepWeights);
        contour[size_t(i)] = dir * last_size;
    }
    return contour;
}

std::vector<PhraseNote> Composer::ComposePhrase(const std::vector<BarChords>& chords, int home, int density, int lo,
                                                int hi) {
    Motif motifs[4];
    for (Motif& motif : motifs) {
        motif.rhythm = MakeRhythm(density);
        motif.contour = MakeContour(int(ParseSteps(motif.rhythm).size()));
    }
    const bool three = style_.beats == 3;
    auto cadence = [&]() {
        Motif motif;
        motif.rhythm = three ? kCadences3[rng_.Below(4)] : kCadences4[rng_.Below(6)];
        const int count = int(ParseSteps(motif.rhythm).size());
        motif.contour.assign(size_t(count), 0);
        const int dir = rng_.Chance(60) ? -1 : 1;
        for (int i = 1; i < count; ++i) motif.contour[size_t(i)] = dir * rng_.Between(1, 2);
        return motif;
    };
    const Motif half_cadence = cadence();
    const Motif full_cadence = cadence();
    const std::string plan = kPhrasePlans[rng_.Below(4)];
    // Each motif starts from its own height, so repeats over the same chord
    // are exact and over new chords they become sequences.
    const int offsets[4] = {0, rng_.Chance(50) ? 2 : -2, 3, 1};

    std::vector<PhraseNote> phrase;
    for (int bar = 0; bar < int(plan.size()); ++bar) {
        const char kind = plan[size_t(bar)];
        const Motif& motif = kind == 'C' ? half_cadence : kind == 'E' ? full_cadence : motifs[kind - 'a'];
        const int offset = kind == 'C' ? 1 : kind == 'E' ? 0 : offsets[kind - 'a'];
        const BarChords& bar_chords = chords[size_t(bar) % chords.size()];
        const std::vector<Onset> onsets = ParseSteps(motif.rhythm);
        int idx = NearestChordTone(home + offset, bar_chords.first, 0);
        for (size_t i = 0; i < onsets.size(); ++i) {
            const Onset& onset = onsets[i];
            const Chord chord =
                bar_chords.split && onset.step >= steps_per_bar_ / 2 ? bar_chords.second : bar_chords.first;
            const int delta = motif.contour[i];
            if (i > 0) idx += delta;
            if (idx > hi) idx = 2 * hi - idx;
            if (idx < lo) idx = 2 * lo - idx;
            // Downbeats, beats with weight and held notes sit on the chord;
            // short notes between them pass.
            const bool strong = onset.step % (three ? 12 : 8) == 0 || (onset.step % 4 == 0 && onset.len >= 2) ||
                                onset.len >= 3;
            if (strong) idx = NearestChordTone(idx, chord, delta);
            const bool last = i + 1 == onsets.size();
            int len = onset.len;
            if (last && (kind == 'E' || kind == 'C')) {
                idx = kind == 'E' ? NearestRoot(idx, chord) : NearestChordTone(idx, chord, delta);
                len = std::max(1, std::min(len, steps_per_bar_ - 2 - onset.step));  // breathe before the next phrase
            }
            phrase.push_back({bar * steps_per_bar_ + onset.step, len, idx});
        }
    }
    return phrase;
}


void Composer::PickMaterial() {
    // Progressions in the track's mode: the verse starts at home, chorus and
    // bridge start away from it.
    std::vector<const char*> home, away;
    for (const ProgressionRow& row : kProgressions) {
        if (row.mode != style_.mode) continue;
        (ParseProgression(row.chords).front().first.degree == 0 ? home : away).push_back(row.chords);
    }
    verse_chords_ = ParseProgression(home[size_t(rng_.Below(int(home.size())))]);
    const int chorus_pick = rng_.Below(int(away.size()));
    chorus_chords_ = ParseProgression(away[size_t(chorus_pick)]);
    const int bridge_pick = (chorus_pick + 1 + rng_.Below(int(away.size()) - 1)) % int(away.size());
    bridge_chords_ = ParseProgression(away[size_t(bridge_pick)]);

    // Fast tracks get room for the melody; slow ones move more notes.
    const int verse_density = style_.tempo >= 140 ? 1 : style_.tempo <= 112 ? 2 : rng_.Between(1, 2);
    // The tune centres a little above middle C's octave.
    const int home_pitch = 70 + 12 * style_.lead_octave + rng_.Between(0, 3);
    verse_home_ = 0;
    while (ScalePitch(verse_home_ + 1, Chord{}, 0) <= home_pitch) ++verse_home_;
    const int lo = verse_home_ - 5, hi = verse_home_ + 6;
    verse_ = ComposePhrase(verse_chords_, verse_home_, verse_density, lo, hi);
    chorus_ = ComposePhrase(chorus_chords_, verse_home_ + 2, std::max(0, verse_density - 1), lo + 1, hi + 1);
    bridge_ = ComposePhrase(bridge_chords_, verse_home_ - 1, 0, lo - 1, hi - 1);
    solo_ = ComposePhrase(verse_chords_, verse_home_ + 1, 2, lo, hi + 1);

    guide_idx_ = verse_home_ - 4;
    // Intros are short, so the tune arrives before the first wave does.
    const double bar_seconds = 60.0 * style_.beats / style_.tempo;
    intro_bars_ = bar_seconds * 4 <= 8.0 && rng_.Chance(60) ? 4 : 2;
    break_bars_ = rng_.Chance(50) ? 4 : 2;
    outro_bars_ = style_.ending == kEndFade ? 8 : 4;
    lift_ = rng_.Weighted({4, 3, 3});
    stab_pattern_ = rng_.Below(2);
    static const char* const kGuide4[] = {"x-------x-------", "x-----x-----x---", "x---------------"};
    static const char* const kGuide3[] = {"x-----------", "x-----x-----", "x-------x---"};
    guide_rhythm_ = style_.beats == 3 ? kGuide3[rng_.Below(3)] : kGuide4[rng_.Below(3)];
    // Comping: chords on a rhythm of the track's own, never on the downbeat alone.
    comp_rhythm_ = std::string(size_t(steps_per_bar_), '.');
    for (int s = 0; s < steps_per_bar_; s += 2)
        if (rng_.Chance(s % 4 == 2 ? 60 : 35)) comp_rhythm_[size_t(s)] = 'x';
    comp_rhythm_[size_t(rng_.Chance(50) ? 2 : 0)] = 'x';
    verse_bed_ = Has(kPad) && Has(kKeys) ? rng_.Between(1, 3) : Has(kPad) ? 1 : 2;
    chorus_double_ = rng_.Chance(50);

    MakeDrums();
    verse_riff_ = MakeRiff(0);
    chorus_riff_ = MakeRiff(12);
    for (int tries = 0; chorus_riff_ == verse_riff_ && tries < 8; ++tries) chorus_riff_ = MakeRiff(20);
    // The bridge's bass thins the verse riff out to its beats, held long.
    long_riff_ = verse_riff_;
    for (int step = 1; step < steps_per_bar_; ++step)
        if (long_riff_[size_t(step)] != '-' && (step % 4 != 0 || rng_.Chance(40))) long_riff_[size_t(step)] = '-';
    if (std::count(long_riff_.begin(), long_riff_.end(), '-') == steps_per_bar_ - 1)
        long_riff_[size_t(steps_per_bar_ / 2)] = verse_riff_[size_t(steps_per_bar_ / 2)] == 'O' ? 'F' : 'O';

    // The form: whichever candidates fit a comfortable length, picked by seed.
    std::vector<std::string> fitting;
    std::string closest;
    double closest_gap = 1e9;
    for (const char* form : kForms) {
        int total = 1;  // the closing bar
        for (const char* c = form; *c; ++c) {
            const SectionRow* row = FindSection(*c);
            total += row->bars ? row->bars : *c == 'I' ? intro_bars_ : *c == 'K' ? break_bars_ : outro_bars_;
        }
        const double seconds = total * bar_seconds;
        if (seconds >= 80.0 && seconds <= 150.0) fitting.push_back(form);
        const double gap = std::abs(seconds - 115.0);
        if (gap < closest_gap) closest_gap = gap, closest = form;
    }
    form_ = fitting.empty() ? closest : fitting[size_t(rng_.Below(int(fitting.size())))];
}

DrumBar Composer::MakeGroove(const char* kick, const char* snare, int snare_key, int hat_key, const std::string& hats,
                             int extra_kicks, int ghosts, const PercussionVoice* percussion,
                             const std::string& perc_steps) {
    auto level = [](char c) { return c == 'X' ? 112 : c == 'x' ? 96 : c == 'o' ? 74 : c == 'g' ? 46 : 0; };
    const int n = steps_per_bar_;
    std::string kicks = kick, snares = snare;
    for (int k = 0; k < extra_kicks; ++k) {
        const int s = rng_.Below(n);
        if (kicks[size_t(s)] == '.' && snares[size_t(s)] == '.') kicks[size_t(s)] = s % 2 ? 'o' : 'x';
    }
    for (int g = 0; g < ghosts; ++g) {
        const int s = rng_.Below(n);
        if (snares[size_t(s)] == '.' && s % 2 == 1) snares[size_t(s)] = 'g';
    }
    DrumBar bar;
    for (int s = 0; s < n; ++s) {
        if (level(kicks[size_t(s)])) bar.push_back({s, 36, level(kicks[size_t(s)])});
        if (level(snares[size_t(s)])) bar.push_back({s, snares[size_t(s)] == 'g' ? 38 : snare_key, level(snares[size_t(s)])});
        const char hat = hats[size_t(s) % hats.size()];
        if (level(hat)) bar.push_back({s, hat_key, level(hat) - 8});
        if (percussion && perc_steps[size_t(s)] != '.')
            bar.push_back({s, perc_steps[size_t(s)] == 'a' ? percussion->answer : percussion->key, perc_steps[size_t(s)] == 'a' ? 70 : 84});
    }
    return bar;
}

void Composer::MakeDrums() {
    const GrooveFamily& family = kGrooveFamilies[style_.groove];
    const int n = steps_per_bar_;
    auto pick_hats = [&]() {
        std::string line;
        const std::string cell = kHatCells[rng_.Below(int(std::size(kHatCells)))];
        for (int beat = 0; beat < style_.beats; ++beat) line += cell;
        return line;
    };
    auto perc_line = [&](const PercussionVoice& voice) {
        std::string steps(size_t(n), '.');
        for (int h = 0; h < voice.hits; ++h) steps[size_t(rng_.Below(n))] = rng_.Chance(35) ? 'a' : 'x';
        return steps;
    };
    const bool soft_kit = style_.kit == 32 || style_.kit == 40;
    const int snare_key = soft_kit && rng_.Chance(50) ? 37 : rng_.Chance(30) ? 40 : style_.kit == 24 && rng_.Chance(60) ? 39 : 38;
    const int hat_key = soft_kit ? (rng_.Chance(50) ? 51 : 44) : kHatSounds[rng_.Below(int(std::size(kHatSounds)))];
    const int lift_key = kLiftSounds[rng_.Below(int(std::size(kLiftSounds)))];
    const PercussionVoice& verse_perc = kPercussion[rng_.Below(int(std::size(kPercussion)))];
    const PercussionVoice& chorus_perc = kPercussion[rng_.Below(int(std::size(kPercussion)))];
    const bool verse_has_perc = rng_.Chance(45);
    const std::string verse_hats = pick_hats(), chorus_hats = pick_hats();
    const std::string verse_perc_steps = perc_line(verse_perc), chorus_perc_steps = perc_line(chorus_perc);
    for (int v = 0; v < 2; ++v) {
        // Every draw in a statement of its own: the order of a call's
        // arguments is the compiler's, and the notes must not depend on it.
        const int verse_ghosts = rng_.Below(3);
        const int verse_kicks = v + rng_.Below(2);
        verse_drums_[v] = MakeGroove(family.kick, family.snare, snare_key, hat_key, verse_hats, verse_kicks,
                                     verse_ghosts, verse_has_perc ? &verse_perc : nullptr, verse_perc_steps);
        const int chorus_ghosts = rng_.Below(3);
        chorus_drums_[v] = MakeGroove(family.kick, family.snare, snare_key, lift_key, chorus_hats, 1 + v,
                                      chorus_ghosts, &chorus_perc, chorus_perc_steps);
        // A clap or a second snare on the chorus backbeat.
        for (int s = 0; s < n; ++s)
            if (family.snare[s] == 'X' && rng_.Chance(70)) chorus_drums_[v].push_back({s, 39, 80});
        // The break: toms and kick around the backbeat, no cymbals.
        std::string toms(size_t(n), '.');
        DrumBar brk = MakeGroove(family.kick, family.snare, snare_key, hat_key, "....", 2 + v, 2, nullptr, toms);
        for (int h = 0; h < 3 + v; ++h) brk.push_back({rng_.Below(n), kToms[rng_.Below(6)], 90});
        break_drums_[v] = brk;
    }
    // The bridge's half time keeps a percussion line and a hat figure of its own.
    const PercussionVoice& bridge_perc = kPercussion[rng_.Below(int(std::size(kPercussion)))];
    const std::string bridge_perc_steps = perc_line(bridge_perc);
    const int bridge_ghosts = 1 + rng_.Below(2);
    const int bridge_kicks = 1 + rng_.Below(2);
    const std::string bridge_hats = pick_hats();
    const int bridge_hat_key = rng_.Chance(50) ? 51 : hat_key;
    bridge_drums_ = MakeGroove(family.half_kick, family.half_snare, soft_kit ? 37 : snare_key,
                               bridge_hat_key, bridge_hats, bridge_kicks, bridge_ghosts, &bridge_perc,
                               bridge_perc_steps);
    // Fills over the last half bar: snare and toms in an order of the track's own.
    const int half = n / 2;
    for (int f = 0; f < 3; ++f) {
        std::vector<DrumHit> fill;
        int tom = rng_.Below(3);
        for (int s = 0; s < half; ++s) {
            if (s % 2 == 1 && rng_.Chance(35)) continue;
            const bool snare = rng_.Chance(30);
            if (!snare && rng_.Chance(45)) tom = std::min(5, tom + 1);
            const int ramp = 78 + 36 * s / std::max(1, half - 1);
            fill.push_back({n - half + s, snare ? snare_key : kToms[tom], ramp});
        }
        fills_.push_back(fill);
    }
    crash_key_ = rng_.Chance(50) ? 49 : 57;
}

std::string Composer::MakeRiff(int density_shift) {
    const BassRow& row = kBassRows[style_.bass];
    static const char kNotes[] = "ROFTL";
    const std::vector<int> weights(row.notes, row.notes + 5);
    const int n = steps_per_bar_;
    std::string riff(size_t(n), '-');
    int last_onset = 0;
    for (int s = 0; s < n; ++s) {
        const int chance = std::clamp(row.onset[s % 4] + (s % 4 ? density_shift : 0) - (s % 4 ? 0 : 0), 0, 100);
        if (s > 0 && !rng_.Chance(chance)) continue;
        riff[size_t(s)] = s == 0 ? 'R' : kNotes[rng_.Weighted(weights)];
        last_onset = s;
    }
    // Most riffs lead into the next chord; walking lines always do.
    if (last_onset >= n - 4 && (style_.bass == kBassWalk || rng_.Chance(45))) riff[size_t(last_onset)] = 'P';
    // Funk leaves holes.
    if (style_.bass == kBassFunk)
        for (int s = 1; s < n; ++s)
            if (riff[size_t(s)] == '-' && rng_.Chance(40)) riff[size_t(s)] = '.';
    return riff;
}

void Composer::LayOutBars() {
    int seen[128] = {};
    for (char letter : form_) {
        const SectionRow* row = FindSection(letter);
        const std::vector<BarChords>& chords =
            row->chords == kChorusChords ? chorus_chords_ : row->chords == kBridgeChords ? bridge_chords_ : verse_chords_;
        const int count = row->bars ? row->bars : letter == 'I' ? intro_bars_ : letter == 'K' ? break_bars_ : outro_bars_;
        const int occurrence = seen[int(letter)]++;
        for (int b = 0; b < count; ++b)
            bars_.push_back({chords[size_t(b) % chords.size()], row, b, count, occurrence, row->lifted ? lift_ : 0});
    }
}

void Composer::PlayMelody(Role role, const std::vector<PhraseNote>& phrase, int from_step, int first_bar, int bar_count,
                          int section_start, int energy, std::vector<PhraseNote>* played) {
    const int begin = first_bar * steps_per_bar_, end = (first_bar + bar_count) * steps_per_bar_;
    for (const PhraseNote& note : phrase) {
        if (note.step < begin || note.step >= end) continue;
        const int step = section_start + note.step - begin + from_step;
        const Chord chord = ChordAt(step);
        const int key = ScalePitch(note.idx, chord, LiftAt(step));
        const int in_bar = note.step % steps_per_bar_;
        int velocity = 100 * energy / 100 + Jitter(4);
        if (in_bar == 0) velocity += 8;
        else if (in_bar % 4 == 0) velocity += 3;
        else if (in_bar % 2 == 1) velocity -= 6;
        const int gate = note.len == 1 ? 80 : 92;
        AddNote(role, key, velocity, step, note.len, gate);
        if (style_.echo && role == kLead) AddNote(kEcho, key, velocity * 55 / 100, step + 3, note.len, gate);
        if (played) played->push_back({step, note.len, note.idx});
    }
}

void Composer::PlayHarmony(const std::vector<PhraseNote>& played, int energy) {
    // A third below the tune, leaning onto chord tones on the strong beats.
    for (const PhraseNote& note : played) {
        const Chord chord = ChordAt(note.step);
        int idx = note.idx - 2;
        const int in_bar = note.step % steps_per_bar_;
        if ((in_bar % 8 == 0 || note.len >= 4) && !IsChordTone(idx, chord)) {
            for (int candidate : {note.idx - 3, note.idx - 1, note.idx - 4})
                if (IsChordTone(candidate, chord)) {
                    idx = candidate;
                    break;
                }
        }
        const int velocity = 84 * energy / 100 + Jitter(4);
        AddNote(kCounterVoice, ScalePitch(idx, chord, LiftAt(note.step)), velocity, note.step, note.len, 90);
    }
}

void Composer::PlayGuideTones(int section_start, int bar_count, int energy) {
    // Slow thirds and fifths under the tune, moving by the smallest step.
    const std::vector<Onset> onsets = ParseSteps(guide_rhythm_);
    const int lo = verse_home_ - 9, hi = verse_home_ - 1;
    for (int bar = 0; bar < bar_count; ++bar) {
        for (const Onset& onset : onsets) {
            const int step = section_start + bar * steps_per_bar_ + onset.step;
            const Chord chord = ChordAt(step);
            int best = guide_idx_, best_cost = 1000;
            for (int idx = lo; idx <= hi; ++idx) {
                const int m = Mod(idx - chord.degree, 7);
                if (m != 2 && m != 4 && !(style_.sevenths && m == 6)) continue;
                const int cost = std::abs(idx - guide_idx_) * 2 + (idx == guide_idx_ ? 1 : 0);
                if (cost < best_cost) best_cost = cost, best = idx;
            }
            guide_idx_ = best;
            const int velocity = 80 * energy / 100 + (onset.step == 0 ? 6 : 0) + Jitter(3);
            AddNote(kCounterVoice, ScalePitch(best, chord, LiftAt(step)), velocity, step, onset.len, 96);
        }
    }
}


void Composer::PlayBassBar(int bar_index, const std::string& pattern, int energy) {
    const int start = bar_index * steps_per_bar_;
    const int gate = kBassRows[style_.bass].gate;
    std::vector<Onset> onsets;
    for (int s = 0; s < int(pattern.size()); ++s) {
        if (pattern[size_t(s)] == '-' && !onsets.empty()) ++onsets.back().len;
        else if (pattern[size_t(s)] != '.' && pattern[size_t(s)] != '-') onsets.push_back({s, 1});
    }
    for (const Onset& onset : onsets) {
        const int step = start + onset.step;
        const Chord chord = ChordAt(step);
        const int lift = LiftAt(step);
        int root = ScalePitch(chord.degree, chord, lift);
        root = 36 + Mod(root, 12);
        if (root > 44) root -= 12;
        const int fifth = root + ScalePitch(chord.degree + 4, chord, 0) - ScalePitch(chord.degree, chord, 0);
        const int third = root + ScalePitch(chord.degree + 2, chord, 0) - ScalePitch(chord.degree, chord, 0);
        int key = root;
        switch (pattern[size_t(onset.step)]) {
            case 'O': key = root + 12; break;
            case 'F': key = fifth; break;
            case 'T': key = third; break;
            case 'L': key = fifth - 12; break;
            case 'P': {
                const Chord next = NextChord(step);
                int next_root = 36 + Mod(ScalePitch(next.degree, next, lift), 12);
                if (next_root > 44) next_root -= 12;
                key = next_root == root ? fifth : next_root - 1;
                break;
            }
            default: break;
        }
        int velocity = 100 * energy / 100 + Jitter(4);
        if (onset.step % 4 == 0) velocity += 6;
        AddNote(kBass, key, velocity, step, onset.len, gate);
    }
}

void Composer::PlayCompBar(int bar_index, int energy) {
    // Short chords on the track's comping rhythm, voiced above the pad.
    const int start = bar_index * steps_per_bar_;
    for (int s = 0; s < steps_per_bar_; ++s) {
        if (comp_rhythm_[size_t(s)] != 'x') continue;
        const int step = start + s;
        const Chord chord = ChordAt(step);
        const int lift = LiftAt(step);
        const int tones = style_.sevenths ? 4 : 3;
        for (int t = 0; t < tones; ++t) {
            int key = ScalePitch(chord.degree + 2 * t, chord, lift);
            while (key < 60) key += 12;
            while (key > 76) key -= 12;
            AddNote(kKeys, key, 82 * energy / 100 + Jitter(4) + (s % 4 == 0 ? 6 : 0), step, 2, 60);
        }
    }
}

void Composer::PlayFill(int bar_index, int from_step, int energy) {
    const std::vector<DrumHit>& fill = fills_[size_t((bar_index / 4 + bar_index) % int(fills_.size()))];
    const int start = bar_index * steps_per_bar_;
    for (const DrumHit& hit : fill)
        if (hit.step >= from_step) AddDrum(hit.key, hit.velocity * energy / 100 + Jitter(4), start + hit.step);
    AddDrum(36, 96 * energy / 100, start + from_step);
}

void Composer::PlayDrumBar(int bar_index, int energy) {
    const Bar& bar = bars_[size_t(bar_index)];
    const SectionRow& section = *bar.section;
    const int start = bar_index * steps_per_bar_;
    const int n = steps_per_bar_;
    const int v = bar.in_section % 2;
    const bool last_bar = bar.in_section == bar.bars - 1;

    if (section.letter == 'O' && style_.ending == kEndCold && last_bar) {
        // The band drops out: one bar of toms and snare into the last hit.
        AddDrum(36, 104 * energy / 100, start);
        for (int f = 0; f < 2; ++f)
            for (const DrumHit& hit : fills_[size_t(f)])
                AddDrum(hit.key, hit.velocity * energy / 100, start + hit.step - (f == 0 ? n / 2 : 0));
        return;
    }
    const DrumBar* pattern = &verse_drums_[v];
    switch (section.drums) {
        case kDrumVerse: pattern = &verse_drums_[bar.occurrence > 0 ? 1 - v : v]; break;
        case kDrumChorus: pattern = &chorus_drums_[v]; break;
        case kDrumBridge: pattern = &bridge_drums_; break;
        case kDrumBreak: pattern = &break_drums_[v]; break;
    }
    // A fill closes each section and a short one each four-bar phrase.
    const int fill_from = last_bar ? n / 2 : bar.in_section % 4 == 3 ? n - 4 : n;
    for (const DrumHit& hit : *pattern)
        if (hit.step < fill_from) AddDrum(hit.key, hit.velocity * energy / 100 + Jitter(5), start + hit.step);
    if (fill_from < n) PlayFill(bar_index, fill_from, energy);
    if (bar.in_section == 0 && section.drums != kDrumBridge) {
        AddDrum(crash_key_, 110 * energy / 100, start);
        AddDrum(36, 104 * energy / 100, start);
    }
}

void Composer::PlaySection(int first_bar) {
    const Bar& head = bars_[size_t(first_bar)];
    const SectionRow& section = *head.section;
    const int count = head.bars;
    const int start = first_bar * steps_per_bar_;
    const bool again = head.occurrence > 0;
    const bool fade = section.letter == 'O' && style_.ending == kEndFade;
    // A cold ending leaves its last bar to the drums.
    const int band_bars = section.letter == 'O' && style_.ending == kEndCold ? count - 1 : count;
    const int energy = section.energy;

    std::vector<PhraseNote> played;
    std::vector<PhraseNote> chorus_below = chorus_;
    for (PhraseNote& note : chorus_below) note.idx -= 7;
    switch (section.melody) {
        case kIntroHook: PlayMelody(kLead2, chorus_, 0, 0, count, start, energy * 94 / 100, nullptr); break;
        case kVerseMelody: PlayMelody(kLead, verse_, 0, 0, count, start, energy, &played); break;
        case kChorusMelody:
            PlayMelody(kLead, chorus_, 0, 0, count, start, energy, &played);
            // The choruses that come back bring the second lead along an octave down.
            if (chorus_double_ && (again || section.lifted))
                PlayMelody(kLead2, chorus_below, 0, 0, count, start, energy * 88 / 100, nullptr);
            break;
        case kBridgeMelody: PlayMelody(kLead2, bridge_, 0, 0, count, start, energy * 92 / 100, &played); break;
        case kSoloMelody: PlayMelody(kLead2, solo_, 0, 0, count, start, energy, &played); break;
        case kVerseTail: PlayMelody(kLead, verse_, 0, fade ? 0 : 4, band_bars, start, energy, &played); break;
        case kNoMelody: break;
    }
    Counter counter = section.counter;
    if (section.letter == 'A' && again) counter = kGuideTones;  // the second verse gains a line beneath
    if (section.letter == 'B' && again) counter = kHarmonyLine;  // the second chorus sings in thirds
    if (Has(kCounterVoice)) {
        if (counter == kHarmonyLine) PlayHarmony(played, energy);
        if (counter == kGuideTones) PlayGuideTones(start, count, energy);
    }

    // Which bed lies under the tune: 1 pad, 2 keys, 3 both.
    int bed = 3;
    switch (section.letter) {
        case 'A': bed = again ? 3 : verse_bed_; break;
        case 'D': bed = Has(kKeys) ? 2 : 1; break;
        case 'K': bed = 0; break;
        default: break;
    }
    for (int b = 0; b < count; ++b) {
        const int bar_index = first_bar + b;
        // A fading outro loses a tenth of its level every bar.
        const int bar_energy = fade ? energy * (count - b) / (count + 2) : energy;
        if (b < band_bars) {
            const std::string& riff =
                section.bass == kBassLong ? long_riff_ : section.bass == kBassChorusPart ? chorus_riff_ : verse_riff_;
            PlayBassBar(bar_index, riff, bar_energy);
            if ((bed & 1) && Has(kPad))
                PlayPadBar(bar_index, style_.stabs && section.letter != 'C' && section.letter != 'I', bar_energy);
            if ((bed & 2) && Has(kKeys)) {
                if (style_.keys == kKeysArp || section.letter == 'C') PlayArpBar(bar_index, bar_energy);
                else PlayCompBar(bar_index, bar_energy);
            }
        }
        PlayDrumBar(bar_index, bar_energy);
    }
}

void Composer::PlayEnding(int bar_index) {
    const int start = bar_index * steps_per_bar_;
    const Chord tonic;
    const int n = steps_per_bar_;
    int root = 36 + Mod(ScalePitch(0, tonic, lift_), 12);
    if (root > 44) root -= 12;
    const int top = ScalePitch(NearestRoot(verse_home_, tonic), tonic, lift_);
    if (style_.ending == kEndFade) {
        // What is left of the fade: the pad's last chord, far away.
        if (Has(kPad)) PlayPadBar(bar_index, false, 40);
        AddNote(kBass, root, 44, start, n, 96);
        return;
    }
    if (style_.ending == kEndHeld) {
        // One held tonic chord with a cymbal, rolled up by the keys.
        AddNote(kLead, top, 104, start, n, 96);
        if (style_.echo) AddNote(kEcho, top, 56, start + 3, n - 3, 96);
        if (Has(kCounterVoice))
            AddNote(kCounterVoice, ScalePitch(NearestChordTone(verse_home_ - 3, tonic, -1), tonic, lift_), 86, start, n, 96);
        AddNote(kBass, root, 108, start, n, 96);
        if (Has(kKeys)) {
            const int tones = style_.sevenths ? 4 : 3;
            for (int t = 0; t < tones + 2; ++t) {
                const int key = ScalePitch(2 * (t % tones), tonic, lift_) + 12 * (t / tones) - (base_ > 60 ? 12 : 0);
                AddNote(kKeys, key, 80 - 3 * t, start + t, n - t, 96);
            }
        }
        if (Has(kPad)) PlayPadBar(bar_index, false, 100);
        AddDrum(crash_key_, 118, start);
        AddDrum(57, 100, start);
        AddDrum(36, 118, start);
        AddDrum(41, 96, start);
        return;
    }
    // Button and cold endings: the whole band on one short chord.
    AddNote(kLead, top, 112, start, 2, 90);
    AddNote(kLead2, top - 12, 100, start, 2, 90);
    AddNote(kBass, root, 112, start, 2, 90);
    if (Has(kPad)) PlayPadBar(bar_index, true, 104);
    if (Has(kKeys)) PlayCompBar(bar_index, 104);
    AddDrum(crash_key_, 120, start);
    AddDrum(36, 120, start);
    AddDrum(style_.kit == 40 ? 38 : 40, 116, start);
}

void Composer::AddTempoMap() {
    song_.tempos.push_back({0, double(style_.tempo)});
    if (style_.ending != kEndHeld) return;
    // Ease off over the last bar and a half so the final chord lands broad.
    const int beats = style_.beats;
    const int total_beats = int(bars_.size()) * beats;
    const int slow_from = total_beats - beats - beats / 2;
    for (int beat = slow_from, k = 1; beat < total_beats; ++beat, ++k) {
        const double bpm = style_.tempo * std::max(0.72, 1.0 - 0.045 * k);
        song_.tempos.push_back({beat * kMidiTicksPerQuarter, bpm});
    }
}

MidiSong Composer::Compose() {
    PickMaterial();
    LayOutBars();
    const int ending_bar = int(bars_.size());
    bars_.push_back({ParseProgression("I").front(), FindSection('O'), 0, 1, 99, lift_});
    for (int first = 0; first < ending_bar; first += bars_[size_t(first)].bars) PlaySection(first);
    PlayEnding(ending_bar);

    AddTempoMap();
    // The held chord gets two beats to ring out; a button's short chord lets
    // the cymbal ring through its bar.
    song_.end_tick = (ending_bar + 1) * style_.beats * kMidiTicksPerQuarter +
                     (style_.ending == kEndHeld ? 2 * kMidiTicksPerQuarter : 0);

    for (int role = kLead; role <= kDrums; ++role) {
        const RoleMix& mix = kMix[role];
        bool used = false;
        for (const MidiNote& note : song_.notes) used = used || note.channel == mix.channel;
        if (!used) continue;
        int program = style_.kit;
        switch (Role(role)) {
            case kLead: program = style_.programs.lead; break;
            case kBass: program = style_.programs.bass; break;
            case kPad: program = style_.programs.pad; break;
            case kKeys: program = style_.programs.keys; break;
            case kCounterVoice: program = style_.programs.counter; break;
            case kLead2: program = style_.programs.lead2; break;
            case kEcho: program = style_.programs.lead; break;
            case kDrums: break;
        }
        const int volume = role == kDrums ? kDrumVolume : ChannelVolume(program, mix.level);
        song_.channels.push_back({mix.channel, mix.name, program, volume, mix.pan, mix.reverb, mix.chorus});
    }
    return song_;
}

void Composer::PlayPadBar(int bar_index, bool stabs, int energy) {
    const int start = bar_index * steps_per_bar_;
    const Bar& bar = bars_[size_t(bar_index)];
    std::vector<Onset> onsets;
    if (stabs) {
        onsets = ParseSteps(style_.beats == 3 ? kStabs3[stab_pattern_] : kStabs4[stab_pattern_]);
    } else if (bar.chords.split) {
        onsets.push_back({0, steps_per_bar_ / 2});
        onsets.push_back({steps_per_bar_ / 2, steps_per_bar_ / 2});
    } else {
        onsets.push_back({0, steps_per_bar_});
    }
    for (const Onset& onset : onsets) {
        const int step = start + onset.step;
        const Chord chord = ChordAt(step);
        const int lift = LiftAt(step);
        const int tones = style_.sevenths ? 4 : 3;
        std::vector<int> classes;
        for (int t = 0; t < tones; ++t) classes.push_back(Mod(ScalePitch(chord.degree + 2 * t, chord, lift), 12));
        // Closest inversion to the last chord keeps the pad voices smooth.
        std::vector<int> best;
        int best_cost = 1 << 30;
        for (int rotation = 0; rotation < tones; ++rotation) {
            for (int floor : {52, 64}) {
                std::vector<int> voicing;
                int pitch = floor + Mod(classes[size_t(rotation)] - floor, 12);
                voicing.push_back(pitch);
                for (int t = 1; t < tones; ++t) {
                    const int pc = classes[size_t((rotation + t) % tones)];
                    pitch = pitch + 1 + Mod(pc - pitch - 1, 12);
                    voicing.push_back(pitch);
                }
                if (voicing.back() > 79) continue;
                int cost = 0;
                if (pad_voicing_.size() == voicing.size()) {
                    for (size_t v = 0; v < voicing.size(); ++v) cost += std::abs(voicing[v] - pad_voicing_[v]);
                } else {
                    cost = std::abs(voicing.front() + voicing.back() - 2 * 64);
                }
                if (cost < best_cost) best_cost = cost, best = voicing;
            }
        }
        pad_voicing_ = best;
        const int velocity = (stabs ? 84 : 70) * energy / 100 + Jitter(3);
        for (int key : best) AddNote(kPad, key, velocity, step, onset.len, stabs ? 80 : 97);
    }
}

void Composer::PlayArpBar(int bar_index, int energy) {
    const int start = bar_index * steps_per_bar_;
    const std::string pattern = kArpPatterns[style_.arp_pattern];
    for (int s = 0, i = 0; s < steps_per_bar_; s += style_.arp_rate, ++i) {
        const int step = start + s;
        const Chord chord = ChordAt(step);
        const int lift = LiftAt(step);
        const int tones = style_.sevenths ? 4 : 3;
        int shift = 0;
        const int root = ScalePitch(chord.degree, chord, lift);
        while (root + shift > 66) shift -= 12;
        while (root + shift < 55) shift += 12;
        const int digit = pattern[size_t(i) % pattern.size()] - '0';
        const int key = ScalePitch(chord.degree + 2 * (digit % tones), chord, lift) + 12 * (digit / tones) + shift;
        int velocity = 70 * energy / 100 + Jitter(3);
        if (s % 4 == 0) velocity += 8;
        AddNote(kKeys, key, velocity, step, style_.arp_rate, 60);
    }
}


std::string TitleOf(const std::string& path) {
    std::string name = path.substr(path.find('/') + 1);
    name = name.substr(0, name.rfind('.'));
    name = name.substr(name.find('_') + 1);
    std::replace(name.begin(), name.end(), '_', ' ');
    return name;
}

const char* const kPlaylist[] = {
#define ORBALUNE_MUSIC_PATH(path) path,
    ORBALUNE_MUSIC(ORBALUNE_MUSIC_PATH)
#undef ORBALUNE_MUSIC_PATH
};

static_assert(sizeof(kPlaylist) / sizeof(kPlaylist[0]) == sizeof(kStyles) / sizeof(kStyles[0]),
              "every playlist track needs a style row");

}  // namespace

bool ComposeMusic(const std::string& data_dir) {
    for (size_t index = 0; index < sizeof(kPlaylist) / sizeof(kPlaylist[0]); ++index) {
        const std::string path = kPlaylist[index];
        Composer composer(kStyles[index], int(index), TitleOf(path));
        const MidiSong song = composer.Compose();
        const double seconds = MidiSeconds(song);
        if (seconds < 60.0 || seconds > 180.0) {
            std::fprintf(stderr, "%s: composed %.1f s, outside one to three minutes\n", path.c_str(), seconds);
            return false;
        }
        if (!WriteAssetFile(data_dir + "/" + path, EncodeMidi(song))) return false;
    }
    return true;
}

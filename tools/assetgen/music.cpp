// Orbalune's soundtrack: eighteen General MIDI pieces in the spirit of late
// arcade and home-computer shooters. Each track has a hand-picked style row
// (tempo, key, mode, groove, instruments); its index seeds everything else:
// chord progressions, motifs, fills and the form. A piece runs intro, verse,
// chorus, bridge or solo, a lifted final verse and an outro that slows into a
// held tonic chord, so it ends cleanly before the game picks the next one.
#include "assetgen.h"
#include "catalogue.h"
#include "music_midi.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Randomness: splitmix64, so every run composes the same notes.

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
struct GrooveRow {
    const char* kick;
    const char* kick_alt;  // every second bar
    const char* snare;
    const char* hat;
    const char* open_hat;
    int chorus_hat;  // hat line's key in choruses: 42 closed hat, 51 ride
};

enum Groove {
    kGrooveRock, kGrooveFour, kGrooveBreak, kGrooveHalf, kGrooveShuffle,
    kGrooveGallop, kGrooveDrive, kGrooveWaltz, kGrooveWaltzDrive
};

const GrooveRow kGrooves[] = {
    // rock: kick on one and the and-of-three
    {"X.......x.x.....", "X.......x.x...x.", "....X.......X...", "x.o.x.o.x.o.x.o.", "................", 51},
    // four on the floor with off-beat open hats
    {"X...x...X...x...", "X...x...X...x.x.", "....X.......X...", "x...x...x...x...", "..x...x...x...x.", 42},
    // breakbeat with ghost snares and sixteenth hats
    {"X.x.......x.....", "X.x.......x..x..", "....X..g.g..X..g", "xgogxgogxgogxgog", "................", 42},
    // half time: snare on three
    {"X.........x.....", "X.........x...x.", "........X.......", "x.o.x.o.x.o.x.o.", "..............x.", 51},
    // shuffle (with the triplet feel)
    {"X.....x.X.......", "X.....x.X.....x.", "....X.......X...", "x.o.x.o.x.o.x.o.", "................", 51},
    // gallop
    {"X.xx....X.xx....", "X.xx....X.xx..x.", "....X.......X...", "x.o.x.o.x.o.x.o.", "................", 51},
    // driving four on the floor with sixteenth hats
    {"X...x...X...x...", "X...x...X..xx...", "....X.......X...", "xgogxgogxgogxgog", "..............x.", 42},
    // waltz
    {"X...........", "X.......x...", "....o...o...", "x.o.x.o.x.o.", "............", 51},
    // driving three
    {"X.....x.....", "X.....x...x.", "....X.......", "x.o.x.o.x.o.", "..........x.", 42},
};

// Fills over the last half bar: S snare, s soft snare, H/M/L/F toms high to
// floor, K kick, . rest. Small fills use the last beat only.
const char* const kFills[] = {
    "S.S.SSSS",
    "SSHHMMLL",
    "S.H.M.L.",
    "sSsSSSSS",
    "K.SSK.SS",
    "HHMMLLFF",
    "S.SHHMLF",
    "SsSsHHLL",
};

// Bass: R root, O octave, F fifth, T third, L fifth below, P approach to the
// next chord, - hold, . rest.
enum BassPattern {
    kBassDrive8, kBassOctave, kBassGallop, kBassSixteen, kBassFunk, kBassRootFifth,
    kBassSyncop, kBassHalf, kBassWaltz, kBassWaltzOctave, kBassWaltzHalf
};

const char* const kBassPatterns[] = {
    "R-R-R-R-R-R-R-R-",  // driving eighths
    "R-O-R-O-R-O-R-O-",  // octave jumps
    "R-RRR-RRR-RRR-RP",  // gallop
    "RRORRRORRRORRFOP",  // pumping sixteenths
    "R..RO..R.RR.O.FP",  // funk
    "R---F---O---F---",  // root, fifth, octave
    "R--R--R-R--R--P-",  // three-three-two
    "R-------F-------",  // halves for breakdowns
    "R---F---F---",      // waltz
    "R-O-F-R-O-F-",      // moving waltz
    "R-----F-----",      // waltz breakdown
};

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

// Forms: I intro, A verse, B chorus, C bridge, D solo, F lifted final verse,
// O outro. A held tonic chord always follows.
const char* const kForms[] = {
    "IABACBFO", "IAABCBFO", "IABCDBFO", "IABACDBFO", "IABABCBFO", "IABACBDBFO",
};

// ---------------------------------------------------------------------------
// The tracks.

struct Instruments {
    int lead, lead2, bass, pad, arp, counter;  // General MIDI programs, 0-based
};

struct TrackStyle {
    int tempo;          // beats per minute
    int key;            // tonic pitch class, 0 = C
    Mode mode;
    int beats;          // per bar: 4 or 3
    Feel feel;
    Groove groove;
    BassPattern bass_verse;
    BassPattern bass_chorus;
    int arp_pattern;    // row of kArpPatterns
    int arp_rate;       // sixteenths per arpeggio note
    bool stabs;         // rhythmic chord stabs instead of held chords
    Instruments programs;
    int lead_octave;    // octave shift of the melody
    bool echo;          // dotted-eighth echo of the lead
    bool sevenths;      // sevenths in pads and arpeggios
};

const TrackStyle kStyles[] = {
    // 01 Lunar Dawn: bright, rising, first light over the craters
    {124, 2, kIonian, 4, kStraight, kGrooveRock, kBassOctave, kBassDrive8, 0, 1, false,
     {80, 81, 38, 89, 98, 50}, 0, false, false},
    // 02 Orbit Patrol: galloping minor patrol theme
    {140, 9, kAeolian, 4, kStraight, kGrooveGallop, kBassGallop, kBassSixteen, 1, 1, true,
     {81, 80, 39, 62, 80, 29}, 0, false, false},
    // 03 Crater Run: fast and dark, phrygian four on the floor
    {152, 4, kPhrygian, 4, kStraight, kGrooveFour, kBassOctave, kBassSixteen, 2, 1, false,
     {80, 84, 38, 50, 81, 62}, 0, false, false},
    // 04 Starfall: slow, wide and glittering
    {108, 5, kIonian, 4, kStraight, kGrooveHalf, kBassRootFifth, kBassSyncop, 3, 2, false,
     {80, 73, 33, 89, 10, 48}, 0, true, true},
    // 05 Ion Storm: relentless sixteenths
    {150, 0, kDorian, 4, kStraight, kGrooveDrive, kBassSixteen, kBassOctave, 0, 1, true,
     {84, 81, 39, 90, 81, 62}, 0, false, false},
    // 06 Night Shift: swung, jazzy dorian groove
    {100, 7, kDorian, 4, kSwing, kGrooveBreak, kBassFunk, kBassSyncop, 2, 2, false,
     {81, 11, 33, 4, 98, 50}, 0, true, true},
    // 07 Satellite Waltz: a music-box waltz in orbit
    {144, 10, kIonian, 3, kStraight, kGrooveWaltz, kBassWaltz, kBassWaltzOctave, 1, 1, false,
     {80, 11, 33, 49, 10, 73}, 0, false, false},
    // 08 Red Horizon: guitar-led minor rock
    {128, 2, kAeolian, 4, kStraight, kGrooveRock, kBassDrive8, kBassGallop, 0, 1, true,
     {29, 81, 34, 62, 80, 61}, -1, false, false},
    // 09 Comet Tail: bouncy mixolydian disco
    {144, 4, kMixolydian, 4, kStraight, kGrooveFour, kBassOctave, kBassSixteen, 0, 1, false,
     {81, 80, 38, 90, 98, 50}, 0, false, false},
    // 10 Deep Field: slow, spacious, echoing
    {96, 6, kAeolian, 4, kStraight, kGrooveHalf, kBassRootFifth, kBassSyncop, 3, 2, false,
     {80, 75, 38, 94, 8, 49}, 0, true, true},
    // 11 Moonbase Alarm: urgent galloping minor
    {156, 0, kAeolian, 4, kStraight, kGrooveGallop, kBassGallop, kBassSixteen, 1, 1, true,
     {80, 30, 39, 62, 81, 61}, 0, false, false},
    // 12 Gravity Well: heavy broken beat
    {112, 8, kAeolian, 4, kStraight, kGrooveBreak, kBassSyncop, kBassHalf, 4, 2, false,
     {81, 84, 87, 95, 90, 48}, 0, false, false},
    // 13 Neon Nebula: dorian synth-pop
    {122, 9, kDorian, 4, kStraight, kGrooveFour, kBassOctave, kBassFunk, 2, 1, false,
     {80, 81, 38, 90, 46, 62}, 0, true, true},
    // 14 Last Signal: melancholic shuffle
    {104, 11, kAeolian, 4, kShuffle, kGrooveShuffle, kBassRootFifth, kBassDrive8, 0, 2, false,
     {80, 73, 33, 91, 8, 49}, 0, true, false},
    // 15 Asteroid Belt: dodging rocks at speed
    {146, 7, kAeolian, 4, kStraight, kGrooveBreak, kBassSixteen, kBassGallop, 1, 1, true,
     {84, 80, 39, 50, 81, 30}, 0, false, false},
    // 16 Solar Wind: soaring lydian drive
    {136, 4, kLydian, 4, kStraight, kGrooveDrive, kBassOctave, kBassDrive8, 0, 1, false,
     {81, 80, 38, 89, 80, 50}, 0, false, false},
    // 17 Eclipse: dark swung half time
    {116, 1, kAeolian, 4, kSwing, kGrooveHalf, kBassSyncop, kBassRootFifth, 2, 1, false,
     {80, 29, 39, 95, 98, 48}, 0, false, true},
    // 18 Homecoming: triumphant major rock
    {118, 7, kIonian, 4, kStraight, kGrooveRock, kBassDrive8, kBassOctave, 0, 2, false,
     {80, 61, 38, 48, 46, 61}, 0, false, false},
};

// ---------------------------------------------------------------------------
// Sections.

enum Harmony { kVerseChords, kChorusChords, kBridgeChords };
enum Melody { kNoMelody, kVerseMelody, kChorusMelody, kBridgeMelody, kSoloMelody, kVerseTail };
enum Counter { kNoCounter, kGuideTones, kHarmonyLine };
enum BassPart { kBassEntersLate, kBassVersePart, kBassChorusPart, kBassLong };
enum DrumPart { kDrumIntro, kDrumGroove, kDrumLift, kDrumBreakdown };
enum ArpPart { kArpOff, kArpOn, kArpUnlessStabs };

struct SectionRow {
    char letter;
    int bars;         // 0: the track's intro length
    int energy;       // velocity scale, percent
    Harmony chords;
    Melody melody;
    Counter counter;
    BassPart bass;
    DrumPart drums;
    ArpPart arp;
    bool lifted;      // in the final key
    bool crash;       // cymbal on the first beat
};

const SectionRow kSections[] = {
    {'I', 0, 78, kVerseChords, kNoMelody, kNoCounter, kBassEntersLate, kDrumIntro, kArpOn, false, false},
    {'A', 8, 90, kVerseChords, kVerseMelody, kNoCounter, kBassVersePart, kDrumGroove, kArpUnlessStabs, false, true},
    {'B', 8, 100, kChorusChords, kChorusMelody, kGuideTones, kBassChorusPart, kDrumLift, kArpOn, false, true},
    {'C', 8, 76, kBridgeChords, kBridgeMelody, kNoCounter, kBassLong, kDrumBreakdown, kArpOn, false, false},
    {'D', 8, 95, kVerseChords, kSoloMelody, kGuideTones, kBassVersePart, kDrumGroove, kArpOff, false, true},
    {'F', 8, 104, kVerseChords, kVerseMelody, kHarmonyLine, kBassChorusPart, kDrumLift, kArpOn, true, true},
    {'O', 4, 94, kVerseChords, kVerseTail, kHarmonyLine, kBassVersePart, kDrumGroove, kArpOn, true, true},
};

const SectionRow* FindSection(char letter) {
    for (const SectionRow& row : kSections)
        if (row.letter == letter) return &row;
    return nullptr;
}

// ---------------------------------------------------------------------------
// Channels and their mix. Levels leave headroom: the game plays music under
// its effects.

enum Role { kLead, kBass, kPad, kArp, kCounterVoice, kLead2, kEcho, kDrums };

struct RoleMix {
    int channel;
    const char* name;
    int volume, pan, reverb, chorus;
};

const RoleMix kMix[] = {
    {0, "Lead", 92, 64, 50, 10},
    {1, "Bass", 100, 64, 12, 0},
    {2, "Pad", 74, 48, 80, 50},
    {3, "Arpeggio", 78, 86, 60, 20},
    {4, "Counter", 86, 38, 60, 20},
    {5, "Second lead", 92, 72, 55, 10},
    {6, "Echo", 58, 100, 80, 0},
    {9, "Drums", 100, 64, 30, 0},
};

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
        : style_(style), rng_{0x0B4A1u + uint64_t(seed) * 0x9E3779B97F4A7C15ull} {
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

    // Composition steps.
    void PickMaterial();
    void LayOutBars();
    std::string MakeRhythm(int density);
    std::vector<int> MakeContour(int count);
    std::vector<PhraseNote> ComposePhrase(const std::vector<BarChords>& chords, int home, int density, int lo,
                                          int hi);
    void PlayMelody(Role role, const std::vector<PhraseNote>& phrase, int from_step, int first_bar, int bar_count,
                    int section_start, int energy, std::vector<PhraseNote>* played);
    void PlayHarmony(const std::vector<PhraseNote>& played, int energy);
    void PlayGuideTones(int section_start, int bar_count, int energy);
    void PlayBassBar(int bar_index, const char* pattern, int energy);
    void PlayPadBar(int bar_index, bool stabs, int energy);
    void PlayArpBar(int bar_index, int energy);
    void PlayDrumBar(int bar_index, int energy);
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
    int lift_ = 0;
    int fill_ = 0;
    int stab_pattern_ = 0;
    std::string guide_rhythm_;
    std::vector<Bar> bars_;
    std::vector<int> pad_voicing_;
    int guide_idx_ = 0;
};

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
    // The tune centres a little above middle C's octave, where square and
    // saw leads sing without shrieking.
    const int home_pitch = 70 + 12 * style_.lead_octave + rng_.Between(0, 3);
    verse_home_ = 0;
    while (ScalePitch(verse_home_ + 1, Chord{}, 0) <= home_pitch) ++verse_home_;
    const int lo = verse_home_ - 5, hi = verse_home_ + 6;
    verse_ = ComposePhrase(verse_chords_, verse_home_, verse_density, lo, hi);
    chorus_ = ComposePhrase(chorus_chords_, verse_home_ + 2, std::max(0, verse_density - 1), lo + 1, hi + 1);
    bridge_ = ComposePhrase(bridge_chords_, verse_home_ - 1, 0, lo - 1, hi - 1);
    solo_ = ComposePhrase(verse_chords_, verse_home_ + 1, 2, lo, hi + 1);

    guide_idx_ = verse_home_ - 4;
    intro_bars_ = style_.tempo >= 132 ? (rng_.Chance(70) ? 8 : 4) : (rng_.Chance(25) ? 8 : 4);
    lift_ = rng_.Weighted({4, 3, 3});
    fill_ = rng_.Below(int(sizeof(kFills) / sizeof(kFills[0])));
    stab_pattern_ = rng_.Below(2);
    static const char* const kGuide4[] = {"x-------x-------", "x-----x-----x---", "x---------------"};
    static const char* const kGuide3[] = {"x-----------", "x-----x-----", "x-------x---"};
    guide_rhythm_ = style_.beats == 3 ? kGuide3[rng_.Below(3)] : kGuide4[rng_.Below(3)];

    // The form: whichever candidates fit a comfortable length, picked by seed.
    const double bar_seconds = 60.0 * style_.beats / style_.tempo;
    std::vector<std::string> fitting;
    std::string closest;
    double closest_gap = 1e9;
    for (const char* form : kForms) {
        int total = 1;  // the closing chord
        for (const char* c = form; *c; ++c) {
            const SectionRow* row = FindSection(*c);
            total += row->bars ? row->bars : intro_bars_;
        }
        const double seconds = total * bar_seconds;
        if (seconds >= 80.0 && seconds <= 150.0) fitting.push_back(form);
        const double gap = std::abs(seconds - 115.0);
        if (gap < closest_gap) closest_gap = gap, closest = form;
    }
    form_ = fitting.empty() ? closest : fitting[size_t(rng_.Below(int(fitting.size())))];
}

void Composer::LayOutBars() {
    for (char letter : form_) {
        const SectionRow* row = FindSection(letter);
        const std::vector<BarChords>& chords =
            row->chords == kChorusChords ? chorus_chords_ : row->chords == kBridgeChords ? bridge_chords_ : verse_chords_;
        const int count = row->bars ? row->bars : intro_bars_;
        for (int b = 0; b < count; ++b)
            bars_.push_back({chords[size_t(b) % chords.size()], row, b, row->lifted ? lift_ : 0});
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

void Composer::PlayBassBar(int bar_index, const char* pattern, int energy) {
    const int start = bar_index * steps_per_bar_;
    for (const Onset& onset : ParseSteps(pattern)) {
        const int step = start + onset.step;
        const Chord chord = ChordAt(step);
        const int lift = LiftAt(step);
        int root = ScalePitch(chord.degree, chord, lift);
        root = 36 + Mod(root, 12);
        if (root > 44) root -= 12;
        const int fifth = root + ScalePitch(chord.degree + 4, chord, 0) - ScalePitch(chord.degree, chord, 0);
        const int third = root + ScalePitch(chord.degree + 2, chord, 0) - ScalePitch(chord.degree, chord, 0);
        int key = root;
        switch (pattern[onset.step]) {
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
        int velocity = 96 * energy / 100 + Jitter(4);
        if (onset.step % 4 == 0) velocity += 6;
        AddNote(kBass, key, velocity, step, onset.len, onset.len == 1 ? 75 : 85);
    }
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
        AddNote(kArp, key, velocity, step, style_.arp_rate, 60);
    }
}

void Composer::PlayDrumBar(int bar_index, int energy) {
    const Bar& bar = bars_[size_t(bar_index)];
    const SectionRow& section = *bar.section;
    const int start = bar_index * steps_per_bar_;
    const int bars_in_section = section.bars ? section.bars : intro_bars_;
    const GrooveRow& groove = kGrooves[style_.groove];
    auto hit = [&](int key, char level, int step) {
        int velocity = 0;
        switch (level) {
            case 'X': velocity = 114; break;
            case 'x': velocity = 94; break;
            case 'o': velocity = 72; break;
            case 'g': velocity = 48; break;
            default: return;
        }
        velocity = velocity * energy / 100 + Jitter(5);
        song_.notes.push_back({9, key, std::clamp(velocity, 1, 127), StepTick(start + step), 40});
    };
    const int n = steps_per_bar_;
    const bool last_bar = bar.in_section == bars_in_section - 1;
    const bool next_is_bridge =
        bar_index + 1 < int(bars_.size()) && bars_[size_t(bar_index) + 1].section->drums == kDrumBreakdown;

    if (section.drums == kDrumBreakdown) {
        if (bar.in_section < bars_in_section - 2) {
            hit(36, 'x', 0);
            for (int s = 0; s < n; s += 4) hit(groove.chorus_hat, s == 0 ? 'o' : 'g', s);
            if (bar.in_section % 2 == 1) hit(38, 'o', n - 4);
            return;
        }
        // Two bars of snare build into the next section.
        const bool sixteenths = bar.in_section == bars_in_section - 1;
        for (int s = 0; s < n; s += sixteenths ? 1 : 2) {
            const int progress = (bar.in_section - (bars_in_section - 2)) * n + s;
            const int velocity = 44 + 70 * progress / (2 * n) + Jitter(3);
            song_.notes.push_back({9, 38, std::min(velocity, 124), StepTick(start + s), 40});
            if (s % 4 == 0) hit(36, 'x', s);
        }
        return;
    }

    bool play_kick = true, play_snare = true, play_hats = true;
    if (section.drums == kDrumIntro) {
        const bool early = bar.in_section < bars_in_section / 2;
        play_kick = !early;
        // A long intro holds the snare back until its last quarter.
        play_snare = intro_bars_ > 4 ? bar.in_section >= bars_in_section * 3 / 4 : !early;
    }
    const bool lift = section.drums == kDrumLift;
    const int hat_key = lift ? groove.chorus_hat : 42;

    // Fill: a half bar before a new section, a beat at the end of a phrase.
    const int fill_len = last_bar && !next_is_bridge ? n / 2 : bar.in_section % 4 == 3 ? (n == 12 ? 3 : 4) : 0;
    const int fill_from = n - fill_len;
    const std::string fill = kFills[(fill_ + bar_index / 8) % int(sizeof(kFills) / sizeof(kFills[0]))];

    const char* kick = bar.in_section % 2 == 1 ? groove.kick_alt : groove.kick;
    for (int s = 0; s < n; ++s) {
        if (fill_len > 0 && s >= fill_from) {
            const char c = fill[fill.size() - size_t(n - s)];
            static const std::string kFillKeys = "SsHMLFK";
            static const int kFillNotes[] = {38, 38, 50, 47, 45, 41, 36};
            const size_t k = kFillKeys.find(c);
            if (k != std::string::npos) {
                const int ramp = 80 + 34 * (s - fill_from) / std::max(1, fill_len - 1);
                const int velocity = (c == 's' ? ramp - 24 : ramp) * energy / 100 + Jitter(4);
                song_.notes.push_back({9, kFillNotes[k], std::clamp(velocity, 1, 127), StepTick(start + s), 40});
            }
            if (s % 4 == 0 && c != 'K') hit(36, 'x', s);
            continue;
        }
        if (play_kick) hit(36, kick[s], s);
        if (play_snare) {
            hit(38, groove.snare[s], s);
            if (lift && groove.snare[s] == 'X') hit(39, 'o', s);
        }
        if (play_hats) {
            if (groove.open_hat[s] != '.') hit(46, play_kick ? groove.open_hat[s] : 'o', s);
            else hit(hat_key, section.drums == kDrumIntro && !play_kick ? 'o' : groove.hat[s], s);
        }
    }
    if (bar.in_section == 0 && section.crash) {
        hit(49, 'X', 0);
        if (!play_kick || kick[0] == '.') hit(36, 'X', 0);
    }
}

void Composer::PlayEnding(int bar_index) {
    // One held tonic chord with a cymbal, rolled up by the arpeggio.
    const int start = bar_index * steps_per_bar_;
    const Chord tonic;
    const int n = steps_per_bar_;
    AddNote(kLead, ScalePitch(NearestRoot(verse_home_, tonic), tonic, lift_), 104, start, n, 96);
    if (style_.echo) AddNote(kEcho, ScalePitch(NearestRoot(verse_home_, tonic), tonic, lift_), 56, start + 3, n - 3, 96);
    AddNote(kCounterVoice, ScalePitch(NearestChordTone(verse_home_ - 3, tonic, -1), tonic, lift_), 86, start, n, 96);
    int root = 36 + Mod(ScalePitch(0, tonic, lift_), 12);
    if (root > 44) root -= 12;
    AddNote(kBass, root, 108, start, n, 96);
    const int tones = style_.sevenths ? 4 : 3;
    for (int t = 0; t < tones + 2; ++t) {
        const int key = ScalePitch(2 * (t % tones), tonic, lift_) + 12 * (t / tones) - (base_ > 60 ? 12 : 0);
        AddNote(kArp, key, 80 - 3 * t, start + t, n - t, 96);
    }
    // The pad reuses the voicing search on a bar that carries the tonic.
    PlayPadBar(bar_index, false, 100);
    song_.notes.push_back({9, 49, 118, StepTick(start), 40});
    song_.notes.push_back({9, 57, 100, StepTick(start), 40});
    song_.notes.push_back({9, 36, 118, StepTick(start), 40});
    song_.notes.push_back({9, 41, 96, StepTick(start), 40});
}

void Composer::AddTempoMap() {
    song_.tempos.push_back({0, double(style_.tempo)});
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
    bars_.push_back({ParseProgression("I").front(), FindSection('O'), 99, lift_});

    int section_first_bar = 0;
    while (section_first_bar < ending_bar) {
        const SectionRow& section = *bars_[size_t(section_first_bar)].section;
        const int count = section.bars ? section.bars : intro_bars_;
        const int section_start = section_first_bar * steps_per_bar_;

        // Melody.
        std::vector<PhraseNote> played;
        switch (section.melody) {
            case kVerseMelody: PlayMelody(kLead, verse_, 0, 0, count, section_start, section.energy, &played); break;
            case kChorusMelody: PlayMelody(kLead, chorus_, 0, 0, count, section_start, section.energy, &played); break;
            case kBridgeMelody:
                PlayMelody(kLead2, bridge_, 0, 0, count, section_start, section.energy * 92 / 100, &played);
                break;
            case kSoloMelody: PlayMelody(kLead2, solo_, 0, 0, count, section_start, section.energy, &played); break;
            case kVerseTail: PlayMelody(kLead, verse_, 0, 4, count, section_start, section.energy, &played); break;
            case kNoMelody: break;
        }
        if (section.counter == kHarmonyLine) PlayHarmony(played, section.energy);
        if (section.counter == kGuideTones) PlayGuideTones(section_start, count, section.energy);

        for (int b = 0; b < count; ++b) {
            const int bar_index = section_first_bar + b;
            // The intro swells in.
            const int energy = section.drums == kDrumIntro ? section.energy - 16 + 24 * b / std::max(1, count) : section.energy;
            const char* bass = nullptr;
            switch (section.bass) {
                case kBassEntersLate:
                    if (b >= count / 2) bass = kBassPatterns[style_.bass_verse];
                    break;
                case kBassVersePart: bass = kBassPatterns[style_.bass_verse]; break;
                case kBassChorusPart: bass = kBassPatterns[style_.bass_chorus]; break;
                case kBassLong: bass = kBassPatterns[style_.beats == 3 ? kBassWaltzHalf : kBassHalf]; break;
            }
            if (bass) PlayBassBar(bar_index, bass, energy);
            PlayPadBar(bar_index, style_.stabs && section.drums != kDrumBreakdown && section.drums != kDrumIntro,
                       energy);
            const bool arp = section.arp == kArpOn || (section.arp == kArpUnlessStabs && !style_.stabs);
            if (arp) PlayArpBar(bar_index, energy);
            PlayDrumBar(bar_index, energy);
        }
        section_first_bar += count;
    }
    PlayEnding(ending_bar);

    AddTempoMap();
    // Two beats of silence let the last chord ring out before the track ends.
    song_.end_tick = (ending_bar + 1) * style_.beats * kMidiTicksPerQuarter + 2 * kMidiTicksPerQuarter;

    for (int role = kLead; role <= kDrums; ++role) {
        const RoleMix& mix = kMix[role];
        bool used = false;
        for (const MidiNote& note : song_.notes) used = used || note.channel == mix.channel;
        if (!used) continue;
        int program = 0;  // also the standard kit on the drum channel
        switch (Role(role)) {
            case kLead: program = style_.programs.lead; break;
            case kBass: program = style_.programs.bass; break;
            case kPad: program = style_.programs.pad; break;
            case kArp: program = style_.programs.arp; break;
            case kCounterVoice: program = style_.programs.counter; break;
            case kLead2: program = style_.programs.lead2; break;
            case kEcho: program = style_.programs.lead; break;
            case kDrums: break;
        }
        song_.channels.push_back({mix.channel, mix.name, program, mix.volume, mix.pan, mix.reverb, mix.chorus});
    }
    return song_;
}

// "Music/01_Lunar_Dawn.mid" -> "Lunar Dawn"
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

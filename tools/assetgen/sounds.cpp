// Orbalune's sound effects: every row of the sound catalogue has a recipe
// here that synthesises it from the voices in sounds_synth.h.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "assetgen.h"
#include "catalogue.h"
#include "sounds_synth.h"

namespace {

using sounds::Envelope;
using sounds::Filter;
using sounds::Instrument;
using sounds::Jingle;
using sounds::Note;
using sounds::Track;
using sounds::Wave;
using sounds::sample_rate;

constexpr double pi = 3.14159265358979323846;

double Seconds(std::size_t i) {
    return static_cast<double>(i) / sample_rate;
}

// The cannon's volley. It repeats several times a second while the fire key
// is held, so it is short, falls fast and keeps its top end soft after the
// first few milliseconds.
void SynthStrela(Track& out) {
    const double length = 0.16;
    const double start_hz = 1600.0, end_hz = 230.0, sweep_time = 0.032;
    out.assign(static_cast<std::size_t>(sounds::Samples(length)), 0.0);
    double phase = 0.0, sub_phase = 0.0;
    sounds::HeldNoise spark{sounds::Rng{0x57E1A}};
    sounds::Svf spark_air, tone;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = Seconds(i);
        const double hz = sounds::Glide(start_hz, end_hz, t, sweep_time);
        const double step = sounds::Advance(phase, hz);
        const double duty = 0.5 - 0.32 * std::exp(-t / 0.025);  // thin spark, hollow tail
        double v = sounds::Pulse(phase, step, duty);
        sounds::Advance(sub_phase, hz * 0.5);
        v += 0.55 * sounds::Triangle(sub_phase);  // body an octave down
        const double body = v * std::min(t / 0.0015, 1.0) * std::exp(-t / 0.042);
        // A breath of bright noise on the muzzle flash.
        const double hiss = sounds::HighPass(spark_air, sounds::NextNoise(spark, 11025.0), 3000.0, 0.707);
        const double flash = 0.45 * hiss * std::exp(-t / 0.005);
        out[i] = sounds::LowPass(tone, body + flash, sounds::Glide(9000.0, 2400.0, t, 0.04), 0.75);
    }
}

// One explosion: noise whose sample rate (its pitch) falls, through a
// low-pass that closes, over a thump that drops in pitch.
struct Blast {
    double length;                                 // seconds
    double rate_start, rate_end, rate_time;        // noise pitch, Hz
    double cutoff_start, cutoff_end, cutoff_time;  // low-pass, Hz
    double decay;                                  // body time constant
    double crack_level, crack_decay;               // bright white noise on the hit
    double thump_start, thump_end, thump_time;     // sine drop, Hz
    double thump_level, thump_decay;
    double drive;                                  // soft saturation
    std::uint64_t seed;
};

// {length, rate {start, end, time}, cutoff {start, end, time}, decay,
//  crack {level, decay}, thump {start, end, time, level, decay}, drive, seed}
const Blast big_blast = {     // an enemy going up: long, low, rolling
    0.95, 5200.0, 420.0, 0.22, 5200.0, 160.0, 0.16, 0.24,
    0.55, 0.025, 120.0, 36.0, 0.12, 1.1, 0.16, 1.8, 0xB16B1A57ull};
const Blast small_blast = {   // a pop: short, higher, little thump
    0.34, 9000.0, 1600.0, 0.09, 8000.0, 700.0, 0.06, 0.075,
    0.5, 0.012, 210.0, 90.0, 0.05, 0.6, 0.05, 1.5, 0x5A11B1A5ull};

void SynthBlast(Track& out, const Blast& blast) {
    out.assign(static_cast<std::size_t>(sounds::Samples(blast.length)), 0.0);
    sounds::HeldNoise grit{sounds::Rng{blast.seed}};
    sounds::HeldNoise crack{sounds::Rng{blast.seed ^ 0xC4AC4ull}};
    sounds::HeldNoise churn{sounds::Rng{blast.seed ^ 0x7u}};
    sounds::Svf body_filter, churn_filter;
    double thump_phase = 0.0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = Seconds(i);
        const double rate = sounds::Glide(blast.rate_start, blast.rate_end, t, blast.rate_time);
        const double cutoff = sounds::Glide(blast.cutoff_start, blast.cutoff_end, t, blast.cutoff_time);
        const double attack = std::min(t / 0.002, 1.0);
        // Slow random swell of the body so it rolls instead of hissing.
        const double swell = 0.7 + 0.3 * sounds::LowPass(churn_filter, sounds::NextNoise(churn, 40.0), 12.0, 0.5);
        // (1 + t/d) e^(-t/d) holds the body a moment before it decays.
        const double k = t / blast.decay;
        double v = sounds::LowPass(body_filter, sounds::NextNoise(grit, rate), cutoff, 0.9) *
                   (1.0 + k) * std::exp(-k) * swell;
        v += blast.crack_level * sounds::NextNoise(crack, 22050.0) * std::exp(-t / blast.crack_decay);
        sounds::Advance(thump_phase,
                        sounds::Glide(blast.thump_start, blast.thump_end, t, blast.thump_time));
        v += blast.thump_level * sounds::Sine(thump_phase) * std::exp(-t / blast.thump_decay);
        out[i] = std::tanh(blast.drive * v * attack) / std::tanh(blast.drive);
    }
}

void SynthBlastBig(Track& out) { SynthBlast(out, big_blast); }
void SynthBlastSmall(Track& out) { SynthBlast(out, small_blast); }

// Life lost: a diminished stair falling three octaves, each step drooping
// as it goes, ending on a low wavering note that dies away.
void SynthMeDown(Track& out) {
    const double length = 1.1;
    const double top = 81.0;         // A5
    const double fall = 3.0;         // semitones per step
    const double step_time = 0.07;   // seconds per step
    const int steps = 10;            // the eleventh note is the held one
    out.assign(static_cast<std::size_t>(sounds::Samples(length)), 0.0);
    double phase = 0.0, twin_phase = 0.0, sub_phase = 0.0;
    sounds::Svf tone;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = Seconds(i);
        const int step = std::min(static_cast<int>(t / step_time), steps);
        const double into = t - step * step_time;
        double pitch = top - fall * step;
        // Each step is struck and then sags, so the stair is heard as steps.
        const double strike = std::min(into / 0.004, 1.0);
        double articulate = 0.0;
        if (step < steps) {
            pitch -= 0.7 * into / step_time;
            articulate = strike * (0.45 + 0.55 * std::exp(-into / 0.025));
        } else {
            pitch -= 1.0 - std::exp(-into / 0.25);  // the last note sags as it dies
            pitch += 0.45 * std::min(into / 0.06, 1.0) * std::sin(2.0 * pi * 6.5 * into);
            articulate = strike * (0.5 + 0.5 * std::exp(-into / 0.05)) * std::exp(-into / 0.18);
        }
        const double hz = sounds::MidiHz(pitch);
        const double step_size = sounds::Advance(phase, hz);
        const double twin_step = sounds::Advance(twin_phase, hz * 1.005);  // slight chorus
        double v = sounds::Pulse(phase, step_size, 0.5);
        v += 0.45 * sounds::Pulse(twin_phase, twin_step, 0.25);
        sounds::Advance(sub_phase, hz * 0.5);
        v += 0.5 * sounds::Triangle(sub_phase);
        const double attack = std::min(t / 0.003, 1.0);
        out[i] = sounds::LowPass(tone, v * articulate * attack,
                                 sounds::Glide(4800.0, 1400.0, t, 0.45), 0.8);
    }
}

// The jingles' band: General MIDI's brass, strings, harp, electric piano,
// glockenspiel and timpani, as the tracks use them.
// {wave, shape, {attack, decay, sustain, release}, level, detune in cents,
//  vibrato {hz, depth, delay}, bend {semitones, time},
//  tone {filter, start, end, time, follow, q}}
const Instrument trumpet = {     // bright solo brass, scooping up into each note
    Wave::saw, 0.0, {0.012, 0.15, 0.75, 0.08}, 0.42, 3.0,
    {5.5, 0.12, 0.2}, {-0.8, 0.025}, {Filter::low, 6500.0, 4200.0, 0.25, 2.2, 0.8}};
const Instrument brass = {       // the section under it, wider and darker
    Wave::saw, 0.0, {0.01, 0.12, 0.65, 0.1}, 0.3, 9.0,
    {5.0, 0.06, 0.25}, {-0.5, 0.03}, {Filter::low, 4200.0, 2400.0, 0.25, 1.8, 0.75}};
const Instrument horn = {        // mellow brass for the sad ending
    Wave::saw, 0.0, {0.035, 0.3, 0.8, 0.12}, 0.55, 4.0,
    {4.8, 0.1, 0.35}, {-0.4, 0.05}, {Filter::low, 1700.0, 1100.0, 0.4, 1.2, 0.7}};
const Instrument strings = {     // a soft section that swells in
    Wave::saw, 0.0, {0.09, 0.4, 0.85, 0.3}, 0.2, 12.0,
    {5.2, 0.08, 0.25}, {0.0, 0.001}, {Filter::low, 2600.0, 2000.0, 0.5, 0.6, 0.7}};
const Instrument harp = {        // bright plucked strings for the run
    Wave::pluck, 0.8, {0.001, 0.3, 0.0, 0.1}, 0.5, 0.0,
    {0.0, 0.0, 0.0}, {0.0, 0.001}, {Filter::none, 1.0, 1.0, 1.0, 0.0, 0.7}};
const Instrument tine = {        // warm electric piano
    Wave::tine, 1.1, {0.002, 0.7, 0.3, 0.35}, 0.5, 0.0,
    {0.0, 0.0, 0.0}, {0.0, 0.001}, {Filter::low, 5000.0, 2500.0, 0.3, 0.0, 0.7}};
const Instrument glockenspiel = {
    Wave::bell, 0.0, {0.0015, 1.0, 1.0, 0.3}, 0.35, 0.0,
    {0.0, 0.0, 0.0}, {0.0, 0.001}, {Filter::none, 1.0, 1.0, 1.0, 0.0, 0.7}};
const Instrument bass = {        // round plucked bass
    Wave::triangle, 0.0, {0.004, 0.25, 0.6, 0.1}, 0.16, 0.0,
    {0.0, 0.0, 0.0}, {0.0, 0.001}, {Filter::none, 1.0, 1.0, 1.0, 0.0, 0.7}};
const Instrument timpani = {     // the skin sags in pitch after the stroke
    Wave::sine, 0.0, {0.002, 0.4, 0.0, 0.25}, 0.35, 0.0,
    {0.0, 0.0, 0.0}, {0.6, 0.06}, {Filter::none, 1.0, 1.0, 1.0, 0.0, 0.7}};
const Instrument kick = {        // the punch under a stab
    Wave::sine, 0.0, {0.001, 0.05, 0.0, 0.03}, 0.9, 0.0,
    {0.0, 0.0, 0.0}, {14.0, 0.015}, {Filter::none, 1.0, 1.0, 1.0, 0.0, 0.7}};
const Instrument snare = {       // crack of the stick
    Wave::noise, 0.0, {0.001, 0.05, 0.0, 0.04}, 0.6, 0.0,
    {0.0, 0.0, 0.0}, {0.0, 0.001}, {Filter::band, 4500.0, 2500.0, 0.05, 0.0, 0.9}};
const Instrument cymbal = {
    Wave::noise, 0.0, {0.001, 0.5, 0.0, 0.4}, 0.22, 0.0,
    {0.0, 0.0, 0.0}, {0.0, 0.001}, {Filter::high, 7000.0, 5000.0, 0.5, 0.0, 0.7}};
const Instrument whoosh = {      // air rushing past, rising with the run
    Wave::noise, 0.0, {0.08, 0.2, 0.8, 0.15}, 1.4, 0.0,
    {0.0, 0.0, 0.0}, {0.0, 0.001}, {Filter::band, 350.0, 9000.0, 0.2, 0.0, 1.4}};

// Power, the twin cannon: a G major arpeggio shot up on the trumpet with
// the glockenspiel two octaves over it, punched in by kick and snare, and
// landing on the section's full chord.
const Jingle power_jingle = {
    0.055,
    {trumpet, glockenspiel, brass, bass, kick, snare},
    {
        {0, 0.9, 67, 0, 0.85}, {1, 0.9, 71, 0, 0.9}, {2, 0.9, 74, 0, 0.95}, {3, 6, 79, 0, 1.0},
        {0, 1, 91, 1, 0.6}, {1, 1, 95, 1, 0.65}, {2, 1, 98, 1, 0.7}, {3, 6, 103, 1, 0.8},
        {0, 0.8, 55, 2, 1.0}, {0, 0.8, 62, 2, 1.0}, {0, 0.8, 67, 2, 0.9},
        {3, 6, 67, 2, 1.0}, {3, 6, 71, 2, 0.9}, {3, 6, 74, 2, 0.9},
        {0, 0.8, 43, 3, 1.0}, {3, 6, 43, 3, 1.0},
        {0, 1, 40, 4, 1.0}, {3, 1, 40, 4, 0.45},
        {0, 1, 127, 5, 1.0}, {3, 1, 127, 5, 0.5},
    },
    0x90E3ull};

// Speed: a harp glissando flying up three octaves of D major pentatonic
// through a rush of air, to a ringing top note.
const Jingle speed_jingle = {
    0.02,
    {harp, whoosh, glockenspiel},
    {
        {0, 1, 62, 0, 0.6}, {1, 1, 64, 0, 0.62}, {2, 1, 66, 0, 0.64}, {3, 1, 69, 0, 0.66},
        {4, 1, 71, 0, 0.68}, {5, 1, 74, 0, 0.7}, {6, 1, 76, 0, 0.72}, {7, 1, 78, 0, 0.75},
        {8, 1, 81, 0, 0.78}, {9, 1, 83, 0, 0.8}, {10, 1, 86, 0, 0.83}, {11, 1, 88, 0, 0.86},
        {12, 1, 90, 0, 0.9}, {13, 1, 93, 0, 0.93}, {14, 1, 95, 0, 0.96}, {15, 10, 98, 0, 1.0},
        {0, 15, 135, 1, 1.0},
        {15, 10, 98, 2, 0.6},
    },
    0x5BEEDull};

// Health: a warm rising sixth, C to A, on electric piano with a hint of
// glockenspiel, over a soft F major chord.
const Jingle health_jingle = {
    0.16,
    {tine, glockenspiel, strings, bass},
    {
        {0, 1, 72, 0, 0.8}, {1, 4, 81, 0, 1.0},
        {0, 1, 84, 1, 0.25}, {1, 4, 93, 1, 0.3},
        {0, 5, 53, 2, 0.8}, {0, 5, 57, 2, 0.7}, {0, 5, 60, 2, 0.7},
        {0, 5, 41, 3, 0.7},
    },
    0x4EA17ull};

// Game over in D minor: the horn falls A-G-F-E-D, each note longer than the
// one before, over strings and bass going Dm - B flat - A - Dm, and the low
// D dies away under a soft drum.
const Jingle gameover_jingle = {
    0.1,
    {horn, strings, bass, timpani},
    {
        {0, 1.7, 69, 0, 1.0}, {1.8, 2.2, 67, 0, 0.95}, {4.2, 3.0, 65, 0, 0.95},
        {7.4, 4.1, 64, 0, 0.95}, {11.7, 13, 62, 0, 1.0},
        {0, 4.1, 50, 1, 0.9}, {0, 4.1, 53, 1, 0.8}, {0, 4.1, 57, 1, 0.8},
        {4.2, 3.1, 46, 1, 0.9}, {4.2, 3.1, 50, 1, 0.8}, {4.2, 3.1, 53, 1, 0.8},
        {7.4, 4.2, 45, 1, 0.9}, {7.4, 4.2, 49, 1, 0.8}, {7.4, 4.2, 52, 1, 0.8},
        {11.7, 13, 50, 1, 0.9}, {11.7, 13, 53, 1, 0.8}, {11.7, 13, 57, 1, 0.8},
        {0, 4.1, 38, 2, 1.0}, {4.2, 3.1, 34, 2, 1.0}, {7.4, 4.2, 33, 2, 1.0}, {11.7, 13, 38, 2, 1.0},
        {0, 1, 38, 3, 0.6}, {11.7, 1, 38, 3, 0.9},
    },
    0x6A3E0ull};

// Victory in C major: the trumpet's "ta-ta-ta-taa", up through the C chord,
// then A flat and B flat carry it home to a held top C over the full band,
// with a timpani roll and a crash.
const Jingle victory_jingle = {
    0.11,
    {trumpet, brass, bass, timpani, snare, cymbal, glockenspiel},
    {
        // trumpet
        {0, 0.8, 67, 0, 1.0}, {1, 0.8, 67, 0, 1.0}, {2, 0.8, 67, 0, 1.0}, {3, 2, 72, 0, 1.0},
        {5, 0.9, 67, 0, 0.85}, {6, 0.9, 72, 0, 0.9}, {7, 3, 76, 0, 1.0},
        {10, 1.9, 75, 0, 0.95}, {12, 1.9, 77, 0, 0.95}, {14, 0.9, 79, 0, 1.0}, {15, 9, 84, 0, 1.0},
        // section
        {0, 0.8, 55, 1, 0.9}, {0, 0.8, 62, 1, 0.8}, {1, 0.8, 55, 1, 0.9}, {1, 0.8, 62, 1, 0.8},
        {2, 0.8, 55, 1, 0.95}, {2, 0.8, 62, 1, 0.85},
        {3, 2, 64, 1, 0.9}, {3, 2, 67, 1, 0.8}, {7, 3, 67, 1, 0.9}, {7, 3, 72, 1, 0.8},
        {10, 1.9, 63, 1, 0.9}, {10, 1.9, 68, 1, 0.8}, {10, 1.9, 72, 1, 0.8},
        {12, 1.9, 65, 1, 0.9}, {12, 1.9, 70, 1, 0.8}, {12, 1.9, 74, 1, 0.8},
        {14, 10, 64, 1, 0.9}, {14, 10, 67, 1, 0.8}, {14, 10, 72, 1, 0.9}, {14, 10, 76, 1, 0.8},
        // bass
        {0, 0.8, 43, 2, 0.8}, {1, 0.8, 43, 2, 0.8}, {2, 0.8, 43, 2, 0.8}, {3, 2, 36, 2, 1.0},
        {5, 2, 43, 2, 0.9}, {7, 3, 36, 2, 1.0}, {10, 1.9, 44, 2, 1.0}, {12, 1.9, 46, 2, 1.0},
        {14, 10, 36, 2, 1.0},
        // drums: taps on the pickup, timpani on the downbeats, a roll into the last chord
        {0, 1, 127, 4, 0.7}, {1, 1, 127, 4, 0.7}, {2, 1, 127, 4, 0.8},
        {3, 1, 36, 3, 1.0}, {7, 1, 43, 3, 0.8},
        {12, 0.3, 43, 3, 0.35}, {12.33, 0.3, 43, 3, 0.4}, {12.67, 0.3, 43, 3, 0.45},
        {13, 0.3, 43, 3, 0.5}, {13.33, 0.3, 43, 3, 0.6}, {13.67, 0.3, 43, 3, 0.7},
        {14, 1, 36, 3, 1.0}, {14, 2, 120, 5, 1.0},
        {15, 9, 96, 6, 0.5},
    },
    0x71C70ull};

// How a jingle is finished off: the hall around it, how hard its peaks are
// rounded off, and its length.
struct JingleShape {
    const Jingle* jingle;
    double room_size, room_damp, room_mix;
    double drive;   // 0: left as played
    double length;  // seconds, the tail is cut with a fade
};

void SynthJingle(Track& out, const JingleShape& shape) {
    out.clear();
    sounds::RenderJingle(out, *shape.jingle);
    sounds::AddRoom(out, shape.room_size, shape.room_damp, shape.room_mix, shape.length);
    if (shape.drive > 0.0) sounds::Saturate(out, shape.drive);
    out.resize(static_cast<std::size_t>(sounds::Samples(shape.length)), 0.0);
}

// {jingle, room {size, damp, mix}, drive, length}
const JingleShape power_shape = {&power_jingle, 0.3, 0.4, 0.35, 1.0, 0.7};
const JingleShape speed_shape = {&speed_jingle, 0.4, 0.3, 0.45, 1.2, 0.65};
const JingleShape health_shape = {&health_jingle, 0.4, 0.4, 0.4, 0.0, 0.9};
const JingleShape gameover_shape = {&gameover_jingle, 0.4, 0.45, 0.35, 1.2, 3.1};
const JingleShape victory_shape = {&victory_jingle, 0.45, 0.35, 0.4, 1.5, 3.3};

void SynthSpeed(Track& out) { SynthJingle(out, speed_shape); }
void SynthPower(Track& out) { SynthJingle(out, power_shape); }
void SynthHealth(Track& out) { SynthJingle(out, health_shape); }
void SynthGameOver(Track& out) { SynthJingle(out, gameover_shape); }
void SynthVictory(Track& out) { SynthJingle(out, victory_shape); }

struct Recipe {
    const char* path;
    void (*synth)(Track&);
    double peak;      // of full scale
    double fade_in;   // seconds
    double fade_out;  // seconds
};

// The levels mix the effects a few dB above the music and leave room for
// two or three of them at once over the loudest bar of a track: the mixer
// adds its channels without headroom. Each peak puts its effect near -21.5
// LUFS at its loudest 400 ms as the game plays it; the volley, which the
// game plays at 80 of 128 and repeats while fire is held, a dB below that.
const Recipe recipes[] = {
    {"Sound/Strela.wav",       SynthStrela,     0.74,  0.0005, 0.01},
    {"Sound/Vybuch_big.wav",   SynthBlastBig,   0.15,  0.001,  0.12},
    {"Sound/Vybuch_small.wav", SynthBlastSmall, 0.20,  0.001,  0.05},
    {"Sound/MeDown.wav",       SynthMeDown,     0.19,  0.001,  0.06},
    {"Sound/Speed.wav",        SynthSpeed,      0.138, 0.001,  0.06},
    {"Sound/Power.wav",        SynthPower,      0.200, 0.001,  0.06},
    {"Sound/Health.wav",       SynthHealth,     0.204, 0.001,  0.12},
    {"Sound/GameOver.wav",     SynthGameOver,   0.157, 0.001,  0.3},
    {"Sound/Victory.wav",      SynthVictory,    0.155, 0.001,  0.3},
};

struct CatalogueSound {
    const char* global;
    const char* path;
};

#define ORBALUNE_SOUND_ROW(global, file) {#global, file},
const CatalogueSound catalogue_sounds[] = {ORBALUNE_SOUNDS(ORBALUNE_SOUND_ROW)};
#undef ORBALUNE_SOUND_ROW

const Recipe* FindRecipe(const char* path) {
    for (const Recipe& recipe : recipes)
        if (std::strcmp(recipe.path, path) == 0) return &recipe;
    return nullptr;
}

}  // namespace

bool MakeSounds(const std::string& data_dir) {
    bool ok = true;
    for (const CatalogueSound& sound : catalogue_sounds) {
        const Recipe* recipe = FindRecipe(sound.path);
        if (!recipe) {
            std::fprintf(stderr, "assetgen: no synth for %s (%s)\n", sound.path, sound.global);
            ok = false;
            continue;
        }
        Track track;
        recipe->synth(track);
        sounds::Finish(track, recipe->peak, recipe->fade_in, recipe->fade_out);
        ok = sounds::WriteWav(data_dir + "/" + sound.path, track) && ok;
    }
    return ok;
}

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

// Jingle voices, reused by several bonuses and the two endings.
// {wave, duty, {attack, decay, sustain, release}, level,
//  vibrato {hz, depth, delay}, bend {semitones, time}, cutoff {start, end, time}}
const Instrument zip_pulse = {   // thin, quick and bright
    Wave::pulse, 0.125, {0.002, 0.06, 0.55, 0.05}, 0.55,
    7.0, 0.18, 0.08, -2.5, 0.012, 9000.0, 4200.0, 0.05};
const Instrument zip_body = {    // hollow double an octave down
    Wave::pulse, 0.5, {0.002, 0.05, 0.5, 0.05}, 0.3,
    7.0, 0.18, 0.08, -2.5, 0.012, 5000.0, 2500.0, 0.05};
const Instrument brass = {       // blatty saw whose filter closes after the hit
    Wave::saw, 0.0, {0.006, 0.12, 0.7, 0.09}, 0.4,
    5.5, 0.12, 0.14, -0.6, 0.03, 7000.0, 1900.0, 0.1};
const Instrument brass_top = {   // square edge riding on the brass
    Wave::pulse, 0.33, {0.004, 0.1, 0.6, 0.09}, 0.22,
    5.5, 0.12, 0.14, -0.6, 0.03, 6000.0, 2600.0, 0.1};
const Instrument chime = {       // sweet bell
    Wave::bell, 0.0, {0.0015, 1.0, 1.0, 0.32}, 0.6,
    0.0, 0.0, 0.0, 0.0, 0.001, 0.0, 0.0, 1.0};
const Instrument soft_triangle = {  // warm bed under the bells
    Wave::triangle, 0.0, {0.01, 0.2, 0.4, 0.25}, 0.35,
    0.0, 0.0, 0.0, 0.0, 0.001, 0.0, 0.0, 1.0};
const Instrument lead = {        // singing square with late vibrato
    Wave::pulse, 0.5, {0.004, 0.15, 0.75, 0.07}, 0.42,
    5.5, 0.22, 0.16, -0.4, 0.02, 5200.0, 2600.0, 0.12};
const Instrument harmony = {     // narrower, quieter pad
    Wave::pulse, 0.25, {0.006, 0.2, 0.55, 0.08}, 0.2,
    5.5, 0.08, 0.2, 0.0, 0.001, 3600.0, 2000.0, 0.15};
const Instrument bass = {        // triangle bass, a little plucked
    Wave::triangle, 0.0, {0.003, 0.12, 0.7, 0.05}, 0.6,
    0.0, 0.0, 0.0, 0.0, 0.001, 0.0, 0.0, 1.0};
const Instrument snare = {       // noise tap
    Wave::noise, 0.0, {0.001, 0.035, 0.0, 0.03}, 0.32,
    0.0, 0.0, 0.0, 0.0, 0.001, 9000.0, 3000.0, 0.04};
const Instrument crash = {       // long bright noise for the last chord
    Wave::noise, 0.0, {0.001, 0.35, 0.0, 0.3}, 0.22,
    0.0, 0.0, 0.0, 0.0, 0.001, 10000.0, 3500.0, 0.4};

// Speed: a fast two-octave climb up A major, each note zipping up into place.
const Jingle speed_jingle = {
    0.046,
    {zip_pulse, zip_body},
    {
        {0, 1, 69, 0, 0.8}, {1, 1, 73, 0, 0.85}, {2, 1, 76, 0, 0.9},
        {3, 1, 81, 0, 0.95}, {4, 1, 85, 0, 1.0}, {5, 1, 88, 0, 1.0},
        {6, 4, 93, 0, 1.0},
        {0, 1, 57, 1, 0.8}, {1, 1, 61, 1, 0.85}, {2, 1, 64, 1, 0.9},
        {3, 1, 69, 1, 0.95}, {4, 1, 73, 1, 1.0}, {5, 1, 76, 1, 1.0},
        {6, 4, 81, 1, 1.0},
    },
    0x5BEEDull};

// Power: two brass stabs, D then up a fourth to G, each hit with a snare.
const Jingle power_jingle = {
    0.1,
    {brass, brass_top, bass, snare},
    {
        {0, 1.1, 50, 0, 0.9}, {0, 1.1, 57, 0, 0.8}, {0, 1.1, 62, 0, 0.8},
        {0, 1.1, 74, 1, 0.7}, {0, 1.1, 38, 2, 1.0}, {0, 1, 104, 3, 1.0},
        {1.5, 4, 55, 0, 1.0}, {1.5, 4, 62, 0, 0.9}, {1.5, 4, 67, 0, 0.9},
        {1.5, 4, 79, 1, 0.8}, {1.5, 4, 43, 2, 1.0}, {1.5, 1, 106, 3, 1.2},
    },
    0x90E3ull};

// Health: C major rising on a bell, landing on a ringing third.
const Jingle health_jingle = {
    0.068,
    {chime, soft_triangle},
    {
        {0, 1, 72, 0, 0.75}, {1, 1, 76, 0, 0.8}, {2, 1, 79, 0, 0.85},
        {3, 1, 84, 0, 0.95}, {4, 3, 88, 0, 0.85}, {4, 3, 84, 0, 0.6},
        {0, 4, 60, 1, 0.7}, {0, 4, 64, 1, 0.55}, {4, 3, 67, 1, 0.6},
    },
    0x4EA17ull};

// Game over in A minor: three falling phrases over i - V - VI - V, then the
// tonic held with a slow waver.
const Jingle gameover_jingle = {
    0.145,
    {lead, harmony, bass, snare},
    {
        // lead
        {0, 1, 76, 0, 1.0}, {1, 1, 72, 0, 0.9}, {2, 2, 69, 0, 0.95},
        {4, 1, 74, 0, 1.0}, {5, 1, 71, 0, 0.9}, {6, 2, 68, 0, 0.95},
        {8, 1, 72, 0, 1.0}, {9, 1, 69, 0, 0.9}, {10, 2, 65, 0, 0.95},
        {12, 1, 71, 0, 0.95}, {13, 1, 68, 0, 0.9}, {14, 8, 69, 0, 1.0},
        // harmony chords
        {0, 3.8, 60, 1, 1.0}, {0, 3.8, 64, 1, 0.9},
        {4, 3.8, 59, 1, 1.0}, {4, 3.8, 64, 1, 0.9},
        {8, 3.8, 60, 1, 1.0}, {8, 3.8, 65, 1, 0.9},
        {12, 1.8, 59, 1, 1.0}, {12, 1.8, 62, 1, 0.9},
        {14, 8, 60, 1, 1.0}, {14, 8, 64, 1, 0.9},
        // bass, root and octave
        {0, 0.9, 45, 2, 1.0}, {1, 0.9, 57, 2, 0.8}, {2, 0.9, 45, 2, 1.0}, {3, 0.9, 57, 2, 0.8},
        {4, 0.9, 40, 2, 1.0}, {5, 0.9, 52, 2, 0.8}, {6, 0.9, 40, 2, 1.0}, {7, 0.9, 52, 2, 0.8},
        {8, 0.9, 41, 2, 1.0}, {9, 0.9, 53, 2, 0.8}, {10, 0.9, 41, 2, 1.0}, {11, 0.9, 53, 2, 0.8},
        {12, 0.9, 40, 2, 1.0}, {13, 0.9, 52, 2, 0.8}, {14, 8, 33, 2, 1.0}, {14, 8, 45, 2, 0.6},
        // a soft tap at each phrase
        {0, 1, 100, 3, 0.6}, {4, 1, 100, 3, 0.6}, {8, 1, 100, 3, 0.6},
        {12, 1, 100, 3, 0.6}, {14, 1, 98, 3, 0.9},
    },
    0x6A3E0ull};

// Victory in C major: a "ta-ta-ta-taaa" pickup, a climb through F and G
// and a held top C over the full chord with a crash.
const Jingle victory_jingle = {
    0.105,
    {lead, harmony, bass, snare, crash, brass},
    {
        // lead
        {0, 0.8, 67, 0, 0.85}, {1, 0.8, 67, 0, 0.85}, {2, 0.8, 67, 0, 0.9}, {3, 3, 72, 0, 1.0},
        {6, 1, 67, 0, 0.85}, {7, 1, 72, 0, 0.9}, {8, 4, 76, 0, 1.0},
        {12, 2, 77, 0, 0.95}, {14, 1, 76, 0, 0.85}, {15, 1, 77, 0, 0.9}, {16, 4, 81, 0, 1.0},
        {20, 2, 79, 0, 0.95}, {22, 1, 77, 0, 0.85}, {23, 1, 74, 0, 0.85},
        {24, 2, 79, 0, 0.95}, {26, 1, 81, 0, 0.9}, {27, 1, 83, 0, 0.95}, {28, 10, 84, 0, 1.0},
        // harmony stabs
        {3, 3, 64, 1, 1.0}, {3, 3, 67, 1, 0.9}, {8, 4, 64, 1, 1.0}, {8, 4, 67, 1, 0.9},
        {12, 4, 65, 1, 1.0}, {12, 4, 69, 1, 0.9}, {16, 4, 65, 1, 1.0}, {16, 4, 72, 1, 0.9},
        {20, 4, 67, 1, 1.0}, {20, 4, 71, 1, 0.9}, {24, 4, 67, 1, 1.0}, {24, 4, 74, 1, 0.9},
        {28, 10, 67, 1, 1.0}, {28, 10, 72, 1, 0.9}, {28, 10, 76, 1, 0.9},
        // brass under the last chord
        {28, 10, 60, 5, 0.7}, {28, 10, 67, 5, 0.6},
        // bass
        {0, 0.8, 43, 2, 0.9}, {1, 0.8, 43, 2, 0.9}, {2, 0.8, 43, 2, 0.9},
        {3, 2.8, 48, 2, 1.0}, {6, 1.8, 43, 2, 0.9}, {8, 1.8, 48, 2, 1.0}, {10, 1.8, 52, 2, 0.9},
        {12, 1.8, 41, 2, 1.0}, {14, 1.8, 48, 2, 0.9}, {16, 1.8, 41, 2, 1.0}, {18, 1.8, 45, 2, 0.9},
        {20, 1.8, 43, 2, 1.0}, {22, 1.8, 50, 2, 0.9}, {24, 1.8, 43, 2, 1.0}, {26, 1.8, 47, 2, 0.9},
        {28, 10, 36, 2, 1.0}, {28, 10, 48, 2, 0.6},
        // drums
        {0, 1, 102, 3, 0.5}, {1, 1, 102, 3, 0.5}, {2, 1, 102, 3, 0.6}, {3, 1, 100, 3, 1.0},
        {8, 1, 100, 3, 0.8}, {12, 1, 100, 3, 0.9}, {16, 1, 100, 3, 0.8},
        {20, 1, 100, 3, 0.9}, {24, 1, 100, 3, 0.8}, {26, 1, 102, 3, 0.5}, {27, 1, 102, 3, 0.6},
        {28, 2, 110, 4, 1.0},
    },
    0x71C70ull};

// How a jingle is finished off: echo and total length.
struct JingleShape {
    const Jingle* jingle;
    double echo_delay, echo_feedback, echo_mix;  // seconds, gain, gain
    int echo_repeats;
    double length;  // seconds, the tail is cut with a fade
};

void SynthJingle(Track& out, const JingleShape& shape) {
    out.clear();
    sounds::RenderJingle(out, *shape.jingle);
    if (shape.echo_mix > 0.0)
        sounds::AddEcho(out, shape.echo_delay, shape.echo_feedback, shape.echo_mix, shape.echo_repeats);
    out.resize(static_cast<std::size_t>(sounds::Samples(shape.length)), 0.0);
}

// {jingle, echo {delay, feedback, mix, repeats}, length}
const JingleShape speed_shape = {&speed_jingle, 0.092, 0.3, 0.3, 3, 0.62};
const JingleShape power_shape = {&power_jingle, 0.0, 0.0, 0.0, 0, 0.68};
const JingleShape health_shape = {&health_jingle, 0.136, 0.25, 0.25, 2, 0.8};
const JingleShape gameover_shape = {&gameover_jingle, 0.29, 0.25, 0.22, 3, 3.6};
const JingleShape victory_shape = {&victory_jingle, 0.21, 0.22, 0.2, 3, 4.6};

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
    {"Sound/Speed.wav",        SynthSpeed,      0.245, 0.001,  0.06},
    {"Sound/Power.wav",        SynthPower,      0.215, 0.001,  0.06},
    {"Sound/Health.wav",       SynthHealth,     0.185, 0.001,  0.12},
    {"Sound/GameOver.wav",     SynthGameOver,   0.24,  0.001,  0.3},
    {"Sound/Victory.wav",      SynthVictory,    0.24,  0.001,  0.3},
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

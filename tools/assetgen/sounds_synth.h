// The sound-effect synthesiser's toolkit: the retro voices (band-limited
// pulse and saw, triangle, sample-and-hold noise, a small bell), envelopes,
// filters, a note renderer for the jingles, and the finishing pass and WAV
// writer every effect goes through. Everything is plain arithmetic on
// doubles with fixed seeds, so a build always writes the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sounds {

constexpr int sample_rate = 22050;

using Track = std::vector<double>;  // mono samples, full scale is 1.0

int Samples(double seconds);
double MidiHz(double note);
// Exponential approach from `from` towards `to` with time constant `time`.
double Glide(double from, double to, double t, double time);

struct Rng {
    std::uint64_t state;
};
double Bipolar(Rng& rng);  // uniform in [-1, 1)

// Moves the phase on by one sample at `hz` and returns the phase step, which
// the band-limited voices need to round off their edges.
double Advance(double& phase, double hz);
double Pulse(double phase, double step, double duty);
double Saw(double phase, double step);
double Triangle(double phase);
double Sine(double phase);

// Noise whose "pitch" is the rate at which it picks a new random level.
struct HeldNoise {
    Rng rng;
    double phase = 0.0;
    double value = 0.0;
};
double NextNoise(HeldNoise& noise, double rate_hz);

// Two-pole state-variable filter, stable while its cutoff moves.
struct Svf {
    double ic1 = 0.0;
    double ic2 = 0.0;
};
double LowPass(Svf& filter, double x, double cutoff_hz, double q);
double HighPass(Svf& filter, double x, double cutoff_hz, double q);

struct Envelope {
    double attack;   // seconds to full level
    double decay;    // time constant towards sustain
    double sustain;  // level held while the note is down
    double release;  // seconds from note-off to silence
};
double EnvelopeLevel(const Envelope& envelope, double t, double gate);

enum class Wave { pulse, saw, triangle, bell, noise };

struct Instrument {
    Wave wave;
    double duty;            // pulse width (pulse only)
    Envelope envelope;
    double level;
    double vibrato_hz, vibrato_depth, vibrato_delay;  // depth in semitones
    double bend, bend_time;  // semitones off at the attack, settling time
    double cutoff_start, cutoff_end, cutoff_time;  // low-pass sweep, 0 = open
};

// Noise notes take their pitch as the noise rate.
struct Note {
    double beat;      // start
    double beats;     // held for
    double pitch;     // MIDI note number
    int voice;        // index into the jingle's instruments
    double velocity;
};

struct Jingle {
    double beat_seconds;
    std::vector<Instrument> voices;
    std::vector<Note> notes;
    std::uint64_t seed;  // for the noise voices
};
void RenderJingle(Track& out, const Jingle& jingle);

// A feedback echo; lengthens the track so the repeats die away inside it.
void AddEcho(Track& track, double delay, double feedback, double mix, int repeats);

// Removes DC, ramps the first and last samples to exact zero and scales the
// loudest sample to `peak`.
void Finish(Track& track, double peak, double fade_in, double fade_out);

bool WriteWav(const std::string& path, const Track& track);

}  // namespace sounds

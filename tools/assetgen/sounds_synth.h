// The sound-effect synthesiser's toolkit: band-limited pulse and saw,
// triangle, sample-and-hold noise, envelopes, filters, a note renderer with
// the jingles' instruments, a small hall, and the finishing pass and WAV
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
double BandPass(Svf& filter, double x, double centre_hz, double q);  // unity at the centre
double HighPass(Svf& filter, double x, double cutoff_hz, double q);

struct Envelope {
    double attack;   // seconds to full level
    double decay;    // time constant towards sustain
    double sustain;  // level held while the note is down
    double release;  // seconds from note-off to silence
};
double EnvelopeLevel(const Envelope& envelope, double t, double gate);

// The jingles' voices, chosen to sit beside the General MIDI band of the
// tracks: brass and strings are detuned saws, the harp and the tine are
// built from their partials, the bell is the glockenspiel's.
enum class Wave {
    saw,
    triangle,
    sine,
    bell,      // struck metal, inharmonic partials
    pluck,     // harp: harmonics whose top dies first; `shape` 0 soft to 1 bright
    tine,      // electric piano: a sine bent by its own phase; `shape` is how hard it is struck
    noise,     // pitch is the noise rate
};

enum class Filter { none, low, band, high };

struct Tone {
    Filter filter;
    double start_hz, end_hz, time;  // sweep, even in pitch
    double follow;  // octaves the cutoff drops as the envelope falls: brass brightens when loud
    double q;
};

struct Instrument {
    Wave wave;
    double shape;
    Envelope envelope;
    double level;
    double detune;  // cents of a second oscillator beside the first, 0 for one
    struct {
        double hz, depth, delay;  // depth in semitones
    } vibrato;
    struct {
        double semitones, time;  // off at the attack, settling time
    } bend;
    Tone tone;
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

// A small hall around a dry track, lengthened by `tail` seconds so the
// reflections die away inside it. `size` 0..1 sets the ring time, `damp`
// 0..1 how fast its top dulls.
void AddRoom(Track& track, double size, double damp, double mix, double tail);

// Soft saturation that rounds off the few loudest peaks of a dense mix.
void Saturate(Track& track, double drive);

// Removes DC, ramps the first and last samples to exact zero and scales the
// loudest sample to `peak`.
void Finish(Track& track, double peak, double fade_in, double fade_out);

bool WriteWav(const std::string& path, const Track& track);

}  // namespace sounds

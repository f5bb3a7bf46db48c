// The toolkit behind Orbalune's sound effects; see sounds_synth.h.
#include "sounds_synth.h"

#include "assetgen.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

namespace sounds {

namespace {

constexpr double pi = 3.14159265358979323846;

// Polynomial band-limited step: rounds a jump off over one sample either
// side, which keeps the high pulses from folding back as whistles.
double Blep(double t, double step) {
    if (t < step) {
        t /= step;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - step) {
        t = (t - 1.0) / step;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

// One partial of the bell: frequency ratio, level and ring time.
struct Partial {
    double ratio;
    double level;
    double decay;
};

const Partial bell_partials[] = {
    {1.0, 1.00, 0.55},   // fundamental, rings longest
    {2.0, 0.32, 0.22},   // octave gives the glassy body
    {3.0, 0.12, 0.10},   // twelfth, brief
    {4.2, 0.10, 0.05},   // slightly sharp shimmer on the strike
};

// The harp's string: how many harmonics it sounds and how much faster each
// one above the first dies, per second and harmonic.
constexpr int pluck_harmonics = 24;
constexpr double pluck_damping = 3.0;

// The tine's bark fades to a round sine; a faint high partial rings
// on the strike like the metal of the tine.
constexpr double tine_bark_time = 0.18;
constexpr double tine_ring_ratio = 7.0, tine_ring_level = 0.1, tine_ring_time = 0.03;

// Everything one note needs from sample to sample.
struct NoteVoice {
    double phase[2] = {};
    double partial_phase[pluck_harmonics] = {};
    double partial_gain[pluck_harmonics] = {};
    double partial_fade[pluck_harmonics] = {};
    HeldNoise noise;
    Svf tone;
};

double Oscillate(Wave wave, double& phase, double hz) {
    const double step = Advance(phase, hz);
    switch (wave) {
        case Wave::saw: return Saw(phase, step);
        case Wave::triangle: return Triangle(phase);
        default: return Sine(phase);
    }
}

double Sound(const Instrument& voice, NoteVoice& state, double hz, double t) {
    double v = 0.0;
    switch (voice.wave) {
        case Wave::bell:
            for (std::size_t p = 0; p < std::size(bell_partials); ++p) {
                const Partial& partial = bell_partials[p];
                const double partial_hz = hz * partial.ratio;
                if (partial_hz > 0.45 * sample_rate) continue;
                Advance(state.partial_phase[p], partial_hz);
                v += partial.level * std::exp(-t / partial.decay) * Sine(state.partial_phase[p]);
            }
            return v;
        case Wave::pluck:
            for (int k = 0; k < pluck_harmonics && hz * (k + 1) < 0.45 * sample_rate; ++k) {
                Advance(state.partial_phase[k], hz * (k + 1));
                v += state.partial_gain[k] * Sine(state.partial_phase[k]);
                state.partial_gain[k] *= state.partial_fade[k];
            }
            return v;
        case Wave::tine: {
            Advance(state.phase[0], hz);
            const double bark = voice.shape * (0.1 + 0.9 * std::exp(-t / tine_bark_time));
            v = std::sin(2.0 * pi * state.phase[0] + bark * Sine(state.phase[0]));
            if (hz * tine_ring_ratio < 0.45 * sample_rate) {
                Advance(state.phase[1], hz * tine_ring_ratio);
                v += tine_ring_level * voice.shape * std::exp(-t / tine_ring_time) * Sine(state.phase[1]);
            }
            return v;
        }
        case Wave::noise:
            return NextNoise(state.noise, hz);
        default:
            v = Oscillate(voice.wave, state.phase[0], hz);
            if (voice.detune == 0.0) return v;
            // Two players a few cents apart: the section's width and shimmer.
            v += Oscillate(voice.wave, state.phase[1], hz * std::exp2(voice.detune / 1200.0));
            return 0.7 * v;
    }
}

double Shape(const Tone& tone, Svf& filter, double x, double t, double envelope) {
    if (tone.filter == Filter::none) return x;
    double hz = std::exp(Glide(std::log(tone.start_hz), std::log(tone.end_hz), t, tone.time));
    hz *= std::exp2(-tone.follow * (1.0 - envelope));
    switch (tone.filter) {
        case Filter::low: return LowPass(filter, x, hz, tone.q);
        case Filter::band: return BandPass(filter, x, hz, tone.q);
        default: return HighPass(filter, x, hz, tone.q);
    }
}

void RenderNote(Track& out, const Instrument& voice, const Note& note,
                double beat_seconds, std::uint64_t seed) {
    const double gate = note.beats * beat_seconds;
    const std::size_t first = static_cast<std::size_t>(Samples(note.beat * beat_seconds));
    const std::size_t count = static_cast<std::size_t>(Samples(gate + voice.envelope.release));
    if (out.size() < first + count) out.resize(first + count, 0.0);

    NoteVoice state;
    state.noise.rng.state = seed;
    const double string_exponent = 2.0 - std::clamp(voice.shape, 0.0, 1.0);
    for (int k = 0; k < pluck_harmonics; ++k) {
        state.partial_gain[k] = std::pow(k + 1.0, -string_exponent);
        state.partial_fade[k] = std::exp(-pluck_damping * k / sample_rate);
    }
    for (std::size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / sample_rate;
        double pitch = note.pitch + voice.bend.semitones * std::exp(-t / std::max(voice.bend.time, 1e-4));
        if (voice.vibrato.depth > 0.0 && t > voice.vibrato.delay) {
            const double u = t - voice.vibrato.delay;
            const double ramp = std::min(u / 0.08, 1.0);
            pitch += voice.vibrato.depth * ramp * std::sin(2.0 * pi * voice.vibrato.hz * u);
        }
        const double envelope = EnvelopeLevel(voice.envelope, t, gate);
        const double v = Shape(voice.tone, state.tone, Sound(voice, state, MidiHz(pitch), t), t, envelope);
        out[first + i] += v * envelope * voice.level * note.velocity;
    }
}

void PutTag(std::vector<uint8_t>& bytes, const char* tag) {
    bytes.insert(bytes.end(), tag, tag + 4);
}

}  // namespace

int Samples(double seconds) {
    return static_cast<int>(std::lround(seconds * sample_rate));
}

double MidiHz(double note) {
    return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}

double Glide(double from, double to, double t, double time) {
    return to + (from - to) * std::exp(-t / time);
}

double Bipolar(Rng& rng) {
    // splitmix64
    std::uint64_t z = (rng.state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<double>(z >> 11) / 4503599627370496.0 - 1.0;  // 2^52
}

double Advance(double& phase, double hz) {
    const double step = hz / sample_rate;
    phase += step;
    phase -= std::floor(phase);
    return step;
}

double Pulse(double phase, double step, double duty) {
    double v = phase < duty ? 1.0 : -1.0;
    v += Blep(phase, step);
    double fall = phase - duty;
    if (fall < 0.0) fall += 1.0;
    v -= Blep(fall, step);
    return v - (2.0 * duty - 1.0);  // narrow pulses stay centred
}

double Saw(double phase, double step) {
    return 2.0 * phase - 1.0 - Blep(phase, step);
}

double Triangle(double phase) {
    return 4.0 * std::fabs(phase - 0.5) - 1.0;
}

double Sine(double phase) {
    return std::sin(2.0 * pi * phase);
}

double NextNoise(HeldNoise& noise, double rate_hz) {
    noise.phase += rate_hz / sample_rate;
    if (noise.phase >= 1.0) {
        noise.phase -= std::floor(noise.phase);
        noise.value = Bipolar(noise.rng);
    }
    return noise.value;
}

namespace {

// Runs one step of the filter and returns {low, band}.
void SvfStep(Svf& f, double x, double cutoff_hz, double q, double& low, double& band) {
    const double fc = std::clamp(cutoff_hz, 10.0, 0.45 * sample_rate);
    const double g = std::tan(pi * fc / sample_rate);
    const double k = 1.0 / q;
    const double a1 = 1.0 / (1.0 + g * (g + k));
    const double a2 = g * a1;
    const double a3 = g * a2;
    const double v3 = x - f.ic2;
    const double v1 = a1 * f.ic1 + a2 * v3;
    const double v2 = f.ic2 + a2 * f.ic1 + a3 * v3;
    f.ic1 = 2.0 * v1 - f.ic1;
    f.ic2 = 2.0 * v2 - f.ic2;
    low = v2;
    band = v1;
}

}  // namespace

double LowPass(Svf& filter, double x, double cutoff_hz, double q) {
    double low = 0.0, band = 0.0;
    SvfStep(filter, x, cutoff_hz, q, low, band);
    return low;
}

double BandPass(Svf& filter, double x, double centre_hz, double q) {
    double low = 0.0, band = 0.0;
    SvfStep(filter, x, centre_hz, q, low, band);
    return band / q;
}

double HighPass(Svf& filter, double x, double cutoff_hz, double q) {
    double low = 0.0, band = 0.0;
    SvfStep(filter, x, cutoff_hz, q, low, band);
    return x - band / q - low;
}

double EnvelopeLevel(const Envelope& envelope, double t, double gate) {
    auto held = [&envelope](double u) {
        if (u < envelope.attack) return u / envelope.attack;
        const double d = u - envelope.attack;
        return envelope.sustain + (1.0 - envelope.sustain) * std::exp(-d / envelope.decay);
    };
    if (t < gate) return held(t);
    const double r = (t - gate) / envelope.release;
    if (r >= 1.0) return 0.0;
    return held(gate) * (1.0 - r) * (1.0 - r);
}

void RenderJingle(Track& out, const Jingle& jingle) {
    std::uint64_t seed = jingle.seed;
    for (const Note& note : jingle.notes) {
        RenderNote(out, jingle.voices.at(static_cast<std::size_t>(note.voice)), note,
                   jingle.beat_seconds, seed);
        seed += 0x632BE59BD9B4E019ull;  // every noise hit its own grain
    }
}

namespace {

// A comb with a dulled feedback path: one family of the hall's reflections.
struct Comb {
    std::vector<double> line;
    std::size_t at = 0;
    double dull = 0.0;
    double Run(double x, double feedback, double damp) {
        const double y = line[at];
        dull = y * (1.0 - damp) + dull * damp;
        line[at] = x + dull * feedback;
        at = (at + 1) % line.size();
        return y;
    }
};

// Spreads each reflection into many without colouring it.
struct Diffuser {
    std::vector<double> line;
    std::size_t at = 0;
    double Run(double x) {
        const double held = line[at];
        line[at] = x + 0.5 * held;
        at = (at + 1) % line.size();
        return held - x;
    }
};

// Delays in samples, mutually prime so the echoes never line up.
const std::size_t comb_lengths[] = {558, 594, 639, 678, 711, 746, 779, 809};
const std::size_t diffuser_lengths[] = {278, 221, 171, 113};

}  // namespace

void AddRoom(Track& track, double size, double damp, double mix, double tail) {
    track.resize(track.size() + static_cast<std::size_t>(Samples(tail)), 0.0);
    std::vector<Comb> combs;
    for (std::size_t length : comb_lengths) combs.push_back(Comb{Track(length, 0.0)});
    std::vector<Diffuser> diffusers;
    for (std::size_t length : diffuser_lengths) diffusers.push_back(Diffuser{Track(length, 0.0)});
    const double feedback = 0.7 + 0.28 * size;
    for (double& s : track) {
        double wet = 0.0;
        for (Comb& comb : combs) wet += comb.Run(s, feedback, damp);
        wet /= static_cast<double>(std::size(comb_lengths));
        for (Diffuser& diffuser : diffusers) wet = diffuser.Run(wet);
        s += mix * wet;
    }
}

void Saturate(Track& track, double drive) {
    double loudest = 0.0;
    for (double s : track) loudest = std::max(loudest, std::fabs(s));
    if (loudest > 0.0)
        for (double& s : track) s = std::tanh(drive * s / loudest);
}

void Finish(Track& track, double peak, double fade_in, double fade_out) {
    if (track.empty()) return;
    // DC blocker at about 20 Hz, then whatever offset is left.
    const double r = 1.0 - 2.0 * pi * 20.0 / sample_rate;
    double last_x = 0.0, last_y = 0.0;
    for (double& s : track) {
        const double y = s - last_x + r * last_y;
        last_x = s;
        last_y = y;
        s = y;
    }
    double mean = 0.0;
    for (double s : track) mean += s;
    mean /= static_cast<double>(track.size());
    for (double& s : track) s -= mean;

    // Raised-cosine ramps that land exactly on zero at both ends.
    const std::size_t n = track.size();
    const std::size_t in = std::min<std::size_t>(static_cast<std::size_t>(Samples(fade_in)) + 1, n);
    for (std::size_t i = 0; i < in; ++i)
        track[i] *= 0.5 - 0.5 * std::cos(pi * static_cast<double>(i) / static_cast<double>(in));
    const std::size_t out = std::min<std::size_t>(static_cast<std::size_t>(Samples(fade_out)) + 1, n);
    for (std::size_t i = 0; i < out; ++i)
        track[n - 1 - i] *= 0.5 - 0.5 * std::cos(pi * static_cast<double>(i) / static_cast<double>(out));
    track.front() = 0.0;
    track.back() = 0.0;

    double loudest = 0.0;
    for (double s : track) loudest = std::max(loudest, std::fabs(s));
    if (loudest > 0.0)
        for (double& s : track) s *= peak / loudest;
}

bool WriteWav(const std::string& path, const Track& track) {
    const std::uint32_t data_bytes = static_cast<std::uint32_t>(track.size() * 2);
    std::vector<uint8_t> bytes;
    bytes.reserve(44 + data_bytes);
    PutTag(bytes, "RIFF");
    PutLittleEndian(bytes, 36 + data_bytes, 4);
    PutTag(bytes, "WAVE");
    PutTag(bytes, "fmt ");
    PutLittleEndian(bytes, 16, 4);                 // fmt chunk size
    PutLittleEndian(bytes, 1, 2);                  // PCM
    PutLittleEndian(bytes, 1, 2);                  // mono
    PutLittleEndian(bytes, sample_rate, 4);
    PutLittleEndian(bytes, sample_rate * 2, 4);    // bytes per second
    PutLittleEndian(bytes, 2, 2);                  // bytes per frame
    PutLittleEndian(bytes, 16, 2);                 // bits per sample
    PutTag(bytes, "data");
    PutLittleEndian(bytes, data_bytes, 4);
    for (double s : track) {
        const long q = std::clamp(std::lround(s * 32767.0), -32767L, 32767L);
        PutLittleEndian(bytes, static_cast<std::uint32_t>(static_cast<std::int16_t>(q)) & 0xFFFFu, 2);
    }

    return WriteAssetFile(path, bytes);
}

}  // namespace sounds

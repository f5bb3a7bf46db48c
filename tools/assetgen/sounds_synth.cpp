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

void RenderNote(Track& out, const Instrument& voice, const Note& note,
                double beat_seconds, std::uint64_t seed) {
    const double gate = note.beats * beat_seconds;
    const std::size_t first = static_cast<std::size_t>(Samples(note.beat * beat_seconds));
    const std::size_t count = static_cast<std::size_t>(Samples(gate + voice.envelope.release));
    if (out.size() < first + count) out.resize(first + count, 0.0);

    double phase = 0.0;
    double partial_phase[std::size(bell_partials)] = {};
    HeldNoise noise{Rng{seed}};
    Svf tone;
    for (std::size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / sample_rate;
        double pitch = note.pitch + voice.bend * std::exp(-t / std::max(voice.bend_time, 1e-4));
        if (voice.vibrato_depth > 0.0 && t > voice.vibrato_delay) {
            const double u = t - voice.vibrato_delay;
            const double ramp = std::min(u / 0.08, 1.0);
            pitch += voice.vibrato_depth * ramp * std::sin(2.0 * pi * voice.vibrato_hz * u);
        }
        const double hz = MidiHz(pitch);
        double v = 0.0;
        switch (voice.wave) {
            case Wave::pulse: {
                const double step = Advance(phase, hz);
                v = Pulse(phase, step, voice.duty);
                break;
            }
            case Wave::saw: {
                const double step = Advance(phase, hz);
                v = Saw(phase, step);
                break;
            }
            case Wave::triangle:
                Advance(phase, hz);
                v = Triangle(phase);
                break;
            case Wave::bell:
                for (std::size_t p = 0; p < std::size(bell_partials); ++p) {
                    const Partial& partial = bell_partials[p];
                    const double partial_hz = hz * partial.ratio;
                    if (partial_hz > 0.45 * sample_rate) continue;
                    Advance(partial_phase[p], partial_hz);
                    v += partial.level * std::exp(-t / partial.decay) * Sine(partial_phase[p]);
                }
                break;
            case Wave::noise:
                v = NextNoise(noise, hz);
                break;
        }
        if (voice.cutoff_start > 0.0) {
            const double cutoff = Glide(voice.cutoff_start, voice.cutoff_end, t, voice.cutoff_time);
            v = LowPass(tone, v, cutoff, 0.707);
        }
        out[first + i] += v * EnvelopeLevel(voice.envelope, t, gate) * voice.level * note.velocity;
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

void AddEcho(Track& track, double delay, double feedback, double mix, int repeats) {
    const std::size_t lag = static_cast<std::size_t>(Samples(delay));
    const std::size_t dry = track.size();
    track.resize(dry + lag * static_cast<std::size_t>(repeats), 0.0);
    Track wet(track.size(), 0.0);
    for (std::size_t i = lag; i < track.size(); ++i) {
        const double source = (i - lag < dry ? track[i - lag] : 0.0);
        // The repeats lose their top, as echoes off rock would.
        wet[i] = source + feedback * wet[i - lag];
    }
    Svf dull;
    for (std::size_t i = 0; i < track.size(); ++i)
        track[i] += mix * LowPass(dull, wet[i], 3500.0, 0.707);
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

// Plays music and effects through SDL_mixer exactly as the game opens it
// (22050 Hz, 16-bit stereo, 1024-frame buffers, 20 channels, the game's
// volumes) on SDL's disk audio driver, which writes the mix to a file as fast
// as the mixer makes it, and hands back what was written. Loudness and level
// figures of such a mix, measured the way a listener hears them.
#pragma once

#include <SDL_mixer.h>

#include <cstdint>
#include <string>
#include <vector>

constexpr int mix_rate = 22050;
constexpr int mix_buffer_frames = 1024;
constexpr int shot_volume = 80;     // the game's volume of the volley
constexpr int music_volume = 50;    // the game's music volume

// Interleaved left/right samples.
using StereoMix = std::vector<int16_t>;

struct EffectCue {
    int buffer;   // mixing buffer, counted from the first one with music
    int effect;   // row of the sound catalogue
};

struct MixPlan {
    std::string sound_font;            // empty: the mixer's own default
    std::vector<uint8_t> music;        // a MIDI file, or nothing
    std::vector<EffectCue> effects;
    int buffers = 0;                   // how much to keep
};

// The catalogue's sound files, with the volume the game plays each at.
struct CatalogueEffect {
    std::string file;
    int volume;
};
const std::vector<CatalogueEffect>& Effects();

// Runs the plan on the disk driver; false with the reason in `error`. The
// mixer starts the music at buffer 0 and each effect at its buffer, as the
// game does when it starts sounds between two buffers.
bool RenderMix(const MixPlan& plan, StereoMix& mix, std::string& error);

// Samples that sit at the limits of 16 bits: the mixer clamped the sum there.
int ClampedSamples(const StereoMix& mix, size_t from = 0, size_t to = SIZE_MAX);
double PeakDb(const StereoMix& mix, size_t from = 0, size_t to = SIZE_MAX);

// Loudness in LUFS: both channels through the K-weighting of EBU R 128
// (a high shelf for the head and a high-pass for what the ear barely
// hears), mean square over [from, to) in frames.
struct Loudness {
    explicit Loudness(const StereoMix& mix);
    double Over(size_t from_frame, size_t to_frame) const;
    // Loudest `window` frames, stepping a tenth of a window.
    double MaxWindow(size_t window, size_t from_frame = 0, size_t to_frame = SIZE_MAX) const;
    std::vector<double> square_sums;  // running sum of K-weighted power per frame
};

size_t Frames(double seconds);

// Every effect of the catalogue as the mixer holds it once loaded: 16-bit
// stereo at the mixer's rate.
bool LoadEffectSamples(std::vector<StereoMix>& samples, std::string& error);

// Headroom mix without a render: `music` with the effects' samples added at
// their volumes from `start_frame` on, in SDL's arithmetic; the largest
// magnitude the sum reaches before the mixer would clamp it, and the frame
// after `start_frame` where it does.
struct Peak {
    int level = 0;
    size_t frame = 0;
};
Peak MixedPeak(const StereoMix& music, size_t start_frame, const std::vector<const StereoMix*>& effects,
              const std::vector<int>& volumes);

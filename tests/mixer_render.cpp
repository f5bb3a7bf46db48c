#include "mixer_render.h"

#include "catalogue.h"

#include <SDL.h>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t buffer_bytes = mix_buffer_frames * 2 * sizeof(int16_t);

// What the mixer thread does at each buffer; the main thread only waits.
struct Session {
    const MixPlan* plan = nullptr;
    Mix_Music* music = nullptr;
    std::vector<Mix_Chunk*> chunks;
    StereoMix captured;
    int calls = 0;
    std::atomic<bool> done{false};
};
Session* session = nullptr;

// After the mix of each buffer: what starts now is heard from the next one,
// just as sounds the game starts between two buffers. Runs on the mixer's
// thread, where SDL's audio lock is already held.
void AfterMix(void*, Uint8* stream, int len) {
    Session& s = *session;
    if (s.done) return;
    if (s.calls > 0) {
        const int16_t* samples = reinterpret_cast<const int16_t*>(stream);
        s.captured.insert(s.captured.end(), samples, samples + len / 2);
    }
    const int next = s.calls;  // the plan's buffer that is mixed next
    if (next == 0 && s.music) {
        Mix_PlayMusic(s.music, 0);
        Mix_VolumeMusic(music_volume);
    }
    for (const EffectCue& cue : s.plan->effects)
        if (cue.buffer == next) Mix_PlayChannelTimed(-1, s.chunks[size_t(cue.effect)], 0, -1);
    ++s.calls;
    if (int(s.captured.size()) >= s.plan->buffers * mix_buffer_frames * 2) s.done = true;
}

bool ReadFile(const std::string& path, std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    uint8_t block[1 << 15];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) bytes.insert(bytes.end(), block, block + got);
    std::fclose(file);
    return true;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

struct Biquad {
    double b0, b1, b2, a1, a2;
    double z1 = 0.0, z2 = 0.0;
    double Run(double x) {
        const double y = b0 * x + z1;
        z1 = b1 * x - a1 * y + z2;
        z2 = b2 * x - a2 * y;
        return y;
    }
};

// The two K-weighting stages of ITU-R BS.1770 at the mixer's rate.
Biquad HeadShelf() {
    const double gain_db = 3.999843853973347, f0 = 1681.974450955533, q = 0.7071752369554196;
    const double k = std::tan(M_PI * f0 / mix_rate);
    const double vh = std::pow(10.0, gain_db / 20.0), vb = std::pow(vh, 0.4996667741545416);
    const double a0 = 1.0 + k / q + k * k;
    return {(vh + vb * k / q + k * k) / a0, 2.0 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0,
            2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}
Biquad LowCut() {
    const double f0 = 38.13547087602444, q = 0.5003270373238773;
    const double k = std::tan(M_PI * f0 / mix_rate);
    const double a0 = 1.0 + k / q + k * k;
    return {1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

double ToLufs(double mean_square) { return -0.691 + 10.0 * std::log10(std::max(mean_square, 1e-12)); }

}  // namespace

const std::vector<CatalogueEffect>& Effects() {
    static const std::vector<CatalogueEffect> effects = [] {
        std::vector<CatalogueEffect> rows;
#define ORBALUNE_EFFECT_ROW(global, file) \
    rows.push_back({file, std::string(#global) == "sound_strela" ? shot_volume : MIX_MAX_VOLUME});
        ORBALUNE_SOUNDS(ORBALUNE_EFFECT_ROW)
#undef ORBALUNE_EFFECT_ROW
        return rows;
    }();
    return effects;
}

size_t Frames(double seconds) { return size_t(std::lround(seconds * mix_rate)); }

bool RenderMix(const MixPlan& plan, StereoMix& mix, std::string& error) {
    char dir_template[] = "/tmp/orbalune-mix-XXXXXX";
    if (!mkdtemp(dir_template)) {
        error = "no temporary directory";
        return false;
    }
    const std::string dir = dir_template, disk_file = dir + "/mix.raw", music_file = dir + "/music.mid";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", disk_file.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);  // as fast as the mixer goes
    Mix_SetSoundFonts(plan.sound_font.empty() ? nullptr : plan.sound_font.c_str());

    Session s;
    s.plan = &plan;
    session = &s;
    bool ok = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 && Mix_OpenAudio(mix_rate, AUDIO_S16LSB, 2, mix_buffer_frames) == 0;
    if (!ok) error = std::string("cannot open the disk audio driver: ") + SDL_GetError();
    if (ok) {
        Mix_AllocateChannels(20);
        for (const CatalogueEffect& effect : Effects()) {
            Mix_Chunk* chunk = Mix_LoadWAV((std::string(ORBALUNE_DATA_DIR "/") + effect.file).c_str());
            if (!chunk) {
                error = effect.file + ": " + Mix_GetError();
                ok = false;
            } else {
                Mix_VolumeChunk(chunk, effect.volume);
            }
            s.chunks.push_back(chunk);
        }
    }
    if (ok && !plan.music.empty()) {
        ok = WriteFile(music_file, plan.music) && (s.music = Mix_LoadMUS(music_file.c_str())) != nullptr;
        if (!ok) error = std::string("music does not load: ") + Mix_GetError();
    }
    if (ok) {
        SDL_LockAudio();
        Mix_SetPostMix(AfterMix, nullptr);
        SDL_UnlockAudio();
        // A render runs many times faster than real time; this is a bound
        // for a mixer that stopped, not a measure of speed.
        for (int waited = 0; !s.done && waited < 300000; waited += 2) SDL_Delay(2);
        if (!s.done) {
            error = "the mixer stopped before the end of the plan";
            ok = false;
        }
        SDL_LockAudio();
        Mix_SetPostMix(nullptr, nullptr);
        SDL_UnlockAudio();
    }
    Mix_HaltMusic();
    if (s.music) Mix_FreeMusic(s.music);
    Mix_HaltChannel(-1);
    for (Mix_Chunk* chunk : s.chunks)
        if (chunk) Mix_FreeChunk(chunk);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    session = nullptr;

    // What the driver wrote holds the mix whole, after the silence it
    // played before the plan began.
    std::vector<uint8_t> written;
    if (ok && !ReadFile(disk_file, written)) {
        error = "the disk driver wrote nothing";
        ok = false;
    }
    if (ok) {
        const size_t want = s.captured.size() * sizeof(int16_t);
        const uint8_t* expected = reinterpret_cast<const uint8_t*>(s.captured.data());
        size_t found = SIZE_MAX;
        for (size_t at = 0; found == SIZE_MAX && at + want <= written.size(); at += buffer_bytes)
            if (std::memcmp(written.data() + at, expected, want) == 0) found = at;
        if (found == SIZE_MAX) {
            error = "the disk driver's file does not hold the mix";
            ok = false;
        } else {
            mix.assign(s.captured.size(), 0);
            std::memcpy(mix.data(), written.data() + found, want);
        }
    }
    std::remove(disk_file.c_str());
    std::remove(music_file.c_str());
    rmdir(dir.c_str());
    return ok;
}

int ClampedSamples(const StereoMix& mix, size_t from, size_t to) {
    to = std::min(to, mix.size());
    int count = 0;
    for (size_t i = from; i < to; ++i) count += mix[i] >= 32767 || mix[i] <= -32768;
    return count;
}

double PeakDb(const StereoMix& mix, size_t from, size_t to) {
    to = std::min(to, mix.size());
    int peak = 0;
    for (size_t i = from; i < to; ++i) peak = std::max(peak, std::abs(int(mix[i])));
    return 20.0 * std::log10(std::max(peak, 1) / 32768.0);
}

Loudness::Loudness(const StereoMix& mix) {
    Biquad shelf[2] = {HeadShelf(), HeadShelf()}, cut[2] = {LowCut(), LowCut()};
    square_sums.assign(mix.size() / 2 + 1, 0.0);
    double sum = 0.0;
    for (size_t f = 0; f + 1 < square_sums.size(); ++f) {
        for (int c = 0; c < 2; ++c) {
            const double z = cut[c].Run(shelf[c].Run(mix[2 * f + size_t(c)] / 32768.0));
            sum += z * z;
        }
        square_sums[f + 1] = sum;
    }
}

double Loudness::Over(size_t from, size_t to) const {
    to = std::min(to, square_sums.size() - 1);
    if (to <= from) return ToLufs(0.0);
    return ToLufs((square_sums[to] - square_sums[from]) / double(to - from));
}

double Loudness::MaxWindow(size_t window, size_t from, size_t to) const {
    to = std::min(to, square_sums.size() - 1);
    double loudest = ToLufs(0.0);
    const size_t step = std::max<size_t>(1, window / 10);
    for (size_t at = from; at + window <= to || at == from; at += step) {
        loudest = std::max(loudest, Over(at, std::min(at + window, to)));
        if (at + window > to) break;
    }
    return loudest;
}

bool LoadEffectSamples(std::vector<StereoMix>& samples, std::string& error) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    bool ok = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 && Mix_OpenAudio(mix_rate, AUDIO_S16LSB, 2, mix_buffer_frames) == 0;
    if (!ok) error = std::string("cannot open the disk audio driver: ") + SDL_GetError();
    samples.clear();
    for (const CatalogueEffect& effect : Effects()) {
        if (!ok) break;
        Mix_Chunk* chunk = Mix_LoadWAV((std::string(ORBALUNE_DATA_DIR "/") + effect.file).c_str());
        if (!chunk) {
            error = effect.file + ": " + Mix_GetError();
            ok = false;
            break;
        }
        const int16_t* data = reinterpret_cast<const int16_t*>(chunk->abuf);
        samples.emplace_back(data, data + chunk->alen / 2);
        Mix_FreeChunk(chunk);
    }
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return ok;
}

Peak MixedPeak(const StereoMix& music, size_t start_frame, const std::vector<const StereoMix*>& effects,
               const std::vector<int>& volumes) {
    size_t longest = 0;
    for (const StereoMix* effect : effects) longest = std::max(longest, effect->size());
    Peak peak;
    for (size_t i = 0; i < longest; ++i) {
        const size_t at = 2 * start_frame + i;
        int sum = at < music.size() ? music[at] : 0;
        for (size_t e = 0; e < effects.size(); ++e) {
            if (i >= effects[e]->size()) continue;
            sum += (*effects[e])[i] * volumes[e] / MIX_MAX_VOLUME;  // SDL_MixAudio's scaling
            if (std::abs(sum) > peak.level) peak = {std::abs(sum), i / 2};
            sum = std::clamp(sum, -32768, 32767);
        }
    }
    return peak;
}

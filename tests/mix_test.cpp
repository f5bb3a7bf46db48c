// The game's sound as a player hears it: effects and music played through
// SDL_mixer at the game's own volumes, written by SDL's disk audio driver,
// and measured for clipping, loudness and the music's variety.
#include "catalogue.h"
#include "midi_reader.h"
#include "mixer_render.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

#define ORBALUNE_TRACK_ROW(file) file,
const char* const tracks[] = {ORBALUNE_MUSIC(ORBALUNE_TRACK_ROW)};
constexpr int track_count = int(sizeof tracks / sizeof *tracks);

// Debian's two General MIDI fonts: the one the game depends on, and the one
// a player who has it installed gets as the default.
const char* const game_font = "/usr/share/sounds/sf2/TimGM6mb.sf2";
const char* const fonts[] = {game_font, "/usr/share/sounds/sf2/FluidR3_GM.sf2"};

// An effect's loudness against the music's, in LU: each effect at its
// loudest 400 ms (EBU R 128's momentary loudness) against the running
// loudness of the track's body. At 0 an effect is as loud as the music
// around it and still cuts through, since it is brighter and sudden; past
// +6 the music seems to duck away under every explosion, which is where the
// old mix sat (7 to 18).
constexpr double min_gap = 0.0, max_gap = 6.0;
// The intro's first seconds may be this much below the body: room for a
// lighter texture, but no slow swell from near silence.
constexpr double intro_slack = 3.0;
constexpr double intro_seconds = 4.0, opening_seconds = 30.0;

std::string DataFile(const std::string& file) { return std::string(ORBALUNE_DATA_DIR "/") + file; }

std::vector<uint8_t> FileBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        uint8_t block[4096];
        size_t got;
        while ((got = std::fread(block, 1, sizeof block, file)) > 0) bytes.insert(bytes.end(), block, block + got);
        std::fclose(file);
    }
    return bytes;
}

int Buffers(double seconds) { return int(std::ceil(seconds * mix_rate / mix_buffer_frames)); }

StereoMix Render(const MixPlan& plan) {
    StereoMix mix;
    std::string error;
    EXPECT_TRUE(RenderMix(plan, mix, error)) << error;
    return mix;
}

// Each effect alone, as the game plays it; measured once per test program.
struct EffectFigures {
    std::vector<double> loudness;
    std::vector<int> clamped;
};
const EffectFigures& Effect() {
    static const EffectFigures figures = [] {
        EffectFigures f;
        for (size_t e = 0; e < Effects().size(); ++e) {
            MixPlan plan;
            plan.effects = {{0, int(e)}};
            plan.buffers = Buffers(5.0);
            const StereoMix mix = Render(plan);
            f.loudness.push_back(Loudness(mix).MaxWindow(Frames(0.4)));
            f.clamped.push_back(ClampedSamples(mix));
        }
        return f;
    }();
    return figures;
}

const std::vector<StereoMix>& EffectSamples() {
    static const std::vector<StereoMix> samples = [] {
        std::vector<StereoMix> loaded;
        std::string error;
        EXPECT_TRUE(LoadEffectSamples(loaded, error)) << error;
        return loaded;
    }();
    return samples;
}

std::string TrackName(const ::testing::TestParamInfo<int>& info) {
    std::string name = tracks[info.param];
    name = name.substr(name.find('/') + 1);
    name = name.substr(0, name.rfind('.'));
    name.erase(std::remove(name.begin(), name.end(), '_'), name.end());
    return "Track" + name;
}

TEST(Effects, EachPlaysAloneWithoutClippingAndStartsAndEndsInSilence) {
    for (size_t e = 0; e < Effects().size(); ++e) {
        SCOPED_TRACE(Effects()[e].file);
        EXPECT_EQ(Effect().clamped[e], 0);
        const StereoMix& samples = EffectSamples()[e];
        ASSERT_FALSE(samples.empty());
        EXPECT_EQ(samples.front(), 0);  // no click on the way in or out
        EXPECT_EQ(samples.back(), 0);
    }
}

// ---------------------------------------------------------------------------
// Each track's first 30 s in the game's font.

class Opening : public ::testing::TestWithParam<int> {};

TEST_P(Opening, IsCleanStartsAtTheBodysLevelAndSitsAFewDbUnderTheEffects) {
    MixPlan plan;
    plan.sound_font = game_font;
    plan.music = FileBytes(DataFile(tracks[GetParam()]));
    plan.buffers = Buffers(opening_seconds);
    const StereoMix mix = Render(plan);
    ASSERT_FALSE(mix.empty());
    EXPECT_EQ(ClampedSamples(mix), 0);
    const Loudness loudness(mix);
    const double intro = loudness.Over(0, Frames(intro_seconds));
    const double body = loudness.Over(Frames(intro_seconds), Frames(opening_seconds));
    EXPECT_GE(intro, body - intro_slack) << "intro " << intro << " LUFS, body " << body << " LUFS";
    for (size_t e = 0; e < Effects().size(); ++e) {
        const double gap = Effect().loudness[e] - body;
        EXPECT_GE(gap, min_gap) << Effects()[e].file << " at " << Effect().loudness[e] << " LUFS, music " << body;
        EXPECT_LE(gap, max_gap) << Effects()[e].file << " at " << Effect().loudness[e] << " LUFS, music " << body;
    }
}

INSTANTIATE_TEST_SUITE_P(Music, Opening, ::testing::Range(0, track_count), TrackName);

// ---------------------------------------------------------------------------
// Effects together over the loudest passage of each track, in both fonts.

// Where the notes are densest and loudest: the second with the most
// velocity and channel volume behind it. A guide for where to listen; the
// render then finds the loudest second itself.
double BusiestSecond(const SongFile& song) {
    std::map<int, int> volume;  // channel -> CC7
    std::vector<double> weight(size_t(song.Seconds(song.end_tick)) + 2, 0.0);
    for (const MidiEvent& e : song.events)
        if ((e.bytes[0] & 0xF0) == 0xB0 && e.bytes[1] == 7) volume[e.bytes[0] & 0x0F] = e.bytes[2];
    for (const SongNote& note : song.notes) {
        const double gain = note.velocity / 127.0 * (volume.count(note.channel) ? volume[note.channel] : 100) / 127.0;
        const double from = song.Seconds(note.start), to = std::min(song.Seconds(note.start + note.length), from + 1.0);
        for (int s = int(from); s <= int(to) && size_t(s) < weight.size(); ++s)
            weight[size_t(s)] += gain * gain * (std::min(to, s + 1.0) - std::max(from, double(s)));
    }
    return double(std::max_element(weight.begin(), weight.end()) - weight.begin());
}

// Which effects the game can start in the same tick: one volley a tick at
// most, with eleven ticks between volleys, longer than the volley sounds; and
// game over and victory share one channel, where each replaces the other.
bool CanStartTogether(const std::string& a, const std::string& b) {
    const auto ending = [](const std::string& f) { return f == "Sound/GameOver.wav" || f == "Sound/Victory.wav"; };
    if (a == "Sound/Strela.wav" && b == a) return false;
    return !(ending(a) && ending(b));
}

int Row(const std::string& file) {
    for (size_t e = 0; e < Effects().size(); ++e)
        if (Effects()[e].file == file) return int(e);
    ADD_FAILURE() << file << " is not in the catalogue";
    return 0;
}

class Headroom : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(Headroom, NoTwoEffectsNorAVolleyOverTwoBurstsClipOverTheLoudestSecond) {
    const int track = std::get<0>(GetParam());
    SongFile song;
    std::string error;
    ASSERT_TRUE(ReadMidiFile(DataFile(tracks[track]), song, error)) << error;
    // Start a second before the busiest one, so the reverb has filled in.
    const double from = std::max(0.0, BusiestSecond(song) - 1.0);
    MixPlan plan;
    plan.sound_font = fonts[std::get<1>(GetParam())];
    plan.music = CutMidi(song, song.TickAt(from));
    plan.buffers = Buffers(3.0);
    const StereoMix music = Render(plan);
    ASSERT_FALSE(music.empty());
    EXPECT_EQ(ClampedSamples(music), 0);

    // The loudest second of the passage, after the cut has settled.
    const Loudness loudness(music);
    size_t loudest = Frames(0.8);
    for (size_t at = loudest; at + Frames(1.0) <= Frames(3.0); at += mix_buffer_frames)
        if (loudness.Over(at, at + Frames(1.0)) > loudness.Over(loudest, loudest + Frames(1.0))) loudest = at;
    const int first_buffer = int(loudest / mix_buffer_frames);

    // Every pair the game can start together, started at each buffer of
    // that second; and the most the rules allow in one tick over the
    // ground: a volley, a ground burst and a big explosion.
    const std::vector<StereoMix>& effects = EffectSamples();
    ASSERT_EQ(effects.size(), Effects().size());
    std::vector<std::vector<int>> groups = {
        {Row("Sound/Strela.wav"), Row("Sound/Vybuch_small.wav"), Row("Sound/Vybuch_big.wav")}};
    for (int a = 0; a < int(effects.size()); ++a)
        for (int b = a; b < int(effects.size()); ++b)
            if (CanStartTogether(Effects()[size_t(a)].file, Effects()[size_t(b)].file)) groups.push_back({a, b});
    struct Worst {
        Peak peak;
        int buffer = 0;
        std::vector<int> group;
    } worst;
    for (const std::vector<int>& group : groups) {
        std::vector<const StereoMix*> played;
        std::vector<int> at_volume;
        for (int e : group) played.push_back(&effects[size_t(e)]), at_volume.push_back(Effects()[size_t(e)].volume);
        for (int buffer = first_buffer; buffer < first_buffer + Buffers(1.0); ++buffer) {
            const Peak peak = MixedPeak(music, size_t(buffer) * mix_buffer_frames, played, at_volume);
            if (peak.level > worst.peak.level) worst = {peak, buffer, group};
        }
    }
    std::string names;
    for (int e : worst.group) names += " " + Effects()[size_t(e)].file;
    EXPECT_LE(worst.peak.level, 32767) << "worst:" << names << " at buffer " << worst.buffer;

    // The worst of them played by the mixer itself, up to its loudest moment.
    MixPlan together = plan;
    for (int e : worst.group) together.effects.push_back({worst.buffer, e});
    together.buffers = worst.buffer + int(worst.peak.frame / mix_buffer_frames) + 2;
    EXPECT_EQ(ClampedSamples(Render(together)), 0) << "with" << names;
    std::printf("%s: loudest second from %.1f s, worst%s peaks at %.1f dBFS\n", tracks[track],
                from + double(loudest) / mix_rate, names.c_str(), 20.0 * std::log10(worst.peak.level / 32768.0));
}

std::string TrackAndFont(const ::testing::TestParamInfo<std::tuple<int, int>>& info) {
    return TrackName(::testing::TestParamInfo<int>(std::get<0>(info.param), 0)) +
           (std::get<1>(info.param) == 0 ? "TimGM6mb" : "FluidR3");
}

INSTANTIATE_TEST_SUITE_P(Music, Headroom,
                         ::testing::Combine(::testing::Range(0, track_count), ::testing::Range(0, 2)), TrackAndFont);

// ---------------------------------------------------------------------------
// Eighteen tracks, each with drums and bass of its own.

// A bar of a part: its onsets in ticks from the bar line with their keys;
// the bass's keys counted from its first note, so the same riff in
// another key is the same riff.
using BarPrint = std::vector<std::pair<int, int>>;

struct Parts {
    std::vector<BarPrint> drums, bass;
};

Parts PartsOf(const SongFile& song) {
    // The bass is the melodic channel that sits lowest.
    std::map<int, std::vector<int>> keys;
    for (const SongNote& note : song.notes)
        if (note.channel != 9) keys[note.channel].push_back(note.key);
    int bass = -1;
    double lowest = 1e9;
    for (auto& [channel, list] : keys) {
        std::sort(list.begin(), list.end());
        if (list[list.size() / 2] < lowest) lowest = list[list.size() / 2], bass = channel;
    }
    const int bar_ticks = song.ticks_per_quarter * song.beats_per_bar;
    std::map<int, BarPrint> drums, bass_bars;
    for (const SongNote& note : song.notes) {
        const int bar = note.start / bar_ticks, at = note.start % bar_ticks;
        if (note.channel == 9) drums[bar].push_back({at, note.key});
        if (note.channel == bass) bass_bars[bar].push_back({at, note.key});
    }
    Parts parts;
    for (auto& [bar, print] : drums) {
        std::sort(print.begin(), print.end());
        parts.drums.push_back(print);
    }
    for (auto& [bar, print] : bass_bars) {
        std::sort(print.begin(), print.end());
        const int first = print.front().second;
        for (auto& onset : print) onset.second -= first;
        parts.bass.push_back(print);
    }
    return parts;
}

// The bar a part plays most: its groove or its riff.
BarPrint MainBar(const std::vector<BarPrint>& bars) {
    std::map<BarPrint, int> counts;
    for (const BarPrint& bar : bars) ++counts[bar];
    return std::max_element(counts.begin(), counts.end(),
                            [](const auto& a, const auto& b) { return a.second < b.second; })
        ->first;
}

// Share of `a`'s bars that `b` also plays. A bar of one held note is
// anybody's and counts for neither.
double SharedBars(const std::vector<BarPrint>& a, const std::vector<BarPrint>& b) {
    const std::set<BarPrint> other(b.begin(), b.end());
    int shared = 0;
    for (const BarPrint& bar : a) shared += bar.size() > 1 && other.count(bar) > 0;
    return a.empty() ? 0.0 : double(shared) / double(a.size());
}

TEST(Music, NoTwoTracksShareADrumOrBassPart) {
    std::vector<Parts> parts;
    for (const char* track : tracks) {
        SongFile song;
        std::string error;
        ASSERT_TRUE(ReadMidiFile(DataFile(track), song, error)) << track << ": " << error;
        parts.push_back(PartsOf(song));
        ASSERT_FALSE(parts.back().drums.empty()) << track;
        ASSERT_FALSE(parts.back().bass.empty()) << track;
    }
    // A fill or a held note may meet another track's; a tenth of the bars is
    // already a shared part.
    constexpr double most_shared = 0.1;
    for (int a = 0; a < track_count; ++a)
        for (int b = 0; b < track_count; ++b) {
            if (a == b) continue;
            SCOPED_TRACE(std::string(tracks[a]) + " and " + tracks[b]);
            EXPECT_NE(MainBar(parts[size_t(a)].drums), MainBar(parts[size_t(b)].drums)) << "the same groove";
            EXPECT_NE(MainBar(parts[size_t(a)].bass), MainBar(parts[size_t(b)].bass)) << "the same riff";
            EXPECT_LT(SharedBars(parts[size_t(a)].drums, parts[size_t(b)].drums), most_shared) << "drum bars";
            EXPECT_LT(SharedBars(parts[size_t(a)].bass, parts[size_t(b)].bass), most_shared) << "bass bars";
        }
}

}  // namespace

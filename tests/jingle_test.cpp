// The five jingles as a player tells them apart: each makes the gesture of
// its event, and no two are alike. Measured on the files with a small pitch
// tracker: every 10 ms, the note whose harmonics sound strongest.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr int rate = 22050;
constexpr int frame_step = rate / 100;  // 10 ms
// 46 ms: short enough for a sixteenth of the power arpeggio, long enough
// that the harmonics tell neighbouring semitones apart.
constexpr int window = 1024;
constexpr int harmonics = 5;
// Where the tune and the bass are looked for, as MIDI notes.
constexpr int tune_low = 55, tune_high = 100, bass_low = 28, bass_high = 54;
// Frames this far below the loudest one are the tail dying in the hall.
constexpr double audible_db = 30.0;
// A note the tune holds at least this many frames, not a passing overtone.
constexpr int held_frames = 6;
constexpr int contour_points = 8;

constexpr double pi = 3.14159265358979323846;

std::vector<double> LoadMono(const std::string& file) {
    SDL_AudioSpec wav;
    Uint8* bytes = nullptr;
    Uint32 length = 0;
    std::vector<double> samples;
    if (!SDL_LoadWAV(file.c_str(), &wav, &bytes, &length)) {
        ADD_FAILURE() << file << ": " << SDL_GetError();
        return samples;
    }
    if (wav.freq == rate && wav.channels == 1 && wav.format == AUDIO_S16LSB) {
        const Sint16* pcm = reinterpret_cast<const Sint16*>(bytes);
        for (Uint32 i = 0; i < length / 2; ++i) samples.push_back(pcm[i] / 32768.0);
    } else {
        ADD_FAILURE() << file << " is not in the generator's format";
    }
    SDL_FreeWAV(bytes);
    return samples;
}

double Magnitude(const std::vector<double>& frame, double hz) {  // Goertzel
    const double c = 2.0 * std::cos(2.0 * pi * hz / rate);
    double s1 = 0.0, s2 = 0.0;
    for (double x : frame) {
        const double s0 = x + c * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return std::sqrt(std::max(0.0, s1 * s1 + s2 * s2 - c * s1 * s2));
}

// The note in [low, high] whose harmonics sound strongest, each weighed
// less than the one below so a note is not taken for its own overtone.
int StrongestNote(const std::vector<double>& frame, int low, int high) {
    int best = low;
    double best_strength = -1.0;
    for (int note = low; note <= high; ++note) {
        const double hz = 440.0 * std::pow(2.0, (note - 69) / 12.0);
        double strength = 0.0;
        for (int h = 1; h <= harmonics && h * hz < 0.45 * rate; ++h) strength += Magnitude(frame, h * hz) / h;
        if (strength > best_strength) best_strength = strength, best = note;
    }
    return best;
}

int Median(std::vector<int> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct HeldNote {
    int note;
    int frames;
};

struct Figures {
    double seconds = 0.0;
    double attack_db = 0.0;      // loudest 10 ms of the first 20 ms against the loudest 10 ms
    std::vector<int> contour;    // the tune's median note in each eighth of the audible part
    std::vector<HeldNote> held;  // the tune's notes in order, passing frames left out
    int last_bass = 0;           // the bass's median note under the last eighth
};

Figures Measure(const std::string& file) {
    const std::vector<double> x = LoadMono(file);
    Figures f;
    f.seconds = double(x.size()) / rate;
    if (x.size() < size_t(window)) {
        ADD_FAILURE() << file << " is too short to measure";
        return f;
    }

    double loudest = 0.0, opening = 0.0;
    for (size_t at = 0; at < x.size(); at += frame_step) {
        double peak = 0.0;
        for (size_t i = at; i < std::min(x.size(), at + frame_step); ++i) peak = std::max(peak, std::fabs(x[i]));
        loudest = std::max(loudest, peak);
        if (at < size_t(2 * frame_step)) opening = std::max(opening, peak);
    }
    f.attack_db = 20.0 * std::log10(std::max(opening, 1e-9) / loudest);

    std::vector<std::vector<double>> frames;
    std::vector<double> level;
    for (size_t at = 0; at + window <= x.size(); at += frame_step) {
        std::vector<double> frame(window);
        double energy = 0.0;
        for (int i = 0; i < window; ++i) {
            frame[size_t(i)] = x[at + size_t(i)] * (0.5 - 0.5 * std::cos(2.0 * pi * i / window));
            energy += x[at + size_t(i)] * x[at + size_t(i)];
        }
        frames.push_back(frame);
        level.push_back(10.0 * std::log10(energy / window + 1e-12));
    }
    const double top = *std::max_element(level.begin(), level.end());
    size_t first = 0, last = level.size();
    while (first < last && level[first] < top - audible_db) ++first;
    while (last > first && level[last - 1] < top - audible_db) --last;

    std::vector<int> tune;
    for (size_t i = first; i < last; ++i) tune.push_back(StrongestNote(frames[i], tune_low, tune_high));
    for (int k = 0; k < contour_points; ++k) {
        const size_t from = tune.size() * size_t(k) / contour_points, to = tune.size() * size_t(k + 1) / contour_points;
        f.contour.push_back(Median(std::vector<int>(tune.begin() + long(from), tune.begin() + long(to))));
    }
    for (size_t i = 0; i < tune.size();) {
        size_t j = i;
        while (j < tune.size() && tune[j] == tune[i]) ++j;
        const int frames_held = int(j - i);
        if (frames_held >= held_frames) {
            // The hall's ring of a note may be heard an octave off: the same note.
            if (!f.held.empty() && f.held.back().note % 12 == tune[i] % 12) f.held.back().frames += frames_held;
            else f.held.push_back({tune[i], frames_held});
        }
        i = j;
    }
    std::vector<int> bass;
    for (size_t i = first + (last - first) * (contour_points - 1) / contour_points; i < last; ++i)
        bass.push_back(StrongestNote(frames[i], bass_low, bass_high));
    f.last_bass = Median(bass);
    return f;
}

// Semitones from the tune's first note to where its second half sits.
double Rise(const Figures& f) {
    double sum = 0.0;
    for (int k = contour_points / 2; k < contour_points; ++k) sum += f.contour[size_t(k)];
    return sum / (contour_points - contour_points / 2) - f.contour.front();
}

// What each event asks its jingle to do, and what a player would take as
// the sign of it. Bonuses come back to back in a busy game: each is over
// within a second. The endings take a few seconds to settle.
struct Gesture {
    const char* file;
    double shortest, longest;  // seconds
    double rise;               // semitones at least, or at most when negative
    bool punchy;               // at full strength within 20 ms
    bool two_notes;            // a chime of two
    bool slows;                // its steps lengthen on the way to the last note
    bool comes_home;           // the tune ends on the root of the bass under it
};

const Gesture gestures[] = {
    // file                 seconds    rise  punchy two   slows  home
    {"Sound/Power.wav",     0.2, 1.0,   5.0, true,  false, false, false},  // an arpeggio shot up
    {"Sound/Speed.wav",     0.2, 1.0,  24.0, false, false, false, false},  // a run over two octaves
    {"Sound/Health.wav",    0.2, 1.0,   3.0, false, true,  false, false},  // a rising chime
    {"Sound/GameOver.wav",  2.0, 5.0,  -5.0, false, false, true,  true},   // a phrase falling to rest
    {"Sound/Victory.wav",   2.0, 5.0,   5.0, false, false, false, true},   // a fanfare climbing home
};
constexpr size_t gesture_count = sizeof gestures / sizeof *gestures;

class Jingles : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(SDL_Init(0), 0) << SDL_GetError();
        for (const Gesture& g : gestures) figures.push_back(Measure(std::string(ORBALUNE_DATA_DIR "/") + g.file));
    }
    static void TearDownTestSuite() { SDL_Quit(); }
    static std::vector<Figures> figures;
};
std::vector<Figures> Jingles::figures;

std::string Describe(const Figures& f) {
    std::string text = std::to_string(f.seconds) + " s, attack " + std::to_string(f.attack_db) + " dB, tune";
    for (int note : f.contour) text += " " + std::to_string(note);
    text += ", held";
    for (const HeldNote& h : f.held) text += " " + std::to_string(h.note) + "x" + std::to_string(h.frames);
    return text + ", bass " + std::to_string(f.last_bass);
}

TEST_F(Jingles, EachMakesTheGestureOfItsEvent) {
    ASSERT_EQ(figures.size(), gesture_count);
    for (size_t j = 0; j < gesture_count; ++j) {
        const Gesture& g = gestures[j];
        const Figures& f = figures[j];
        SCOPED_TRACE(std::string(g.file) + ": " + Describe(f));
        ASSERT_EQ(f.contour.size(), size_t(contour_points));
        EXPECT_GE(f.seconds, g.shortest);
        EXPECT_LE(f.seconds, g.longest);
        if (g.rise > 0) {
            EXPECT_GE(Rise(f), g.rise) << "does not climb";
        } else {
            EXPECT_LE(Rise(f), g.rise) << "does not fall";
        }
        // A punch reaches close to the loudest it gets at once; a swell or a
        // soft entry sits well below.
        if (g.punchy) {
            EXPECT_GE(f.attack_db, -3.0) << "no punch";
        }
        if (g.two_notes) {
            EXPECT_EQ(f.held.size(), 2u) << "not two notes";
        }
        if (g.slows) {
            // The steps before the longest, held note: the last lasts half
            // again as long as the first at least, so the fall is heard to
            // slow and not merely to stop.
            const auto longest = std::max_element(f.held.begin(), f.held.end(),
                                                  [](const HeldNote& a, const HeldNote& b) { return a.frames < b.frames; });
            const std::vector<HeldNote> steps(f.held.begin(), longest);
            EXPECT_GE(steps.size(), 3u) << "too few steps to slow down";
            if (!steps.empty()) {
                EXPECT_GE(steps.back().frames, 1.5 * steps.front().frames) << "keeps its pace";
            }
        }
        if (g.comes_home) {
            EXPECT_EQ(f.contour.back() % 12, f.last_bass % 12) << "ends away from home";
        }
    }
}

// Two jingles are told apart when their tunes move differently, or one is
// much the longer, or one hits and the other does not.
TEST_F(Jingles, NoTwoAreAlike) {
    ASSERT_EQ(figures.size(), gesture_count);
    constexpr double contour_apart = 4.0;  // semitones on average, each from its first note
    constexpr double length_apart = 1.5;   // ratio
    constexpr double attack_apart = 6.0;   // dB
    for (const Figures& f : figures) ASSERT_EQ(f.contour.size(), size_t(contour_points));
    for (size_t a = 0; a < gesture_count; ++a)
        for (size_t b = a + 1; b < gesture_count; ++b) {
            const Figures& fa = figures[a];
            const Figures& fb = figures[b];
            double contour = 0.0;
            for (size_t k = 0; k < size_t(contour_points); ++k)
                contour += std::fabs((fa.contour[k] - fa.contour[0]) - (fb.contour[k] - fb.contour[0]));
            contour /= contour_points;
            const double length = std::max(fa.seconds, fb.seconds) / std::min(fa.seconds, fb.seconds);
            const double attack = std::fabs(fa.attack_db - fb.attack_db);
            EXPECT_TRUE(contour >= contour_apart || length >= length_apart || attack >= attack_apart)
                << gestures[a].file << " and " << gestures[b].file << " sound alike: tunes " << contour
                << " semitones apart, lengths " << length << " to 1, attacks " << attack << " dB apart";
        }
}

}  // namespace

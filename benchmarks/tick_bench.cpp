// How much of the 25 ms tick the world update and the frame take, with a
// crowded field. Run from the data directory (make bench); each result also
// reports tick_share: the time of one call as a fraction of the tick.
#include "assets.h"
#include "presentation.h"
#include "rules.h"
#include "shell.h"
#include "sprites.h"
#include "state.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>

using namespace Game;

namespace {

constexpr double tick_seconds = 0.025;

// A field of n sprites of every kind, spread over the screen.
void Crowd(int n) {
    const int codes[] = {1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12, 13, 14, 20, 41};
    ClearSprites();
    for (int i = 0; i < n; ++i) AddSprite(40 + (i * 37) % 700, 40 + (i * 53) % 420, codes[i % 15]);
}

// The wall time of the timed loop per call, as a fraction of one tick.
class TickShare {
public:
    explicit TickShare(benchmark::State& state) : state_(state), start_(Clock::now()) {}
    ~TickShare() {
        const double seconds = std::chrono::duration<double>(Clock::now() - start_).count() - paused_;
        state_.counters["tick_share"] = seconds / double(state_.iterations()) / tick_seconds;
    }
    // Set-up inside the loop is not the game's time.
    void Pause() { pause_start_ = Clock::now(); }
    void Resume() { paused_ += std::chrono::duration<double>(Clock::now() - pause_start_).count(); }

private:
    using Clock = std::chrono::steady_clock;
    benchmark::State& state_;
    Clock::time_point start_, pause_start_;
    double paused_ = 0;
};

void BM_Update(benchmark::State& state) {
    StartGame();
    std::srand(1);
    TickShare share(state);
    for (auto _ : state) {
        state.PauseTiming();
        share.Pause();
        Crowd(int(state.range(0)));
        share.Resume();
        state.ResumeTiming();
        Update();
    }
}
BENCHMARK(BM_Update)->Arg(20)->Arg(100)->Arg(400)->Arg(1000);

void BM_Draw(benchmark::State& state) {
    StartGame();
    Crowd(int(state.range(0)));
    TickShare share(state);
    for (auto _ : state) Draw();
}
BENCHMARK(BM_Draw)->Arg(20)->Arg(100)->Arg(400)->Arg(1000);

void BM_MenuFrame(benchmark::State& state) {
    StartGame();
    menu = true;
    Crowd(20);
    TickShare share(state);
    for (auto _ : state) Draw();
}
BENCHMARK(BM_MenuFrame);

// One whole tick of a game: the held keys, the world update with its
// collisions, and the frame, with n live sprites of mixed kinds moving and
// meeting one another.
void BM_Tick(benchmark::State& state) {
    StartGame();
    std::srand(1);
    Uint8* held = SDL_GetKeyState(nullptr);
    held[SDLK_SPACE] = 1;
    TickShare share(state);
    int tick = 0;
    for (auto _ : state) {
        state.PauseTiming();
        share.Pause();
        Crowd(int(state.range(0)));
        held[SDLK_LEFT] = (tick / 40) % 2;
        held[SDLK_RIGHT] = !held[SDLK_LEFT];
        ++tick;
        share.Resume();
        state.ResumeTiming();
        Keys();
        Update();
        Draw();
    }
    held[SDLK_SPACE] = held[SDLK_LEFT] = held[SDLK_RIGHT] = 0;
}
BENCHMARK(BM_Tick)->Arg(0)->Arg(20)->Arg(100)->Arg(400)->Arg(1000)->Unit(benchmark::kMillisecond);

// From nothing to the first frame on screen, and back to nothing.
void BM_Startup(benchmark::State& state) {
    Destroy();
    TickShare share(state);
    for (auto _ : state) {
        if (!Init()) state.SkipWithError("start-up failed");
        Draw();
        Destroy();
    }
    Init();
}
BENCHMARK(BM_Startup)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (!Init()) return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Destroy();
    return 0;
}

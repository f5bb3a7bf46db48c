// orbalune-pacing [ticks] [menu|game|pause]: plays the real program (its own
// start-up, loop and shutdown) for the given number of ticks, idle in the
// menu, in a game with nothing pressed, or paused in a game, then prints the
// intervals between tick starts as the game's clock saw them and the share of
// one processor core the process used. Run it where the game runs: in a
// directory holding IMG, Sound, Music, Font and Save.
#include "shell.h"

#include <sys/resource.h>

#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

namespace {

int ticks_wanted = 2000;
const char* mode = "menu";
std::vector<Uint32> starts;  // the game's clock at each measured tick's event pump
int ticks_seen = 0;
double cpu_at_first = 0, main_cpu_at_first = 0;
std::chrono::steady_clock::time_point wall_at_first;

double CpuSeconds() {
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The game's own thread: the rest of the process is the mixer's music and effects.
double MainThreadCpuSeconds() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

void Press(SDLKey key) {
    SDL_Event event = {};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = key;
    SDL_PushEvent(&event);
}

void Report() {
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_at_first).count();
    const double cpu = CpuSeconds() - cpu_at_first;
    const double main_cpu = MainThreadCpuSeconds() - main_cpu_at_first;
    std::map<Uint32, int> intervals;
    for (size_t i = 1; i < starts.size(); ++i) ++intervals[starts[i] - starts[i - 1]];
    const int count = int(starts.size()) - 1;
    std::printf("%s: %d ticks in %.2f s\n", mode, count, wall);
    std::printf("tick start intervals (ms):\n");
    for (auto [ms, n] : intervals) std::printf("  %4u ms  %6d  %6.2f %%\n", ms, n, 100.0 * n / count);
    std::printf("processor: %.1f %% of one core, %.3f ms per tick (%.4f of the 25 ms tick)\n",
                100.0 * cpu / wall, 1000.0 * cpu / count, cpu / count / 0.025);
    std::printf("  of which the game's thread %.1f %%, the mixer's music and effects %.1f %%\n",
                100.0 * main_cpu / wall, 100.0 * (cpu - main_cpu) / wall);
}

}  // namespace

// The event pump of the game, once per tick.
extern "C" bool __real__ZN4Game5EventEv();
extern "C" bool __wrap__ZN4Game5EventEv() {
    const int tick = ++ticks_seen;
    starts.push_back(SDL_GetTicks());
    if (tick == 1) {
        if (std::strcmp(mode, "menu") != 0) Press(SDLK_RETURN);
        if (std::strcmp(mode, "pause") == 0) Press(SDLK_p);
    }
    if (tick == 10) {  // measured from here: start-up and the first ticks are over
        cpu_at_first = CpuSeconds();
        main_cpu_at_first = MainThreadCpuSeconds();
        wall_at_first = std::chrono::steady_clock::now();
        starts.clear();
        starts.push_back(SDL_GetTicks());
    }
    const bool keep_running = __real__ZN4Game5EventEv();
    if (int(starts.size()) > ticks_wanted && tick > 10) {
        Report();
        return false;
    }
    return keep_running;
}

int main(int argc, char* argv[]) {
    if (argc > 1) ticks_wanted = std::atoi(argv[1]);
    if (argc > 2) mode = argv[2];
    if (ticks_wanted < 2 || (std::strcmp(mode, "menu") != 0 && std::strcmp(mode, "game") != 0 &&
                             std::strcmp(mode, "pause") != 0)) {
        std::fprintf(stderr, "usage: orbalune-pacing [ticks] [menu|game|pause]\n");
        return 2;
    }
    return SDL_main(argc, argv);
}

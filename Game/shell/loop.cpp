#include "presentation.h"
#include "rules.h"
#include "scores.h"
#include "shell.h"
#include "state.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace Game {

bool TickDue(Uint32 now, Uint32 due) { return now > due; }

Uint32 NextDue(Uint32 now) { return now + Uint32(fps); }

void WaitForTick(Uint32 now, Uint32 due) {
    // Asleep until a millisecond before the due time, then short naps
    // between clock reads, so the tick still starts at the first reading
    // past the due time even when the system wakes a sleeper late.
    constexpr Uint32 wake_early_ms = 1;
    if (now + wake_early_ms < due) {
        SDL_Delay(std::min(due - now - wake_early_ms, Uint32(fps)));
    } else {
        std::this_thread::sleep_for(std::chrono::microseconds(250));
    }
}

bool Cycle() {
    if (life <= 0 && !score_done) CheckScore();
    // Both rolls are drawn in every tick, whatever the state, before their
    // conditions are looked at: the order of random numbers is the game's.
    if (std::rand() % 50 == 0 && !boss_attack && !boss_kill && !pause) AddEnemy();
    if (std::rand() % 1000 == 0 && !menu && !boss_attack && !boss_kill && !pause) AddBonus();
    const bool result = Event();
    if (!pause) Keys();
    if (!pause) Update();
    Draw();
    return result;
}

}  // namespace Game

int SDL_main(int, char*[]) {
    using namespace Game;
    if (!Init()) {
        Destroy();
        return 1;
    }
    bool done = false;
    while (!done) {
        time_now = SDL_GetTicks();
        if (TickDue(time_now, time_last)) {
            // Counted from this tick's start: a late tick is not made up for.
            time_last = NextDue(time_now);
            done = !Cycle();
        } else {
            WaitForTick(time_now, time_last);
        }
    }
    SaveScore();
    Destroy();
    return 0;
}

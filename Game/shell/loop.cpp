#include "presentation.h"
#include "rules.h"
#include "scores.h"
#include "shell.h"
#include "state.h"

#include <cstdlib>

namespace Game {

bool TickDue(Uint32 now, Uint32 due) { return now > due; }

Uint32 NextDue(Uint32 now) { return now + Uint32(fps); }

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
    // Busy polling on purpose: a tick starts as soon as the clock allows.
    while (!done) {
        time_now = SDL_GetTicks();
        if (TickDue(time_now, time_last)) {
            // Counted from this tick's start: a late tick is not made up for.
            time_last = NextDue(time_now);
            done = !Cycle();
        }
    }
    SaveScore();
    Destroy();
    return 0;
}

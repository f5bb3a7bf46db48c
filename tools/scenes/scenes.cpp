// Stages moments of a game and writes the frames the player would see, as
// BMP files named after the moment: a game with bursts and a caught bonus, a
// lost life, the game over, the menu again, a boss fight and the victory.
// It drives the real game tick by tick, without waiting for the clock; to
// reach the boss it raises the score itself, which the game never does.
// Run from a directory holding IMG, Sound, Music, Font and Save.
#include "assets.h"
#include "rules.h"
#include "shell.h"
#include "sprites.h"
#include "state.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

using namespace Game;

namespace {

std::string out_dir = ".";

void Save(const char* name) {
    const std::string path = out_dir + "/" + name + ".bmp";
    if (SDL_SaveBMP(screen, path.c_str()) != 0) {
        std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), SDL_GetError());
        std::exit(1);
    }
    std::printf("%s\n", path.c_str());
}

// Holds the keys that bring the cannon's middle to x and fire.
void Steer(int x, bool fire) {
    Uint8* held = SDL_GetKeyState(nullptr);
    const int middle = delo_rect.x + delo->w * (bonusy_dve_dela ? 2 : 1) / 2;
    held[SDLK_LEFT] = middle > x + 3;
    held[SDLK_RIGHT] = middle < x - 3;
    held[SDLK_SPACE] = fire;
}

// The nearest enemy's middle, or the field's middle when there is none.
int NearestEnemy() {
    int best = 400, distance = 1 << 30;
    for (Sprite* s : Sprites) {
        if (!s->GetEnemy() || s->GetExplosionDie()) continue;
        const int middle = s->GetPositionX() + s->GetWidth() / 2;
        const int d = std::abs(middle - delo_rect.x);
        if (d < distance) distance = d, best = middle;
    }
    return best;
}

// The middle of the nearest projectile falling towards the track.
int NearestThreat() {
    int best = NearestEnemy(), distance = 1 << 30;
    for (Sprite* s : Sprites) {
        if (s->GetEnemy() || s->GetBonus() || s->GetText() || s->GetExplosionDie() ||
            s->GetType() == kind::player_shot || s->GetPositionY() < 250)
            continue;
        const int middle = s->GetPositionX() + s->GetWidth() / 2;
        const int d = std::abs(middle - delo_rect.x);
        if (d < distance) distance = d, best = middle;
    }
    return best;
}

// Takes away what is about to land on the cannon, so a staged fight lasts.
void Shield() {
    for (Sprite* s : Sprites)
        if (!s->GetEnemy() && !s->GetBonus() && s->GetType() != kind::player_shot &&
            s->GetPositionY() > 420 && !s->GetExplosionDie())
            s->SetPositionX(-1000);
}

// Ticks until the condition holds, at most limit ticks; false if it never did.
bool Until(const std::function<bool()>& done, int limit, const std::function<void()>& each) {
    for (int tick = 0; tick < limit; ++tick) {
        if (done()) return true;
        each();
        Cycle();
    }
    return done();
}

bool Require(bool reached, const char* what) {
    if (!reached) std::fprintf(stderr, "never reached: %s\n", what);
    return reached;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc > 1) out_dir = argv[1];
    if (!Init()) {
        Destroy();
        return 1;
    }
    std::srand(7);
    bool ok = true;

    // The menu over its living world.
    Until([] { return false; }, 120, [] {});
    Save("menu");

    // A game: shoot under the enemies; a bonus falls onto the cannon.
    SDL_Event enter = {};
    enter.type = SDL_KEYDOWN;
    enter.key.keysym.sym = SDLK_RETURN;
    SDL_PushEvent(&enter);
    Cycle();
    auto hunt = [] {
        Shield();
        Steer(NearestEnemy(), true);
    };
    ok &= Require(Until([] { return score >= 150; }, 3000, hunt), "a score of 150");
    ok &= Require(Until([] {
        for (Sprite* s : Sprites)
            if (s->GetEnemy() && s->GetExplosionDie()) return true;
        return false;
    }, 2000, hunt), "an enemy bursting");
    Save("burst");
    AddSprite(delo_rect.x - 10, 300, kind::twin_bonus);
    static int bonus_middle = delo_rect.x - 10 + bonus_dve_dela->w / 2;
    ok &= Require(Until([] { return bonusy_dve_dela; }, 200, [] { Steer(bonus_middle, true); }),
                  "the twin bonus caught");
    Until([] { return false; }, 12, [] { Steer(NearestEnemy(), true); });
    Save("bonus");

    // Lives lost: stand still under whatever falls.
    ok &= Require(Until([] { return life == 2; }, 5000, [] { Steer(NearestThreat(), false); }),
                  "a life lost");
    Until([] { return false; }, 30, [] { Steer(400, false); });
    Save("life_lost");
    ok &= Require(Until([] { return life <= 0; }, 8000, [] { Steer(NearestThreat(), false); }),
                  "the last life lost");
    Until([] { return false; }, 20, [] {});
    Save("game_over");
    ok &= Require(Until([] { return menu; }, 600, [] {}), "the menu again");
    Until([] { return false; }, 10, [] {});
    Save("menu_again");

    // The boss: a new game raised past its score, with both cannons.
    SDL_PushEvent(&enter);
    Cycle();
    score = 15001;
    bonusy_dve_dela = true;
    auto fight = [] {
        Shield();
        Steer(boss_rect.x + boss->w / 2, true);
    };
    ok &= Require(Until([] { return boss_attack && boss_rect.y > 60 && boss_zivoty < 120; }, 3000,
                        fight),
                  "the boss in the fight");
    Save("boss");
    ok &= Require(Until([] { return boss_kill; }, 5000, fight), "the boss fallen");
    Until([] { return false; }, 14, [] { Steer(400, false); });
    Save("victory");
    ok &= Require(Until([] { return menu; }, 400, [] {}), "the menu after the victory");
    Save("menu_after_victory");

    Destroy();
    return ok ? 0 : 1;
}

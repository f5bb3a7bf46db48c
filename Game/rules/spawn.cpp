#include "assets.h"
#include "rules.h"
#include "sprites.h"
#include "state.h"

#include <cstdlib>
#include <limits>

namespace Game {

namespace {

enum class Entry { kLeft, kRight, kTop };

// In the order the score unlocks them.
struct EnemyKind {
    int code;
    int unlocked_at;          // lowest score at which it appears
    SDL_Surface* const* image;
    int frames;
    Entry entry;
    int span, offset;         // the random coordinate is rand() % span + offset
};
// The eye is there at any score, so the kind roll always has one to draw.
constexpr int always = std::numeric_limits<int>::min();
const EnemyKind enemy_kinds[] = {
    // code            unlocked image      frames           entry          span offset
    {kind::eye,        always, &oko,      oko_frames,      Entry::kLeft,  400, 50},
    {kind::skull,      500,    &lebka,    lebka_frames,    Entry::kRight, 400, 50},
    {kind::rocket,     1500,   &raketa,   raketa_frames,   Entry::kTop,   790, 5},
    {kind::saucer,     3000,   &talir,    talir_frames,    Entry::kLeft,  200, 10},
    {kind::helicopter, 5000,   &vrtulnik, vrtulnik_frames, Entry::kLeft,  400, 50},
    {kind::satellite,  7000,   &satelit,  satelit_frames,  Entry::kLeft,  400, 50},
    {kind::ship,       9500,   &lod,      lod_frames,      Entry::kLeft,  400, 50},
};
constexpr int menu_kinds = 5;  // behind the title: eye to helicopter

const int bonus_codes[] = {kind::twin_bonus, kind::speed_bonus, kind::life_bonus};

}  // namespace

void AddEnemy() {
    int n = 0;
    for (const EnemyKind& kind : enemy_kinds) n += score >= kind.unlocked_at;
    if (menu) n = menu_kinds;
    const EnemyKind& kind = enemy_kinds[std::rand() % n];
    const int along = std::rand() % kind.span + kind.offset;
    switch (kind.entry) {
    case Entry::kLeft:
        // One frame width off the left edge: its right edge touches x = 0.
        AddSprite(-((*kind.image)->w / kind.frames), along, kind.code);
        break;
    case Entry::kRight:
        AddSprite(800, along, kind.code);
        break;
    case Entry::kTop:
        AddSprite(along, 0, kind.code);
        break;
    }
}

void AddBonus() {
    const int code = bonus_codes[std::rand() % 3];
    const int x = std::rand() % 700 + 50;
    AddSprite(x, 0, code);
}

}  // namespace Game

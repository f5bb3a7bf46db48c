#include "assets.h"
#include "rules.h"
#include "sprites.h"
#include "state.h"

#include <cstdlib>

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
const EnemyKind enemy_kinds[] = {
    // code unlocked image      frames           entry          span offset
    {2,  0,    &oko,      oko_frames,      Entry::kLeft,  400, 50},  // eye
    {4,  500,  &lebka,    lebka_frames,    Entry::kRight, 400, 50},  // skull
    {6,  1500, &raketa,   raketa_frames,   Entry::kTop,   790, 5},   // rocket
    {7,  3000, &talir,    talir_frames,    Entry::kLeft,  200, 10},  // saucer
    {9,  5000, &vrtulnik, vrtulnik_frames, Entry::kLeft,  400, 50},  // helicopter
    {11, 7000, &satelit,  satelit_frames,  Entry::kLeft,  400, 50},  // satellite
    {13, 9500, &lod,      lod_frames,      Entry::kLeft,  400, 50},  // ship
};
constexpr int menu_kinds = 5;  // behind the title: eye to helicopter

const int bonus_codes[] = {20, 21, 22};  // twin cannon, speed, extra life

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

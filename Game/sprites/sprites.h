// The sprite kinds, the factory that makes them and the live list that owns them.
#pragma once

#include "sprite.h"

#include <cstddef>
#include <vector>

namespace Game {

// Every kind of sprite by its type code. Each enemy craft's own shot is the
// code after the craft's; the gaps between the groups are no kinds.
namespace kind {
enum Code : int {
    player_shot = 1,
    eye = 2,
    eye_shot = 3,
    skull = 4,
    skull_shot = 5,
    rocket = 6,
    saucer = 7,
    saucer_shot = 8,
    helicopter = 9,
    helicopter_shot = 10,
    satellite = 11,
    satellite_shot = 12,
    ship = 13,
    ship_shot = 14,
    twin_bonus = 20,
    speed_bonus = 21,
    life_bonus = 22,
    explosion_fragment = 30,  // one burst of the grid over a fallen boss
    victory_text = 40,
    power_text = 41,
    speed_text = 42,
    health_text = 43,
};
}  // namespace kind

// Every live sprite, oldest first: the order they move, collide and are drawn in.
extern std::vector<Sprite*> Sprites;

// What the factory does to a new sprite right after building it.
enum class SpriteSetup { kNone, kBonus, kExplosion, kText, kVictoryText };

struct SpriteKind {
    int code;
    SDL_Surface* const* image;  // the sheet's global, read when the sprite is made
    int frames;
    int dx, dy;                 // pixels per tick
    int delay;                  // ticks a frame is held, less one
    bool enemy;                 // fires, and is worth points when shot down
    SpriteSetup setup;
};

// The row of a type code, or null for a code that is no kind.
const SpriteKind* FindSpriteKind(int code);

// Makes one sprite of the kind and appends it to Sprites; an unknown code
// makes nothing.
void AddSprite(int x, int y, int type);

// The one way a sprite leaves the list: deleted, erased, and the element that
// moves into its place is the next one looked at.
void RemoveSpriteAt(std::size_t index);
// Removes every sprite, oldest first.
void ClearSprites();

}  // namespace Game

// The sprite kinds, the factory that makes them and the live list that owns them.
#pragma once

#include "sprite.h"

#include <cstddef>
#include <vector>

namespace Game {

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

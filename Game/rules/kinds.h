// What each kind of sprite means to the rules of play: what shooting it down
// is worth, where its guns stand and what catching it gives. One row per kind
// in each table, next to the kind table of the sprites.
#pragma once

#include <SDL_mixer.h>

namespace Game {

// Points for shooting one down: the seven enemy kinds (the rocket among them);
// nothing for every other code.
int PointsFor(int type);

// Where an enemy craft's guns stand, relative to its top-left corner: dx from
// its left edge (or its right edge with from_right), dy below its bottom edge.
struct Gun { int dx, dy; bool from_right; };
struct Battery { int code; int count; Gun guns[4]; };
// The six crafts that fire, eye to ship; the boss fires their shots in this order too.
constexpr int battery_count = 6;
extern const Battery batteries[battery_count];
// The guns of a craft, or null for a kind that never fires.
const Battery* BatteryOf(int type);
// Each craft fires its own shot, coded one above itself.
constexpr int ShotOf(int craft) { return craft + 1; }

// What a bonus gives: the bonus it grants (null for the life bonus, which adds
// a life instead), the pop-up text it asks for and the jingle it plays.
struct BonusEffect {
    int code;
    bool* held;
    bool* text_request;
    Mix_Chunk* const* sound;
};
// The effect of a bonus, or null for a code that is no bonus.
const BonusEffect* BonusOf(int type);

}  // namespace Game

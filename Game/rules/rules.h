// The rules of play: the cannon, the spawning of enemies and bonuses, the
// world update with the enemies' fire, the collisions, the score and the
// bonuses, and the boss.
#pragma once

#include <cstdint>

namespace Game {

class Sprite;

// The held keys move the cannon and fire its volleys.
void Keys();

// One random enemy of the kinds the score has unlocked, entering at an edge.
void AddEnemy();
// One random bonus falling from the top edge.
void AddBonus();

// One tick of the world.
void Update();

// True when a corner of rectangle b lies inside rectangle a, edges included.
// Not an overlap test, and not symmetric: a b that encloses a, or crosses it
// like a plus sign, does not touch it.
bool InRect(int32_t ax, int32_t ay, int32_t aw, int32_t ah, int32_t bx, int32_t by, int32_t bw,
            int32_t bh);
// Every contact of one sprite, right after its own move: player shots against
// enemies and projectiles, projectiles against the cannon, the cannon against
// bonuses, player shots against the boss.
void Collision(Sprite* self);

// What shooting down a sprite of this type is worth.
void AddScore(int type);
// What catching a bonus of this type gives.
void SetBonus(int type);

// The boss's part of the world update: its entry, its end in the menu, its
// flight, its fire and its fall.
void BossSection();
// One boss shot of a random kind from a random point of its bottom edge.
void AddBossShoot();

// Enemy shots waiting for the end of the removal walk: the list must not grow
// while it is walked.
struct QueuedShot { int x, y, type; };
constexpr int shot_queue_size = 400;
struct ShotQueue {
    QueuedShot entries[shot_queue_size];
    int count;
};
// Appends one shot; a shot beyond the last entry is dropped.
void QueueShot(ShotQueue& queue, int x, int y, int type);

}  // namespace Game

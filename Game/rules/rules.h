// The rules of play: the cannon, the spawning of enemies and bonuses, and
// the world update with the enemies' fire.
#pragma once

namespace Game {

// The held keys move the cannon and fire its volleys.
void Keys();

// One random enemy of the kinds the score has unlocked, entering at an edge.
void AddEnemy();
// One random bonus falling from the top edge.
void AddBonus();

// One tick of the world.
void Update();

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

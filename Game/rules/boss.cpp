#include "assets.h"
#include "kinds.h"
#include "presentation.h"
#include "rules.h"
#include "sprites.h"
#include "state.h"

#include <algorithm>
#include <cstdlib>

namespace Game {

namespace {

constexpr int boss_threshold = 15000;  // the boss comes once the score passes this
constexpr int boss_hit_points = 150;
constexpr int boss_entry_x = 100;
constexpr int boss_hidden = 50;        // it enters with its bottom edge this far above the screen
constexpr int boss_step = 2;           // pixels per tick, each way
constexpr int boss_floor = 449;        // its bottom edge turns back below this
constexpr int boss_left = 5, boss_right = 794;
constexpr int boss_fire_odds = 10;
constexpr int victory_points = 5000;
constexpr int explosion_frames = 7;

void StartBossFight() {
    boss_attack = true;
    boss_rect.x = boss_entry_x;
    boss_rect.y = Sint16(-boss_hidden - boss->h);
    boss_speed.x = boss_step;
    boss_speed.y = boss_step;
    boss_zivoty = boss_hit_points;
}

// Bounces are decided on where it stands before this tick's move; a turned
// speed already counts for that move.
void MoveBoss() {
    const int x = boss_rect.x, y = boss_rect.y;
    if (y + boss->h > boss_floor) {
        boss_speed.y = Sint16(-boss_speed.y);
    } else if (y < -boss_hidden && boss_speed.y != boss_step) {
        boss_speed.y = Sint16(-boss_speed.y);  // back down once it has climbed out of sight
    }
    if (x <= boss_left) {
        boss_speed.x = Sint16(-boss_speed.x);
    } else if (x + boss->w > boss_right) {
        boss_speed.x = Sint16(-boss_speed.x);
    }
    boss_rect.x = Sint16(boss_rect.x + boss_speed.x);
    boss_rect.y = Sint16(boss_rect.y + boss_speed.y);
}

// The fallen boss bursts into big explosions over its whole picture, column
// by column from the left, each column from the top.
void BurstBoss() {
    const int step_x = std::max(1, explosion_big->w / explosion_frames);
    const int step_y = std::max(1, explosion_big->h);
    for (int px = 0; px < boss->w; px += step_x)
        for (int py = 0; py < boss->h; py += step_y)
            AddSprite(boss_rect.x + px, boss_rect.y + py, kind::explosion_fragment);
}

void DefeatBoss() {
    BurstBoss();
    boss_attack = false;
    boss_kill = true;
    AddSprite(0, 0, kind::victory_text);  // the text stands in its own place
    score += victory_points;
    Mix_PlayChannelTimed(jingle_channel, sound_victory, 0, -1);
}

}  // namespace

void BossSection() {
    if (!boss_attack && score > boss_threshold && !menu && !boss_kill) StartBossFight();
    // The menu came back after a lost game: the fight is over.
    if (menu) boss_attack = false;
    if (!boss_attack) return;
    MoveBoss();
    // It may still fire in the tick it falls.
    if (std::rand() % boss_fire_odds == 0) AddBossShoot();
    if (boss_zivoty <= 0) DefeatBoss();
}

void AddBossShoot() {
    // The kind first, then the place along its bottom edge.
    const int type = ShotOf(batteries[std::rand() % battery_count].code);
    const int x = boss_rect.x + std::rand() % boss->w;
    AddSprite(x, boss_rect.y + boss->h, type);
}

}  // namespace Game

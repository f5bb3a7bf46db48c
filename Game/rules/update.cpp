#include "assets.h"
#include "presentation.h"
#include "rules.h"
#include "sprites.h"
#include "state.h"

#include <cstdlib>

namespace Game {

namespace {

constexpr int fire_odds = 5;              // an enemy fires on one roll in five
constexpr int fire_frame = 2;             // ... and only from this frame of its sheet
constexpr int fire_queue_limit = 398;     // ... while the queue has room by this count
constexpr int fire_rest_ticks = 3;        // ... and it has rested longer than this
constexpr int game_over_ticks = 500;      // wait after the last volley before the menu
constexpr int popup_x = 320, popup_y = 50;

// Where each enemy craft's guns stand, relative to its top-left corner; dy is
// below the bottom edge. Each craft fires its own shot, the code after its own.
struct Gun { int dx, dy; bool from_right; };
struct Battery { int code; int count; Gun guns[4]; };
const Battery batteries[] = {
    {2,  1, {{0, 10, false}}},                                               // eye
    {4,  1, {{0, 10, false}}},                                               // skull
    {7,  1, {{0, 10, false}}},                                               // saucer
    {9,  2, {{0, 10, false}, {-20, 10, true}}},                              // helicopter
    {11, 4, {{-1, 0, false}, {12, 0, false}, {24, 0, false}, {37, 0, false}}},  // satellite
    {13, 2, {{20, 0, false}, {80, 0, false}}},                               // ship
};

void Fire(ShotQueue& queue, const Sprite& enemy) {
    for (const Battery& battery : batteries) {
        if (battery.code != enemy.GetType()) continue;
        const int x = enemy.GetPositionX();
        const int bottom = enemy.GetPositionY() + enemy.GetHeight();
        for (int i = 0; i < battery.count; ++i) {
            const Gun& gun = battery.guns[i];
            const int gun_x = x + gun.dx + (gun.from_right ? enemy.GetWidth() : 0);
            QueueShot(queue, gun_x, bottom + gun.dy, battery.code + 1);
        }
    }
}

// Pop-up texts: one a tick, the first request waiting in this order.
struct Popup { bool* request; int code; };
const Popup popups[] = {{&txt_power, 41}, {&txt_speed, 42}, {&txt_health, 43}};

}  // namespace

void QueueShot(ShotQueue& queue, int x, int y, int type) {
    if (queue.count >= shot_queue_size) return;  // a full queue drops the rest of a volley
    queue.entries[queue.count++] = {x, y, type};
}

void Update() {
    // Move every sprite; nothing joins or leaves the list during this walk.
    for (Sprite* sprite : Sprites) sprite->Update();

    // Remove the dead and let the living enemies roll to fire: one roll per
    // enemy, in list order, whether or not it can fire.
    ShotQueue shot_queue;
    shot_queue.count = 0;
    std::size_t i = 0;
    while (i < Sprites.size()) {
        Sprite* sprite = Sprites[i];
        if (sprite->GetDied()) {
            RemoveSpriteAt(i);
            continue;
        }
        if (sprite->GetEnemy()) {
            const int roll = std::rand();
            if (roll % fire_odds == 0 && sprite->GetFrameNow() == fire_frame &&
                shot_queue.count <= fire_queue_limit && !sprite->GetExplosionDie() &&
                sprite->GetLateStrela() > fire_rest_ticks) {
                Fire(shot_queue, *sprite);
                sprite->SetLateStrela(0);
            }
        }
        ++i;
    }
    for (int k = 0; k < shot_queue.count; ++k) {
        const QueuedShot& shot = shot_queue.entries[k];
        AddSprite(shot.x, shot.y, shot.type);
    }

    if (me_down) MeDown();
    if (life <= 0 && delo_strela_omezeni > game_over_ticks) {
        menu = true;
        life = 3;
    }
    delo_strela_omezeni += 1;

    for (const Popup& popup : popups) {
        if (!*popup.request) continue;
        AddSprite(popup_x, popup_y, popup.code);
        *popup.request = false;
        break;
    }

    sound_ground = false;
    if (!sound_game && life <= 0) {
        Mix_PlayChannelTimed(15, sound_gameover, 0, -1);
        sound_game = true;
    }
    if (!play) PlayMusic();
}

}  // namespace Game

#include "assets.h"
#include "kinds.h"
#include "presentation.h"
#include "rules.h"
#include "scores.h"
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

// Pop-up texts: one a tick, the first request waiting in this order.
struct Popup { bool* request; int code; };
const Popup popups[] = {
    {&txt_power, kind::power_text},
    {&txt_speed, kind::speed_text},
    {&txt_health, kind::health_text},
};

void Fire(ShotQueue& queue, const Sprite& enemy) {
    const Battery* battery = BatteryOf(enemy.GetType());
    if (!battery) return;
    const int x = enemy.GetPositionX();
    const int bottom = enemy.GetPositionY() + enemy.GetHeight();
    for (int i = 0; i < battery->count; ++i) {
        const Gun& gun = battery->guns[i];
        const int gun_x = x + gun.dx + (gun.from_right ? enemy.GetWidth() : 0);
        QueueShot(queue, gun_x, bottom + gun.dy, ShotOf(battery->code));
    }
}

// Every sprite moves and at once meets whatever it touches, so it sees the
// sprites before it already moved this tick and those after it not yet.
void MoveAndCollide() {
    for (Sprite* sprite : Sprites) {
        sprite->Update();
        Collision(sprite);
    }
}

// The dead go, and every living enemy rolls once to fire, in list order,
// whether or not it can: the order of random numbers is the game's.
void RemoveDeadAndRollFire(ShotQueue& shot_queue) {
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
}

void CreateQueuedShots(const ShotQueue& shot_queue) {
    for (int k = 0; k < shot_queue.count; ++k) {
        const QueuedShot& shot = shot_queue.entries[k];
        AddSprite(shot.x, shot.y, shot.type);
    }
}

// A lost game goes back to the menu once the player has not fired for a
// while. A game that lost its last life long after its last volley comes back
// in this very update, so its score is offered to the table here, or no tick
// would ever begin with that game lost.
void ReturnToMenuAfterLostGame() {
    if (life > 0 || delo_strela_omezeni <= game_over_ticks) return;
    if (!score_done) CheckScore();
    menu = true;
    life = 3;
}

void ServeOnePopup() {
    for (const Popup& popup : popups) {
        if (!*popup.request) continue;
        AddSprite(popup_x, popup_y, popup.code);
        *popup.request = false;
        return;
    }
}

void GameOverJingle() {
    if (sound_game || life > 0) return;
    Mix_PlayChannelTimed(jingle_channel, sound_gameover, 0, -1);
    sound_game = true;
}

}  // namespace

void QueueShot(ShotQueue& queue, int x, int y, int type) {
    if (queue.count >= shot_queue_size) return;  // a full queue drops the rest of a volley
    queue.entries[queue.count++] = {x, y, type};
}

void Update() {
    MoveAndCollide();
    // Nothing joins the list while it is walked: the enemies' shots wait in the queue.
    ShotQueue shot_queue;
    shot_queue.count = 0;
    RemoveDeadAndRollFire(shot_queue);
    CreateQueuedShots(shot_queue);
    if (me_down) MeDown();  // after the walks, so a life goes once however many hits
    ReturnToMenuAfterLostGame();
    delo_strela_omezeni += 1;
    BossSection();
    ServeOnePopup();
    sound_ground = false;  // one small burst sound a tick, from here on again
    GameOverJingle();
    if (!play) PlayMusic();  // the last track has ended
}

}  // namespace Game

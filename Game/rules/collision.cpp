#include "assets.h"
#include "presentation.h"
#include "rules.h"
#include "sprites.h"
#include "state.h"

#include <cstdint>

namespace Game {

namespace {

struct Box { int32_t x, y, w, h; };

bool InRect(const Box& a, const Box& b) { return Game::InRect(a.x, a.y, a.w, a.h, b.x, b.y, b.w, b.h); }

Box BoxOf(const Sprite* s) {
    return {s->GetPositionX(), s->GetPositionY(), s->GetWidth(), s->GetHeight()};
}
Box Cannon() { return {delo_rect.x, delo_rect.y, delo->w, delo->h}; }
// Both cannons of the twin bonus: the second stands right of the first.
Box Twin() { return {delo_rect.x, delo_rect.y, 2 * delo->w, delo->h}; }
Box Boss() { return {boss_rect.x, boss_rect.y, boss->w, boss->h}; }

bool IsPlayerShot(const Sprite* s) { return s->GetType() == kind::player_shot; }

void Play(Mix_Chunk* sound) { Mix_PlayChannelTimed(any_channel, sound, 0, -1); }

// An enemy craft hit by a player shot bursts and scores. The ship's burst is
// moved onto the shot, since the ship's sheet is far wider than the burst.
void ShootDown(Sprite* enemy, Sprite* shot) {
    shot->SetDied(true);
    enemy->SetExplosion(explosion_big);
    if (enemy->GetType() == kind::ship) {
        enemy->SetPositionX(shot->GetPositionX() - 20);
        enemy->SetPositionY(shot->GetPositionY() - 15);
    }
    AddScore(enemy->GetType());
    Play(sound_vybuch_big);
}

// A player shot meets something that is not an enemy craft: a rocket, an
// enemy or boss shot, or another player shot. Texts are passed through.
void ShotsMeet(Sprite* self, Sprite* other) {
    if (other->GetText() || self->GetText()) return;
    self->SetDied(true);
    other->SetExplosion(explosion_small);
    if (self->GetType() == kind::rocket || other->GetType() == kind::rocket) {
        AddScore(kind::rocket);
    } else {
        score += 1;
    }
    Play(sound_vybuch_small);
}

// A player shot against an object; true when they met, which ends the call.
// Only the other's dead flag counts: a shot already spent in this tick still
// strikes in its own call.
bool ShotAgainstObject(Sprite* self, Sprite* other) {
    if (other == self || other->GetDied()) return false;
    if (self->GetEnemy() && other->GetEnemy()) return false;
    if (self->GetExplosionDie() || other->GetExplosionDie()) return false;
    if (self->GetBonus() || other->GetBonus()) return false;
    if (!IsPlayerShot(self) && !IsPlayerShot(other)) return false;
    if (!InRect(BoxOf(self), BoxOf(other))) return false;
    if (self->GetEnemy()) {
        ShootDown(self, other);
    } else if (other->GetEnemy()) {
        ShootDown(other, self);
    } else {
        ShotsMeet(self, other);
    }
    return true;
}

// Anything falling that is not a player shot or a bonus can hit the cannon;
// the life goes once the walks are over. The saucer's slanting shot is also
// tested the other way round, against the single cannon.
void CannonHit(Sprite* other) {
    if (other->GetEnemy() || IsPlayerShot(other) || other->GetExplosionDie() ||
        other->GetBonus() || menu || boss_kill)
        return;
    const Box shot = BoxOf(other);
    const bool hit = InRect(Cannon(), shot) || (bonusy_dve_dela && InRect(Twin(), shot)) ||
                     (other->GetType() == kind::saucer_shot && InRect(shot, Cannon()));
    if (!hit) return;
    other->SetExplosion(explosion_small);
    me_down = true;
}

// A bonus is caught with the first cannon only, in any state.
void BonusPickUp(Sprite* other) {
    if (!other->GetBonus() || other->GetExplosionDie() || other->GetDied()) return;
    if (!InRect(BoxOf(other), Cannon())) return;
    SetBonus(other->GetType());
    other->SetDied(true);
}

// Each player shot striking the boss takes one hit point; the burst sounds
// once a tick at most, shared with the ground bursts.
void BossHit(Sprite* other) {
    if (!boss_attack || !IsPlayerShot(other) || other->GetDied() || other->GetExplosionDie())
        return;
    if (!InRect(Boss(), BoxOf(other))) return;
    other->SetExplosion(explosion_small);
    boss_zivoty -= 1;
    if (!sound_ground) {
        Play(sound_vybuch_small);
        sound_ground = true;
    }
}

}  // namespace

bool InRect(int32_t ax, int32_t ay, int32_t aw, int32_t ah, int32_t bx, int32_t by, int32_t bw,
            int32_t bh) {
    // Widened, so that no corner sum can overflow.
    auto inside = [&](int64_t px, int64_t py) {
        return ax <= px && px <= int64_t(ax) + aw && ay <= py && py <= int64_t(ay) + ah;
    };
    const int64_t right = int64_t(bx) + bw, bottom = int64_t(by) + bh;
    return inside(bx, by) || inside(right, by) || inside(bx, bottom) || inside(right, bottom);
}

void Collision(Sprite* self) {
    for (Sprite* other : Sprites) {
        if (ShotAgainstObject(self, other)) return;
        CannonHit(other);
        BonusPickUp(other);
        BossHit(other);
    }
}

}  // namespace Game

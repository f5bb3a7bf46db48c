#include "assets.h"
#include "presentation.h"
#include "rules.h"
#include "sprites.h"
#include "state.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

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

namespace {

// What the move-and-collide walk knows of the field: each sprite's box by its
// place in the list, taken anew after the sprite's own move, and a grid of
// cells that lists the sprites whose box reaches into each. A contact changes
// a sprite's box only by making it burst, and a bursting sprite meets nothing
// more, so such a box needs no update. A sprite whose box meets neither the
// box of the sprite at hand nor the cannons' or the boss's can take part in
// no rule with it, so the walk passes it by; the rules themselves run as for
// every pair, in list order, so the outcome is the same.
struct Extent {
    int32_t x0, y0, x1, y1;  // closed, as the corner test reads a box
    bool near;               // meets both cannons' box, or the boss's in a fight
};
struct CellSpan { int x0, y0, x1, y1; };

// Cells of 64 pixels over the field and a margin; anything beyond falls into
// the edge cells, which keeps every meeting of boxes a meeting of cells.
constexpr int cell_shift = 6, cell_origin = -128, cells_x = 17, cells_y = 13;

int CellOf(int32_t v, int cells) {
    const int64_t c = (int64_t(v) - cell_origin) >> cell_shift;
    return c < 0 ? 0 : c >= cells ? cells - 1 : int(c);
}
CellSpan CellsOf(const Extent& e) {
    return {CellOf(e.x0, cells_x), CellOf(e.y0, cells_y), CellOf(e.x1, cells_x),
            CellOf(e.y1, cells_y)};
}

struct Field {
    std::vector<Extent> extents;
    std::vector<CellSpan> spans;           // the cells each sprite is listed in
    std::vector<uint32_t> cells[cells_y][cells_x];
    std::vector<uint32_t> near_ones;       // the sprites whose box is near
    std::vector<uint32_t> seen;            // the last look each sprite was taken in
    std::vector<uint32_t> nearby;          // the sprites of the look at hand
    uint32_t look = 0;
    Box cannons, boss;
    std::size_t at = 0;  // the sprite whose collisions are being tested
    bool active = false;
};
Field field;

bool Meets(const Extent& e, const Box& b) {
    return e.x0 <= int64_t(b.x) + b.w && b.x <= e.x1 && e.y0 <= int64_t(b.y) + b.h && b.y <= e.y1;
}
bool Meets(const Extent& a, const Extent& b) {
    return (a.x0 <= b.x1) & (b.x0 <= a.x1) & (a.y0 <= b.y1) & (b.y0 <= a.y1);
}

void Unlist(std::vector<uint32_t>& list, uint32_t i) {
    for (uint32_t& entry : list) {
        if (entry != i) continue;
        entry = list.back();
        list.pop_back();
        return;
    }
}

void List(std::size_t i) {
    const CellSpan c = field.spans[i];
    for (int y = c.y0; y <= c.y1; ++y)
        for (int x = c.x0; x <= c.x1; ++x) field.cells[y][x].push_back(uint32_t(i));
    if (field.extents[i].near) field.near_ones.push_back(uint32_t(i));
}

void Unlist(std::size_t i) {
    const CellSpan c = field.spans[i];
    for (int y = c.y0; y <= c.y1; ++y)
        for (int x = c.x0; x <= c.x1; ++x) Unlist(field.cells[y][x], uint32_t(i));
    if (field.extents[i].near) Unlist(field.near_ones, uint32_t(i));
}

Extent ExtentOf(std::size_t i) {
    const Box b = BoxOf(Sprites[i]);
    Extent e = {b.x, b.y, b.x + b.w, b.y + b.h, false};
    // The twin's box holds the single cannon's, whether or not the twin is held.
    e.near = Meets(e, field.cannons) || (boss_attack && Meets(e, field.boss));
    return e;
}

// After a sprite's own move.
void Refresh(std::size_t i) {
    const Extent e = ExtentOf(i);
    const CellSpan c = CellsOf(e);
    const CellSpan old = field.spans[i];
    if (e.near == field.extents[i].near && c.x0 == old.x0 && c.y0 == old.y0 && c.x1 == old.x1 &&
        c.y1 == old.y1) {
        field.extents[i] = e;
        return;
    }
    Unlist(i);
    field.extents[i] = e;
    field.spans[i] = c;
    List(i);
}

void Build() {
    const std::size_t n = Sprites.size();
    field.cannons = Twin();
    field.boss = Boss();
    field.extents.resize(n);
    field.spans.resize(n);
    field.seen.assign(n, 0);
    field.look = 0;
    field.near_ones.clear();
    for (auto& row : field.cells)
        for (auto& cell : row) cell.clear();
    for (std::size_t i = 0; i < n; ++i) {
        field.extents[i] = ExtentOf(i);
        field.spans[i] = CellsOf(field.extents[i]);
        List(i);
    }
}

void Consider(uint32_t j, const Extent& me) {
    if (field.seen[j] == field.look) return;
    field.seen[j] = field.look;
    const Extent& e = field.extents[j];
    if (e.near || Meets(e, me)) field.nearby.push_back(j);
}

void CollideNearby(Sprite* self) {
    // First the sprites worth a look, from the cells the sprite at hand
    // reaches into and the near ones; then the rules for those, in list order.
    const Extent me = field.extents[field.at];
    const CellSpan c = field.spans[field.at];
    ++field.look;
    field.nearby.clear();
    for (uint32_t j : field.near_ones) Consider(j, me);
    for (int y = c.y0; y <= c.y1; ++y)
        for (int x = c.x0; x <= c.x1; ++x)
            for (uint32_t j : field.cells[y][x]) Consider(j, me);
    std::sort(field.nearby.begin(), field.nearby.end());
    for (uint32_t j : field.nearby) {
        Sprite* other = Sprites[j];
        if (ShotAgainstObject(self, other)) return;
        CannonHit(other);
        BonusPickUp(other);
        BossHit(other);
    }
}

void CollideWithEveryone(Sprite* self) {
    for (Sprite* other : Sprites) {
        if (ShotAgainstObject(self, other)) return;
        CannonHit(other);
        BonusPickUp(other);
        BossHit(other);
    }
}

}  // namespace

void Collision(Sprite* self) {
    if (field.active && field.at < Sprites.size() && Sprites[field.at] == self) {
        CollideNearby(self);
    } else {
        CollideWithEveryone(self);
    }
}

void MoveAndCollide() {
    Build();
    field.active = true;
    for (field.at = 0; field.at < Sprites.size(); ++field.at) {
        Sprite* sprite = Sprites[field.at];
        sprite->Update();
        Refresh(field.at);
        Collision(sprite);
    }
    field.active = false;
}

}  // namespace Game

#include "sprites.h"

#include "assets.h"

namespace Game {

std::vector<Sprite*> Sprites;

namespace {

// The victory text always stands in the same place, wherever it is asked for.
constexpr int victory_text_x = 170;
constexpr int victory_text_y = 220;

using S = SpriteSetup;
const SpriteKind sprite_kinds[] = {
    // code                     image             frames                  dx  dy delay enemy  setup
    {kind::player_shot,        &delo_strela,     delo_strela_frames,      0, -6, 0,  false, S::kNone},
    {kind::eye,                &oko,             oko_frames,              4,  0, 4,  true,  S::kNone},
    {kind::eye_shot,           &oko_strela,      oko_strela_frames,       0,  3, 0,  false, S::kNone},
    {kind::skull,              &lebka,           lebka_frames,           -3,  0, 4,  true,  S::kNone},
    {kind::skull_shot,         &lebka_strela,    lebka_strela_frames,    -5,  5, 0,  false, S::kNone},
    {kind::rocket,             &raketa,          raketa_frames,           0, 10, 2,  false, S::kNone},
    {kind::saucer,             &talir,           talir_frames,            4,  1, 4,  true,  S::kNone},
    {kind::saucer_shot,        &talir_strela,    talir_strela_frames,     4,  6, 0,  false, S::kNone},
    {kind::helicopter,         &vrtulnik,        vrtulnik_frames,         2,  0, 2,  true,  S::kNone},
    {kind::helicopter_shot,    &vrtulnik_strela, vrtulnik_strela_frames,  0,  5, 0,  false, S::kNone},
    {kind::satellite,          &satelit,         satelit_frames,          3,  0, 10, true,  S::kNone},
    {kind::satellite_shot,     &satelit_strela,  satelit_strela_frames,   0,  6, 0,  false, S::kNone},
    {kind::ship,               &lod,             lod_frames,              4,  0, 6,  true,  S::kNone},
    {kind::ship_shot,          &lod_strela,      lod_strela_frames,       0,  8, 0,  false, S::kNone},
    {kind::twin_bonus,         &bonus_dve_dela,  bonus_dve_dela_frames,   0,  4, 0,  false, S::kBonus},
    {kind::speed_bonus,        &bonus_rychlost,  bonus_rychlost_frames,   0,  4, 0,  false, S::kBonus},
    {kind::life_bonus,         &bonus_zivot,     bonus_zivot_frames,      0,  4, 0,  false, S::kBonus},
    // Built as one frame, then switched at once to the whole explosion sheet.
    {kind::explosion_fragment, &explosion_big,   1,                       0,  0, 0,  false, S::kExplosion},
    {kind::victory_text,       &text_win,        text_win_frames,         0,  0, 0,  false, S::kVictoryText},
    {kind::power_text,         &text_power,      text_power_frames,       0,  0, 0,  false, S::kText},
    {kind::speed_text,         &text_speed,      text_speed_frames,       0,  0, 0,  false, S::kText},
    {kind::health_text,        &text_health,     text_health_frames,      0,  0, 0,  false, S::kText},
};

}  // namespace

const SpriteKind* FindSpriteKind(int code) {
    for (const SpriteKind& kind : sprite_kinds)
        if (kind.code == code) return &kind;
    return nullptr;
}

void AddSprite(int x, int y, int type) {
    const SpriteKind* kind = FindSpriteKind(type);
    if (!kind) return;
    if (kind->setup == S::kVictoryText) {
        x = victory_text_x;
        y = victory_text_y;
    }
    Sprite* sprite = new Sprite(*kind->image, x, y, kind->frames, kind->dx, kind->dy, kind->delay,
                                kind->enemy, kind->code);
    switch (kind->setup) {
    case S::kBonus: sprite->SetBonus(true); break;
    case S::kExplosion: sprite->SetExplosion(explosion_big); break;
    case S::kText:
    case S::kVictoryText: sprite->SetText(true); break;
    case S::kNone: break;
    }
    Sprites.push_back(sprite);
}

void RemoveSpriteAt(std::size_t index) {
    delete Sprites[index];
    Sprites.erase(Sprites.begin() + std::ptrdiff_t(index));
}

void ClearSprites() {
    // The same walk as the removal of dead sprites, with every sprite going.
    while (!Sprites.empty()) RemoveSpriteAt(0);
}

}  // namespace Game

#include "assets.h"
#include "presentation.h"
#include "rules.h"
#include "sprites.h"
#include "state.h"

namespace Game {

namespace {

constexpr int slow_step = 5;
constexpr int fast_step = 10;     // with the speed bonus
constexpr int volley_ticks = 10;  // a volley needs more ticks than this since the last
constexpr int muzzle_x = 6;       // where the barrel stands on the cannon

}  // namespace

void Keys() {
    if (life <= 0 || menu) return;
    const Uint8* held = SDL_GetKeyState(nullptr);
    const int step = bonusy_rychlost ? fast_step : slow_step;
    if (held[SDLK_RIGHT]) delo_rect.x = Sint16(delo_rect.x + step);
    if (held[SDLK_LEFT]) delo_rect.x = Sint16(delo_rect.x - step);

    // Only the first bound that is broken applies; the twin's wider bound may
    // need a second tick.
    const int x = delo_rect.x, w = delo->w;
    if (x < 0) {
        delo_rect.x = 0;
    } else if (x + w > 800) {
        delo_rect.x = Sint16(800 - w);
    } else if (bonusy_dve_dela && x + 2 * w > 800) {
        delo_rect.x = Sint16(800 - 2 * w);
    }

    if (held[SDLK_SPACE] && delo_strela_omezeni > volley_ticks) {
        delo_strela_omezeni = 0;
        const int shot_y = delo_rect.y - delo_strela->h;
        AddSprite(delo_rect.x + muzzle_x, shot_y, kind::player_shot);
        if (bonusy_dve_dela) AddSprite(delo_rect.x + w + muzzle_x, shot_y, kind::player_shot);
        Mix_PlayChannelTimed(any_channel, sound_strela, 0, -1);  // one sound a volley
    }
}

}  // namespace Game

#include "state.h"

#include "assets.h"
#include "presentation.h"
#include "sprites.h"

#include <SDL_mixer.h>

namespace Game {

int32_t fps = 25;
uint32_t time_now;
uint32_t time_last;
SDL_Rect delo_rect;
int32_t delo_strela_omezeni;
int32_t score;
int32_t life;
bool me_down;
int32_t best_scores[10];
bool score_done;
int32_t score_entry = no_score_entry;
bool menu;
bool fullscreen;
bool boss_attack;
SDL_Rect boss_rect;
int32_t boss_zivoty;
SDL_Rect boss_speed;
bool boss_kill;
bool pause;
bool sound_ground;
bool sound_game;
std::atomic<bool> play;
bool bonusy_dve_dela;
bool bonusy_rychlost;
bool txt_power;
bool txt_speed;
bool txt_health;

void ResetCannon() {
    // 553 is the track the cannon's base stands on.
    delo_rect.x = Sint16(400 - delo->w);
    delo_rect.y = Sint16(553 - delo->h);
}

void StartGame() {
    ResetCannon();
    life = 3;
    score = 0;
    time_last = 0;  // the next tick runs without waiting
    delo_strela_omezeni = 0;
    me_down = false;
    bonusy_dve_dela = false;
    bonusy_rychlost = false;
    score_done = false;
    score_entry = no_score_entry;  // a new game has no place in the table yet
    menu = false;
    boss_attack = false;
    boss_kill = false;
    txt_power = false;
    txt_speed = false;
    txt_health = false;
    pause = false;
    sound_game = false;
    ClearSprites();
}

void MeDown() {
    life = life - 1;
    ResetCannon();
    // Everything on the field goes, the sprite that hit the cannon included.
    ClearSprites();
    me_down = false;
    bonusy_dve_dela = false;
    bonusy_rychlost = false;
    // The last life gets the game-over jingle instead, at the end of the update.
    if (life > 0) Mix_PlayChannelTimed(any_channel, sound_medown, 0, -1);
}

}  // namespace Game

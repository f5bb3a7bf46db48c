// The game-state record: every value the subsystems share, as globals of the
// one game module, plus the course of a game (new game, a life lost).
#pragma once

#include <SDL.h>

#include <atomic>
#include <cstdint>

namespace Game {

// In the order the module declares them.
extern int32_t fps;                   // tick period in milliseconds, despite the name
extern uint32_t time_now;             // the clock as the loop last read it
extern uint32_t time_last;            // the clock must pass this before the next tick
extern SDL_Rect delo_rect;            // cannon's top-left corner (left cannon of a twin)
extern int32_t delo_strela_omezeni;   // ticks since the last volley; also the game-over wait
extern int32_t score;
extern int32_t life;
extern bool me_down;                  // something hit the cannon during this tick
extern int32_t best_scores[10];       // highest first
extern bool score_done;               // this game's score was offered to best_scores
extern int32_t score_entry;           // this game's place in best_scores, or no_score_entry
extern bool menu;
extern bool fullscreen;
extern bool boss_attack;
extern SDL_Rect boss_rect;
extern int32_t boss_zivoty;           // the boss's hit points
extern SDL_Rect boss_speed;
extern bool boss_kill;                // the boss fell; the victory text is up
extern bool pause;
extern bool sound_ground;             // the small explosion sounded in this tick
extern bool sound_game;               // the game-over jingle sounded for this game
extern std::atomic<bool> play;        // a music track is playing; cleared by the mixer thread
extern bool bonusy_dve_dela;          // twin cannon held
extern bool bonusy_rychlost;          // speed bonus held
extern bool txt_power;                // pop-up texts waiting for the world update
extern bool txt_speed;
extern bool txt_health;

constexpr int32_t no_score_entry = -1;

// Puts the cannon (the pair, with the twin bonus) in the middle of the track.
void ResetCannon();

// Return in the menu or after a lost game: a fresh game with three lives.
void StartGame();

// The cannon was hit: one life fewer and a cleared field.
void MeDown();

}  // namespace Game

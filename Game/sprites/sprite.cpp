#include "sprite.h"

#include "assets.h"
#include "presentation.h"
#include "scores.h"
#include "sprites.h"
#include "state.h"

namespace Game {

namespace {

constexpr int ground_line = 541;
constexpr int explosion_frames = 7;
constexpr int victory_text_ticks = 200;  // about five seconds
constexpr int popup_text_ticks = 50;

}  // namespace

Sprite::Sprite(SDL_Surface* image, int x, int y, int frames, int dx, int dy, int delay,
               bool enemy, int type)
    : image(image), pos(), speed(), dead(false), frame_count(frames), frame_index(0),
      tick_count(0), frame_delay(delay), is_enemy(enemy), sprite_type(type), exploding(false),
      reverse(0), since_shot(0), is_bonus(false), is_text(false) {
    pos.x = Sint16(x);
    pos.y = Sint16(y);
    speed.x = Sint16(dx);
    speed.y = Sint16(dy);
}

void Sprite::Update() {
    pos.x = Sint16(pos.x + speed.x);
    pos.y = Sint16(pos.y + speed.y);

    if (pos.y + image->h < 0) {
        dead = true;  // wholly above the top edge
    } else if (pos.x > 800) {
        dead = true;  // past the right edge; a left edge at 800 still counts as on screen
    } else if (pos.x + GetWidth() < 0) {
        dead = true;  // the whole frame is past the left edge
    } else if (pos.y + image->h > ground_line && !exploding) {
        SetExplosion(explosion_small);
        pos.y = Sint16(ground_line - explosion_small->h);  // the burst stands on the ground
        // One ground burst sound per tick, however many things land.
        if (!sound_ground) {
            Mix_PlayChannelTimed(any_channel, sound_vybuch_small, 0, -1);
            sound_ground = true;
        }
    }

    const int last = frame_count - 1;
    if (exploding) {
        // Frames 0 to 6, then back from 6 to 2 and down to 0, then gone.
        if (reverse == 0 && frame_index != last && tick_count > frame_delay) {
            frame_index += 1;
            tick_count = 0;
        } else if (reverse == 0 && frame_index == last) {
            frame_index -= 4;
            reverse = 1;
            tick_count = 0;
        } else if (reverse == 1 && frame_index != 0 && tick_count > frame_delay) {
            frame_index -= 1;
            tick_count = 0;
        } else if (reverse == 1 && frame_index == 0) {
            dead = true;
            tick_count = 0;
        }
    } else if (frame_index != last && tick_count > frame_delay) {
        frame_index += 1;
        tick_count = 0;
    } else if (frame_index == last) {
        frame_index = 0;  // the last frame shows for one tick only
        tick_count = 0;
    }
    tick_count += 1;
    since_shot += 1;

    if (is_text && since_shot > victory_text_ticks && sprite_type == kind::victory_text) {
        // The victory text has had its time: back to the menu.
        dead = true;
        menu = true;
        boss_kill = false;
        CheckScore();
    } else if (is_text && since_shot > popup_text_ticks && sprite_type != kind::victory_text) {
        dead = true;
    }
}

void Sprite::Draw() {
    if (!screen) return;  // the display could not be made again; the program is ending
    const int width = GetWidth();
    SDL_Rect source;
    source.x = Sint16(width * frame_index);
    source.y = 0;
    source.w = Uint16(width);
    source.h = Uint16(image->h);
    SDL_Rect destination = pos;  // the blit clips its own copy, never pos
    SDL_SetColorKey(image, SDL_SRCCOLORKEY, SDL_MapRGB(image->format, 255, 0, 255));
    SDL_BlitSurface(image, &source, screen, &destination);
}

void Sprite::SetExplosion(SDL_Surface* sheet) {
    image = sheet;
    exploding = true;
    frame_count = explosion_frames;
    frame_index = 0;
    speed.x = 0;
    speed.y = 0;
    reverse = 0;
    frame_delay = 1;
    tick_count = 0;
}

}  // namespace Game

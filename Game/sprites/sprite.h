// Everything on the field but the cannon and the boss: shots, enemies,
// bonuses, explosions and floating texts. A sprite points into a shared sheet
// of equal-width frames laid side by side; it owns nothing.
#pragma once

#include <SDL.h>

namespace Game {

class Sprite {
public:
    Sprite(SDL_Surface* image, int x, int y, int frames, int dx, int dy, int delay, bool enemy,
           int type);

    // One tick: move, leave the field or burst on the ground, animate, expire.
    void Update();
    // The current frame onto the screen, magenta transparent.
    void Draw();
    // Stops the sprite and plays the given 7-frame explosion sheet from its start.
    void SetExplosion(SDL_Surface* sheet);

    int GetFrameNow() const { return frame_index; }
    int GetPositionX() const { return pos.x; }
    int GetPositionY() const { return pos.y; }
    void SetPositionX(int x) { pos.x = Sint16(x); }
    void SetPositionY(int y) { pos.y = Sint16(y); }
    int GetLateStrela() const { return since_shot; }
    void SetLateStrela(int ticks) { since_shot = ticks; }
    bool GetExplosionDie() const { return exploding; }
    bool GetDied() const { return dead; }
    void SetDied(bool value) { dead = value; }
    bool GetText() const { return is_text; }
    void SetText(bool value) { is_text = value; }
    int GetType() const { return sprite_type; }
    bool GetBonus() const { return is_bonus; }
    void SetBonus(bool value) { is_bonus = value; }
    bool GetEnemy() const { return is_enemy; }
    int GetWidth() const { return image->w / frame_count; }
    int GetHeight() const { return image->h; }

private:
    SDL_Surface* image;
    SDL_Rect pos;      // top-left corner; w and h unused
    SDL_Rect speed;    // pixels per tick, y downward; w and h unused
    bool dead;
    int frame_count;
    int frame_index;
    int tick_count;    // ticks since the last frame change
    int frame_delay;   // a frame advances once tick_count exceeds this
    bool is_enemy;
    int sprite_type;
    bool exploding;
    int reverse;       // 1 once the explosion plays backward
    int since_shot;    // ticks since created or since it last fired; a text's age
    bool is_bonus;
    bool is_text;
};

}  // namespace Game

#include "assets.h"
#include "presentation.h"
#include "sprites.h"
#include "state.h"

#include <cstdio>

namespace Game {

namespace {

const SDL_Color white = {255, 255, 255, 0};

// The HUD and overlay places on the 800 x 600 screen.
constexpr int score_x = 580, score_y = 10;
constexpr int hearts_x = 750, hearts_y = 10, heart_gap = 5;
constexpr int boss_bar_x = 50, boss_bar_y = 15;
constexpr int game_over_x = 200, game_over_y = 150;
constexpr int title_x = 240, title_y = 50;
constexpr int heading_x = 340, heading_y = 200;
constexpr int best_x = 370;
constexpr int pause_x = 300, pause_y = 250;

// One destination serves every blit of the frame; the blit may clip it, so
// both coordinates are set anew before each one.
SDL_Rect destination;

// Overlays share the cannon's pixel format, so its magenta is theirs.
void Overlay(SDL_Surface* image, int x, int y) {
    SDL_SetColorKey(image, colour_key_flags, SDL_MapRGB(delo->format, 255, 0, 255));
    destination.x = Sint16(x);
    destination.y = Sint16(y);
    SDL_BlitSurface(image, nullptr, screen, &destination);
}

// Texts are rendered for the frame and freed right after their blit.
void Text(const char* text, int x, int y) {
    SDL_Surface* rendered = TTF_RenderText_Blended(font, text, white);
    destination.x = Sint16(x);
    destination.y = Sint16(y);
    SDL_BlitSurface(rendered, nullptr, screen, &destination);
    SDL_FreeSurface(rendered);
}

void Number(int value, int x, int y) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    Text(text, x, y);
}

}  // namespace

void Draw() {
    if (!screen) return;  // the display could not be made again; the program is ending
    destination.x = 0;
    destination.y = 0;
    SDL_BlitSurface(background, nullptr, screen, &destination);

    if (!menu) {
        Overlay(delo, delo_rect.x, delo_rect.y);
        if (bonusy_dve_dela) Overlay(delo, delo_rect.x + delo->w, delo_rect.y);
        TTF_SetFontStyle(font, TTF_STYLE_NORMAL);
        Number(score, score_x, score_y);
        int x = hearts_x;
        for (int i = 0; i < life; ++i) {
            Overlay(hearth, x, hearts_y);
            x = x - hearth->w - heart_gap;
        }
    }

    for (Sprite* sprite : Sprites) sprite->Draw();

    if (boss_attack) {
        Overlay(boss, boss_rect.x, boss_rect.y);
        int x = boss_bar_x;
        for (int i = 0; i < boss_zivoty; ++i) {
            Overlay(boss_zivot, x, boss_bar_y);
            x = x + boss_zivot->w;
        }
    }

    if (life <= 0) Overlay(game_over, game_over_x, game_over_y);

    if (menu) {
        TTF_SetFontStyle(font, TTF_STYLE_NORMAL);
        Overlay(menu_nazev, title_x, title_y);
        Text("The Best Score", heading_x, heading_y);
        const int skip = TTF_FontLineSkip(font);
        int y = heading_y + 2 * skip;
        for (int best : best_scores) {
            Number(best, best_x, y);
            y = y + skip;
        }
    }

    if (pause) Overlay(text_pause, pause_x, pause_y);

    SDL_Flip(screen);
}

}  // namespace Game

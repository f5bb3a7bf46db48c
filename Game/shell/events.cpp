#include "assets.h"
#include "presentation.h"
#include "shell.h"
#include "state.h"

#include <cstdio>

namespace Game {

namespace {

// P: only a running game pauses, and the music pauses with it.
void TogglePause() {
    if (menu || life <= 0) return;
    pause = !pause;
    if (pause) {
        Mix_PauseMusic();
    } else {
        Mix_ResumeMusic();
    }
}

}  // namespace

bool Event() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) return false;
        if (event.type != SDL_KEYDOWN) continue;
        switch (event.key.keysym.sym) {
        case SDLK_ESCAPE:
            return false;
        case SDLK_RETURN:
            if (life <= 0 || menu) StartGame();
            break;
        case SDLK_f:
            if (!Fullscreen()) return false;
            // Switching the display also pauses or resumes a running game.
            TogglePause();
            break;
        case SDLK_p:
            TogglePause();
            break;
        case SDLK_m:
            PlayMusic();
            break;
        default:
            break;
        }
    }
    return true;
}

bool Fullscreen() {
    if (SDL_WM_ToggleFullScreen(screen) != 0) {
        fullscreen = !fullscreen;
        return true;
    }
    // The platform cannot switch in place: make the window again.
    SDL_FreeSurface(screen);
    const Uint32 flags = window_flags | (fullscreen ? 0 : SDL_FULLSCREEN);
    screen = SDL_SetVideoMode(screen_width, screen_height, screen_bits, flags);
    if (!screen) {
        std::fprintf(stderr, "Unable to recreate window: %s\n", SDL_GetError());
        return false;
    }
    Draw();
    fullscreen = !fullscreen;
    return true;
}

}  // namespace Game

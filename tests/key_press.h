// A key press as the window system queues it, for the tests and the
// player's script to hand to the game.
#pragma once

#include <SDL.h>

inline SDL_Event KeyPress(SDLKey key) {
    SDL_Event event = {};
    event.type = SDL_KEYDOWN;
    event.key.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = key;
    return event;
}

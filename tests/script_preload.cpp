// A player's script for the real binary, loaded into it with LD_PRELOAD for
// the run under valgrind: it counts the frames the game shows (one SDL_Flip
// a tick) and at given ticks holds and releases keys and queues presses,
// ending with Escape, so that the run plays games and quits through the
// normal path. To keep valgrind's run short the clock runs faster and most
// frames copy no pixels; the game's own code runs in full in every tick.
// The number of ticks comes from ORBALUNE_SCRIPT_TICKS; the game itself
// reads no environment.
#include "key_press.h"

#include <SDL.h>

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

namespace {

struct Press { int every, at; SDLKey key; };
// Each key is pressed at tick `at` of every `every` ticks.
const Press presses[] = {
    {400, 20, SDLK_RETURN},  // a game, and a new one whenever the last is lost
    {1500, 700, SDLK_p},     // a pause of sixty ticks
    {1500, 760, SDLK_p},
    {1500, 1000, SDLK_m},    // another track
    {1500, 1200, SDLK_f},    // fullscreen and back
    {1500, 1230, SDLK_f},
};

void Queue(SDLKey key) {
    SDL_Event event = KeyPress(key);
    SDL_PushEvent(&event);
}

int tick = 0;

void Play(int ticks) {
    ++tick;
    Uint8* held = SDL_GetKeyState(nullptr);
    held[SDLK_SPACE] = tick > 25;
    held[SDLK_LEFT] = tick / 50 % 2 == 0;
    held[SDLK_RIGHT] = tick / 50 % 2 == 1;
    for (const Press& press : presses)
        if (tick % press.every == press.at) Queue(press.key);
    if (tick == ticks) {
        std::fprintf(stderr, "script: Escape after %d ticks\n", ticks);
        Queue(SDLK_ESCAPE);
    }
}

}  // namespace

// The clock runs eight times as fast, so that the game's 25 ms pace does not
// hold back a run that valgrind already slows down.
extern "C" Uint32 SDL_GetTicks() {
    using Ticks = Uint32 (*)();
    static const Ticks real = reinterpret_cast<Ticks>(dlsym(RTLD_NEXT, "SDL_GetTicks"));
    return real() * 8;
}

// Pixels are copied in one tick of ten only: under valgrind every copied
// pixel costs, and the game's own drawing code still runs in every tick.
extern "C" int SDL_UpperBlit(SDL_Surface* src, SDL_Rect* srcrect, SDL_Surface* dst, SDL_Rect* dstrect) {
    using Blit = int (*)(SDL_Surface*, SDL_Rect*, SDL_Surface*, SDL_Rect*);
    static const Blit real = reinterpret_cast<Blit>(dlsym(RTLD_NEXT, "SDL_UpperBlit"));
    return tick % 10 == 0 ? real(src, srcrect, dst, dstrect) : 0;
}

extern "C" int SDL_Flip(SDL_Surface* surface) {
    using Flip = int (*)(SDL_Surface*);
    static const Flip real = reinterpret_cast<Flip>(dlsym(RTLD_NEXT, "SDL_Flip"));
    static const int ticks = [] {
        const char* text = std::getenv("ORBALUNE_SCRIPT_TICKS");
        return text ? std::atoi(text) : 3000;
    }();
    Play(ticks);
    return real(surface);
}

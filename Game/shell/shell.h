// The application shell: the program's entry and tick loop, start-up and
// shutdown, the event pump and the display switch.
#pragma once

#include <SDL.h>

// The program: start-up, the tick loop until the player quits, the best
// scores written, everything released. 1 after a failed start-up, else 0.
int SDL_main(int argc, char* argv[]);

// Everything of the game lives in this module.
namespace Game {

// The display: 800 x 600 at 32 bits, a double-buffered hardware surface,
// and fullscreen on request.
constexpr int screen_width = 800, screen_height = 600, screen_bits = 32;
constexpr Uint32 window_flags = SDL_HWSURFACE | SDL_DOUBLEBUF;

// Brings the game from nothing to the menu; false after a failure it has
// already reported on standard output.
bool Init();
// Releases whatever exists; safe after a partial start-up.
void Destroy();

// One tick; false when the program is to end.
bool Cycle();

// The pacing of the loop: a tick is due once the clock is strictly past the
// due time, and the next one is due fps milliseconds after the tick started.
// Unsigned arithmetic: the due time wraps with the clock.
bool TickDue(Uint32 now, Uint32 due);
Uint32 NextDue(Uint32 now);
// Rests while a tick is not yet due: without spinning the processor, and
// without oversleeping the due time.
void WaitForTick(Uint32 now, Uint32 due);

// Empties the event queue; false as soon as an event asks to end the program.
bool Event();
// Switches between window and fullscreen; false when the window could not be
// made again.
bool Fullscreen();

}  // namespace Game

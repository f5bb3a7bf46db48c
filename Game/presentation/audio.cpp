#include "assets.h"
#include "presentation.h"
#include "state.h"

#include <cstdlib>

namespace Game {

void PlayMusic() {
    if (music) {
        Mix_FreeMusic(music);  // also stops it
        music = nullptr;
    }
    music = Mix_LoadMUS(playlist[std::rand() % 18]);
    Mix_PlayMusic(music, 0);
    // Set even when the track failed to load: the M key draws another.
    play = true;
}

void SetMusic() { play = false; }

}  // namespace Game

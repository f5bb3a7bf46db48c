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
    // Set before the track starts, so that the mixer's word that it has ended
    // always comes after it; set even when the track failed to load, and the
    // M key draws another.
    play = true;
    Mix_PlayMusic(music, 0);
}

void SetMusic() { play = false; }

}  // namespace Game

#include "assets.h"

namespace Game {

// The tables are declared with their counts, so a row missing from the
// catalogue fails to compile here.

SDL_Surface* screen;
#define ORBALUNE_DEFINE_IMAGE(global, file, frames) SDL_Surface* global;
ORBALUNE_IMAGES(ORBALUNE_DEFINE_IMAGE)
TTF_Font* font;
#define ORBALUNE_DEFINE_SOUND(global, file) Mix_Chunk* global;
ORBALUNE_SOUNDS(ORBALUNE_DEFINE_SOUND)
Mix_Music* music;

#define ORBALUNE_IMAGE_ROW(global, file, frames) {file, &global},
const ImageAsset image_assets[] = {ORBALUNE_IMAGES(ORBALUNE_IMAGE_ROW)};

#define ORBALUNE_SOUND_ROW(global, file) {file, &global},
const SoundAsset sound_assets[] = {ORBALUNE_SOUNDS(ORBALUNE_SOUND_ROW)};

#define ORBALUNE_MUSIC_ROW(file) file,
const char* const playlist[] = {ORBALUNE_MUSIC(ORBALUNE_MUSIC_ROW)};

}  // namespace Game

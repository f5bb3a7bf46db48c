// Handles of everything loaded at start-up; null until loaded and again once
// released. The catalogue says which file each comes from.
#pragma once

#include "catalogue.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

namespace Game {

extern SDL_Surface* screen;  // the display surface; SDL owns it

// Magenta is transparent in every sheet and overlay. The key is set before
// each blit; run-length encoding lets a blit skip the transparent runs
// instead of testing every pixel, with the same pixels on screen.
constexpr Uint32 colour_key_flags = SDL_SRCCOLORKEY | SDL_RLEACCEL;
#define ORBALUNE_DECLARE_IMAGE(global, file, frames) \
    extern SDL_Surface* global;                      \
    constexpr int global##_frames = frames;
ORBALUNE_IMAGES(ORBALUNE_DECLARE_IMAGE)
#undef ORBALUNE_DECLARE_IMAGE
extern TTF_Font* font;
#define ORBALUNE_DECLARE_SOUND(global, file) extern Mix_Chunk* global;
ORBALUNE_SOUNDS(ORBALUNE_DECLARE_SOUND)
#undef ORBALUNE_DECLARE_SOUND
extern Mix_Music* music;

// One row per loaded file, in load order: where it comes from, where it goes.
struct ImageAsset { const char* file; SDL_Surface** global; };
struct SoundAsset { const char* file; Mix_Chunk** global; };
extern const ImageAsset image_assets[31];
extern const SoundAsset sound_assets[9];
extern const char* const playlist[18];

}  // namespace Game

#include "assets.h"
#include "presentation.h"
#include "scores.h"
#include "shell.h"
#include "sprites.h"
#include "state.h"

#include <cstdio>
#include <cstdlib>

namespace Game {

namespace {

// The Czech messages are kept in Windows-1250, as the game has always
// printed them: 0xF8 is ř, 0xED is í.
const char* const sdl_init_failed = "Inicializace SDL se nezda\xF8ila: %s\n";
const char* const window_failed = "Vytvo\xF8" "en\xED okna se nezda\xF8ilo: %s\n";

bool Fail(const char* format) {
    std::printf(format, SDL_GetError());
    return false;
}

// Every asset is needed, so the first one missing stops the start-up with
// its name rather than a crash at its first use. The file is opened first so
// that the message tells why it could not be opened.
template <class Handle, class Loader>
bool Load(const char* file, Handle** global, Loader load) {
    SDL_RWops* stream = SDL_RWFromFile(file, "rb");
    *global = stream ? load(stream, 1) : nullptr;
    if (*global) return true;
    std::printf("Unable to load %s: %s\n", file, SDL_GetError());
    return false;
}

}  // namespace

bool Init() {
    if (SDL_Init(SDL_INIT_AUDIO | SDL_INIT_VIDEO) == -1) return Fail(sdl_init_failed);
    screen = SDL_SetVideoMode(screen_width, screen_height, screen_bits, window_flags);
    if (!screen) return Fail(window_failed);
    SDL_WM_SetCaption("Orbalune", nullptr);
    if (TTF_Init() == -1) return Fail("Unable to initialize SDL_ttf: %s\n");
    font = TTF_OpenFont(ORBALUNE_FONT_FILE, ORBALUNE_FONT_SIZE);
    if (!font) return Fail("Unable to open font: %s\n");
    if (Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024) == -1)
        return Fail("Unable to initializace SDL_mixer: %s\n");
    Mix_AllocateChannels(20);

    for (const SoundAsset& sound : sound_assets)
        if (!Load(sound.file, sound.global, Mix_LoadWAV_RW)) return false;
    Mix_VolumeChunk(sound_strela, 80);
    // Drawn before the generator is seeded: every run opens with the same track.
    PlayMusic();
    Mix_VolumeMusic(50);
    Mix_HookMusicFinished(SetMusic);

    for (const ImageAsset& image : image_assets)
        if (!Load(image.file, image.global, SDL_LoadBMP_RW)) return false;
    // The time loading took makes every run's enemies different.
    std::srand(SDL_GetTicks());
    ReadScore();

    ResetCannon();
    me_down = false;
    bonusy_dve_dela = false;
    bonusy_rychlost = false;
    score_done = false;
    score_entry = no_score_entry;
    life = 3;
    score = 0;
    menu = true;
    fullscreen = false;
    boss_attack = false;
    boss_kill = false;
    txt_power = false;
    txt_speed = false;
    txt_health = false;
    pause = false;
    sound_ground = false;
    sound_game = false;
    return true;
}

void Destroy() {
    for (const ImageAsset& image : image_assets) {
        if (*image.global) {
            SDL_FreeSurface(*image.global);
            *image.global = nullptr;
        }
    }
    if (font) {
        TTF_CloseFont(font);
        font = nullptr;
    }
    for (const SoundAsset& sound : sound_assets) {
        if (*sound.global) {
            Mix_FreeChunk(*sound.global);
            *sound.global = nullptr;
        }
    }
    if (music) {
        Mix_FreeMusic(music);
        music = nullptr;
    }
    ClearSprites();
    Mix_CloseAudio();
    TTF_Quit();
    SDL_Quit();
    screen = nullptr;  // went with the video subsystem
}

}  // namespace Game

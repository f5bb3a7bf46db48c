// Every generated asset against what the game relies on when it loads and
// draws it: one pass over the catalogue.
#include "catalogue.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct ImageRow { const char* file; int frames; };
#define ORBALUNE_IMAGE_ROW(global, file, frames) {file, frames},
const ImageRow image_rows[] = {ORBALUNE_IMAGES(ORBALUNE_IMAGE_ROW)};
#define ORBALUNE_FILE_ROW(global, file) file,
const char* const sound_files[] = {ORBALUNE_SOUNDS(ORBALUNE_FILE_ROW)};
#define ORBALUNE_MUSIC_ROW(file) file,
const char* const music_files[] = {ORBALUNE_MUSIC(ORBALUNE_MUSIC_ROW)};

// Solid pictures: drawn without any transparent pixel.
bool IsSolid(const std::string& file) {
    return file == "IMG/Background.bmp" || file == "IMG/Boss_zivot.bmp";
}

Uint32 PixelAt(SDL_Surface* s, int x, int y) {
    const Uint8* p = static_cast<Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
    Uint32 v = 0;
    for (int i = 0; i < s->format->BytesPerPixel; ++i) v |= Uint32(p[i]) << (8 * i);
    return v;
}

struct Rgb { int r, g, b; };
Rgb ColourAt(SDL_Surface* s, int x, int y) {
    Uint8 r, g, b;
    SDL_GetRGB(PixelAt(s, x, y), s->format, &r, &g, &b);
    return {r, g, b};
}
bool IsMagenta(Rgb c) { return c.r == 255 && c.g == 0 && c.b == 255; }

class Assets : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024), 0) << Mix_GetError();
        ASSERT_EQ(TTF_Init(), 0) << TTF_GetError();
    }
    static void TearDownTestSuite() {
        TTF_Quit();
        Mix_CloseAudio();
        SDL_Quit();
    }
};

TEST_F(Assets, ImagesShareTheCannonFormatAndHoldWholeTransparentFrames) {
    SDL_Surface* delo = SDL_LoadBMP("IMG/Delo.bmp");
    ASSERT_NE(delo, nullptr) << SDL_GetError();
    EXPECT_EQ(delo->format->BitsPerPixel, 24);
    for (const ImageRow& row : image_rows) {
        SCOPED_TRACE(row.file);
        SDL_Surface* img = SDL_LoadBMP(row.file);
        ASSERT_NE(img, nullptr) << SDL_GetError();
        EXPECT_EQ(img->format->BitsPerPixel, delo->format->BitsPerPixel);
        EXPECT_EQ(img->format->Rmask, delo->format->Rmask);
        EXPECT_EQ(img->format->Gmask, delo->format->Gmask);
        EXPECT_EQ(img->format->Bmask, delo->format->Bmask);
        EXPECT_GT(img->h, 0);
        EXPECT_EQ(img->w % row.frames, 0) << "width " << img->w << ", frames " << row.frames;
        const int fw = img->w / row.frames;
        int magenta = 0, fringe = 0;
        SDL_LockSurface(img);
        for (int y = 0; y < img->h; ++y)
            for (int x = 0; x < img->w; ++x) {
                Rgb c = ColourAt(img, x, y);
                if (IsMagenta(c)) {
                    ++magenta;
                } else if (std::abs(c.r - 255) + c.g + std::abs(c.b - 255) < 48) {
                    ++fringe;  // would show as a pink halo around the sprite
                }
            }
        EXPECT_EQ(fringe, 0);
        if (IsSolid(row.file)) {
            EXPECT_EQ(magenta, 0);
        } else {
            for (int f = 0; f < row.frames; ++f) {
                const int x0 = f * fw, x1 = x0 + fw - 1, y1 = img->h - 1;
                EXPECT_TRUE(IsMagenta(ColourAt(img, x0, 0)) && IsMagenta(ColourAt(img, x1, 0)) &&
                            IsMagenta(ColourAt(img, x0, y1)) && IsMagenta(ColourAt(img, x1, y1)))
                    << "frame " << f << " has an opaque corner";
                int opaque = 0;
                for (int y = 0; y < img->h; ++y)
                    for (int x = x0; x <= x1; ++x) opaque += !IsMagenta(ColourAt(img, x, y));
                EXPECT_GT(opaque, fw * img->h / 10) << "frame " << f << " is nearly empty";
            }
        }
        SDL_UnlockSurface(img);
        SDL_FreeSurface(img);
    }
    SDL_FreeSurface(delo);
}

TEST_F(Assets, SoundsMusicAndFontLoad) {
    for (const char* file : sound_files) {
        // Mono 16-bit at the mixer's own rate: loaded without resampling,
        // which SDL 1.2 does only coarsely.
        SDL_AudioSpec wav;
        Uint8* pcm = nullptr;
        Uint32 bytes = 0;
        if (SDL_LoadWAV(file, &wav, &pcm, &bytes)) {
            EXPECT_EQ(wav.freq, 22050) << file;
            EXPECT_EQ(wav.format, AUDIO_S16LSB) << file;
            EXPECT_EQ(wav.channels, 1) << file;
            SDL_FreeWAV(pcm);
        }
        Mix_Chunk* chunk = Mix_LoadWAV(file);
        EXPECT_NE(chunk, nullptr) << file << ": " << Mix_GetError();
        if (chunk) {
            EXPECT_GT(chunk->alen, 0u) << file;
            Mix_FreeChunk(chunk);
        }
    }
    EXPECT_EQ(sizeof music_files / sizeof *music_files, 18u);
    for (const char* file : music_files) {
        Mix_Music* music = Mix_LoadMUS(file);
        EXPECT_NE(music, nullptr) << file << ": " << Mix_GetError();
        if (music) Mix_FreeMusic(music);
    }
    TTF_Font* font = TTF_OpenFont(ORBALUNE_FONT_FILE, ORBALUNE_FONT_SIZE);
    ASSERT_NE(font, nullptr) << TTF_GetError();
    EXPECT_GT(TTF_FontLineSkip(font), 0);
    TTF_CloseFont(font);
}

}  // namespace

// The whole game started headless in a sandbox, as the player's binary
// starts it, with helpers to drive it tick by tick.
#pragma once

#include "assets.h"
#include "presentation.h"
#include "rules.h"
#include "scores.h"
#include "shell.h"
#include "sprites.h"
#include "state.h"

#include "key_press.h"
#include "sandbox.h"
#include "sound_log.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

// The game's globals by their own names; its pause flag shares its name with
// POSIX pause(), so the tests write Game::pause.
using namespace Game;

class GameTest : public ::testing::Test {
protected:
    GameTest() : here_(sandbox_) {}

    void SetUp() override {
        ASSERT_TRUE(Init());
        ReleaseKeys();
        SoundsPlayed().clear();
    }
    void TearDown() override {
        ReleaseKeys();
        Destroy();
    }

    static Uint8* Held() { return SDL_GetKeyState(nullptr); }
    static void ReleaseKeys() {
        int count = 0;
        Uint8* keys = SDL_GetKeyState(&count);
        for (int i = 0; i < count; ++i) keys[i] = 0;
    }
    static void Queue(SDLKey key) {
        SDL_Event event = KeyPress(key);
        ASSERT_EQ(SDL_PushEvent(&event), 0);
    }
    static void QueueQuit() {
        SDL_Event event = {};
        event.type = SDL_QUIT;
        ASSERT_EQ(SDL_PushEvent(&event), 0);
    }
    static int PendingEvents() {
        SDL_Event events[64];
        return SDL_PeepEvents(events, 64, SDL_PEEKEVENT, SDL_ALLEVENTS);
    }
    // A game in progress on an empty field, with a known random sequence.
    static void NewGame(unsigned seed = 1) {
        StartGame();
        std::srand(seed);
    }
    // How many rand() calls `step` made, found by replaying the sequence.
    template <class Step>
    static int RandCalls(Step step, unsigned seed = 99) {
        std::srand(seed);
        step();
        const int next = std::rand();
        std::srand(seed);
        for (int n = 0; n < 10000; ++n)
            if (std::rand() == next) return n;
        return -1;
    }
    // Swaps a sheet global for a plain one of a fixed size, for rules that
    // hang on exact geometry; shutdown frees it like the loaded one.
    static void SwapSheet(SDL_Surface** global, int w, int h) {
        SDL_Surface* plain =
            SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
        SDL_FillRect(plain, nullptr, SDL_MapRGB(plain->format, 200, 200, 60));
        SDL_FreeSurface(*global);
        *global = plain;
    }
    // Every sprite sheet of the field swapped for a plain one of a fixed
    // size, so that recorded runs and exact geometry do not hang on the art.
    static void UsePlainSheets() {
        struct FixedSheet { SDL_Surface** global; int w, h; };
        const FixedSheet sheets[] = {
            {&delo, 28, 34},       {&delo_strela, 16, 20},   {&oko, 40 * 8, 40},
            {&oko_strela, 8, 12},  {&lebka, 40 * 11, 44},    {&lebka_strela, 10, 10},
            {&raketa, 16 * 3, 44}, {&talir, 56 * 6, 24},     {&talir_strela, 8, 8},
            {&vrtulnik, 84 * 4, 40}, {&vrtulnik_strela, 6, 12}, {&satelit, 44 * 5, 36},
            {&satelit_strela, 6, 10}, {&lod, 120 * 8, 48},   {&lod_strela, 8, 16},
            {&explosion_big, 48 * 7, 48}, {&explosion_small, 24 * 7, 24},
            {&bonus_dve_dela, 30, 30}, {&bonus_rychlost, 30, 30}, {&bonus_zivot, 30, 30},
            {&text_power, 160, 40}, {&text_speed, 160, 40}, {&text_health, 160, 40},
            {&boss, 220, 130},
        };
        for (const FixedSheet& sheet : sheets) SwapSheet(sheet.global, sheet.w, sheet.h);
    }
    static std::vector<int> Types() {
        std::vector<int> types;
        for (Sprite* s : Sprites) types.push_back(s->GetType());
        return types;
    }

    Sandbox sandbox_;
    InSandbox here_;
};

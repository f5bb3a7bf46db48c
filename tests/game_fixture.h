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
        SDL_Event event = {};
        event.type = SDL_KEYDOWN;
        event.key.type = SDL_KEYDOWN;
        event.key.state = SDL_PRESSED;
        event.key.keysym.sym = key;
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
    static std::vector<int> Types() {
        std::vector<int> types;
        for (Sprite* s : Sprites) types.push_back(s->GetType());
        return types;
    }

    Sandbox sandbox_;
    InSandbox here_;
};

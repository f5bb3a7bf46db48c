// The display switch on both of its paths, and its failure. The test build
// wraps SDL's in-place toggle and mode setting at link time, so each path can
// be chosen and the mode setting can be made to fail.
#include "game_fixture.h"

#include <cstdio>

namespace {

bool toggle_in_place = false;  // the platform switches the surface itself
bool refuse_mode = false;      // making the window again fails
std::vector<Uint32> modes_asked;

}  // namespace

extern "C" {
int __real_SDL_WM_ToggleFullScreen(SDL_Surface*);
SDL_Surface* __real_SDL_SetVideoMode(int, int, int, Uint32);

int __wrap_SDL_WM_ToggleFullScreen(SDL_Surface* surface) {
    return toggle_in_place ? 1 : __real_SDL_WM_ToggleFullScreen(surface);
}
SDL_Surface* __wrap_SDL_SetVideoMode(int w, int h, int bpp, Uint32 flags) {
    modes_asked.push_back(flags);
    if (refuse_mode) {
        SDL_SetError("no mode for you");
        return nullptr;
    }
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
    EXPECT_EQ(bpp, 32);
    return __real_SDL_SetVideoMode(w, h, bpp, flags);
}
}

namespace {

class Display : public GameTest {
protected:
    void SetUp() override {
        toggle_in_place = refuse_mode = false;
        GameTest::SetUp();
        modes_asked.clear();
    }
};

TEST_F(Display, StartsWindowedAndRecreatesTheWindowWhenItCannotToggleInPlace) {
    NewGame();
    Queue(SDLK_f);
    EXPECT_TRUE(Event());
    EXPECT_EQ(modes_asked, (std::vector<Uint32>{SDL_HWSURFACE | SDL_DOUBLEBUF | SDL_FULLSCREEN}));
    EXPECT_TRUE(fullscreen);
    EXPECT_TRUE(Game::pause);
    Queue(SDLK_f);
    EXPECT_TRUE(Event());
    EXPECT_EQ(modes_asked.back(), Uint32(SDL_HWSURFACE | SDL_DOUBLEBUF));
    EXPECT_FALSE(fullscreen);
    EXPECT_FALSE(Game::pause);
}

TEST_F(Display, AnInPlaceToggleMakesNoNewWindow) {
    toggle_in_place = true;
    SDL_Surface* before = screen;
    Queue(SDLK_f);
    EXPECT_TRUE(Event());
    EXPECT_TRUE(fullscreen);
    EXPECT_TRUE(modes_asked.empty());
    EXPECT_EQ(screen, before);
}

TEST_F(Display, AFailedSwitchEndsTheProgramAndTheTickRunsOnWithoutDrawing) {
    NewGame();
    AddSprite(100, 100, 2);
    Held()[SDLK_LEFT] = 1;
    refuse_mode = true;
    Queue(SDLK_f);
    Queue(SDLK_p);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(Cycle());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "Unable to recreate window: no mode for you\n");
    EXPECT_EQ(screen, nullptr);
    EXPECT_FALSE(fullscreen);
    EXPECT_FALSE(Game::pause);
    EXPECT_EQ(PendingEvents(), 1);  // the P behind it is never read
    // Keys and the world update still ran after the failure.
    EXPECT_EQ(delo_rect.x, 400 - delo->w - 5);
    EXPECT_EQ(Sprites[0]->GetPositionX(), 104);
}

}  // namespace

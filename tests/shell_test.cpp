// Start-up, the tick's pacing and the event pump, driven in-process.
#include "game_fixture.h"

namespace {

using Shell = GameTest;

TEST_F(Shell, StartsInTheMenuWithAFreshRecord) {
    EXPECT_TRUE(menu);
    EXPECT_EQ(life, 3);
    EXPECT_EQ(score, 0);
    EXPECT_EQ(delo_rect.x, 400 - delo->w);
    EXPECT_EQ(delo_rect.y, 553 - delo->h);
    EXPECT_EQ(delo_rect.w, 0);
    EXPECT_EQ(boss_rect.x, 0);
    EXPECT_EQ(boss_rect.y, 0);
    EXPECT_EQ(boss_speed.x, 0);
    EXPECT_EQ(boss_speed.y, 0);
    EXPECT_EQ(boss_zivoty, 0);
    EXPECT_EQ(fps, 25);
    for (bool flag : {me_down, score_done, fullscreen, boss_attack, boss_kill, Game::pause, sound_ground,
                      sound_game, bonusy_dve_dela, bonusy_rychlost, txt_power, txt_speed, txt_health})
        EXPECT_FALSE(flag);
    EXPECT_TRUE(play);
    EXPECT_NE(music, nullptr);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_TRUE(Sprites.empty());
    for (int best : best_scores) EXPECT_EQ(best, 0);  // no score file yet
    EXPECT_STREQ(SDL_GetVideoSurface() == screen ? "screen" : "other", "screen");
    char* title = nullptr;
    SDL_WM_GetCaption(&title, nullptr);
    EXPECT_STREQ(title, "Orbalune");
    EXPECT_EQ(screen->w, 800);
    EXPECT_EQ(screen->h, 600);
    EXPECT_EQ(Mix_AllocateChannels(-1), 20);
    EXPECT_EQ(Mix_VolumeChunk(sound_strela, -1), 80);
    EXPECT_EQ(Mix_VolumeChunk(sound_vybuch_big, -1), 128);
    EXPECT_EQ(Mix_VolumeMusic(-1), 50);
}

TEST_F(Shell, DestroyReleasesEveryHandleAndTheSprites) {
    AddSprite(10, 10, 2);
    Destroy();
    for (const ImageAsset& image : image_assets) EXPECT_EQ(*image.global, nullptr) << image.file;
    for (const SoundAsset& sound : sound_assets) EXPECT_EQ(*sound.global, nullptr) << sound.file;
    EXPECT_EQ(font, nullptr);
    EXPECT_EQ(music, nullptr);
    EXPECT_TRUE(Sprites.empty());
    Destroy();  // twice is harmless, as after a start-up that failed early
    ASSERT_TRUE(Init());
}

TEST(Pacing, ATickIsDueOnceTheClockIsStrictlyPastTheDueTime) {
    struct Case { Uint32 now, due; bool ticks; };
    const Case cases[] = {
        {0, 0, false},             // the first pass needs the clock past 0
        {1, 0, true},
        {25, 25, false},           // equal is not enough
        {26, 25, true},
        {0xFFFFFFF0u, 0xFFFFFFFFu, false},
        {0xFFFFFFF0u, 9, true},    // a due time that wrapped: ticks run back to back
        {3, 9, false},             // ... until the clock itself wraps
    };
    for (const Case& c : cases)
        EXPECT_EQ(TickDue(c.now, c.due), c.ticks) << c.now << " vs " << c.due;
    EXPECT_EQ(NextDue(1000), 1025u);
    EXPECT_EQ(NextDue(0xFFFFFFF0u), 9u);
}

TEST_F(Shell, ReturnStartsAGameOnlyFromTheMenuOrAfterALostGame) {
    struct Case { const char* state; bool in_menu; int lives; bool paused; bool killed; bool starts; };
    const Case cases[] = {
        {"menu", true, 3, false, false, true},
        {"game over", false, 0, false, false, true},
        {"below zero", false, -2, false, false, true},
        {"playing", false, 2, false, false, false},
        {"paused", false, 2, true, false, false},
        {"victory", false, 2, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        StartGame();
        AddSprite(100, 100, 2);
        menu = c.in_menu;
        life = c.lives;
        Game::pause = c.paused;
        boss_kill = c.killed;
        score = 1234;
        time_last = 5000;
        Queue(SDLK_RETURN);
        EXPECT_TRUE(Event());
        EXPECT_EQ(Sprites.empty(), c.starts);
        EXPECT_EQ(score == 0, c.starts);
        if (c.starts) {
            EXPECT_FALSE(menu);
            EXPECT_EQ(life, 3);
            EXPECT_EQ(time_last, 0u);
        }
    }
}

TEST_F(Shell, TwoPausePressesInOneTickLeaveThePauseAsItWas) {
    NewGame();
    Queue(SDLK_p);
    EXPECT_TRUE(Event());
    EXPECT_TRUE(Game::pause);
    EXPECT_EQ(Mix_PausedMusic(), 1);
    Queue(SDLK_p);
    Queue(SDLK_p);
    EXPECT_TRUE(Event());
    EXPECT_TRUE(Game::pause);
    Queue(SDLK_p);
    EXPECT_TRUE(Event());
    EXPECT_FALSE(Game::pause);
    EXPECT_EQ(Mix_PausedMusic(), 0);
}

TEST_F(Shell, PauseIsRefusedInTheMenuAndAfterALostGame) {
    Queue(SDLK_p);
    EXPECT_TRUE(Event());
    EXPECT_FALSE(Game::pause);  // the menu
    NewGame();
    life = 0;
    Queue(SDLK_p);
    EXPECT_TRUE(Event());
    EXPECT_FALSE(Game::pause);
}

TEST_F(Shell, EscapeOrACloseRequestLeavesTheRestOfTheQueueUnread) {
    NewGame();
    Queue(SDLK_p);
    Queue(SDLK_ESCAPE);
    Queue(SDLK_p);
    EXPECT_FALSE(Event());
    EXPECT_TRUE(Game::pause);
    EXPECT_EQ(PendingEvents(), 1);
    EXPECT_TRUE(Event());  // the P behind it, read only now
    EXPECT_FALSE(Game::pause);

    QueueQuit();
    Queue(SDLK_p);
    EXPECT_FALSE(Event());
    EXPECT_FALSE(Game::pause);
    EXPECT_EQ(PendingEvents(), 1);
}

TEST_F(Shell, OtherEventsAndKeysDoNothing) {
    NewGame();
    SDL_Event release = {};
    release.type = SDL_KEYUP;
    release.key.keysym.sym = SDLK_ESCAPE;
    SDL_PushEvent(&release);
    Queue(SDLK_KP_ENTER);
    Queue(SDLK_a);
    SDL_Event motion = {};
    motion.type = SDL_MOUSEMOTION;
    SDL_PushEvent(&motion);
    EXPECT_TRUE(Event());
    EXPECT_EQ(PendingEvents(), 0);
    EXPECT_FALSE(Game::pause);
    EXPECT_FALSE(menu);
}

TEST_F(Shell, FSwitchesTheDisplayAndPausesOnlyARunningGame) {
    Queue(SDLK_f);
    EXPECT_TRUE(Event());
    EXPECT_TRUE(fullscreen);
    EXPECT_FALSE(Game::pause);  // in the menu it only switches
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen, SDL_GetVideoSurface());

    NewGame();
    Queue(SDLK_f);
    EXPECT_TRUE(Event());
    EXPECT_FALSE(fullscreen);
    EXPECT_TRUE(Game::pause);
    EXPECT_EQ(Mix_PausedMusic(), 1);
    Queue(SDLK_f);
    EXPECT_TRUE(Event());
    EXPECT_TRUE(fullscreen);
    EXPECT_FALSE(Game::pause);
    EXPECT_EQ(Mix_PausedMusic(), 0);
}

TEST_F(Shell, MReplacesTheTrackInEveryStateAndDrawsOneRandomNumber) {
    NewGame();
    Game::pause = true;
    play = false;
    EXPECT_EQ(RandCalls([] {
                  Queue(SDLK_m);
                  Event();
              }),
              1);
    EXPECT_NE(music, nullptr);
    EXPECT_TRUE(play);
    EXPECT_TRUE(Game::pause);
}

TEST_F(Shell, APausedTickStillRollsAndDrawsButTheWorldStandsStill) {
    NewGame();
    AddSprite(100, 100, 2);
    Game::pause = true;
    const int counter = delo_strela_omezeni;
    EXPECT_EQ(RandCalls([] { EXPECT_TRUE(Cycle()); }), 2);  // the two spawn rolls only
    EXPECT_EQ(Sprites[0]->GetPositionX(), 100);
    EXPECT_EQ(delo_strela_omezeni, counter);
}

TEST_F(Shell, ATickWithoutADisplayRunsTheRulesAndSkipsTheDrawing) {
    NewGame();
    AddSprite(100, 100, 2);
    Held()[SDLK_RIGHT] = 1;
    screen = nullptr;  // as after a display switch that failed
    EXPECT_TRUE(Cycle());
    EXPECT_EQ(delo_rect.x, 400 - delo->w + 5);
    EXPECT_EQ(Sprites[0]->GetPositionX(), 104);
    Sprites[0]->Draw();
    screen = SDL_GetVideoSurface();
}

TEST_F(Shell, ALostGameIsOfferedToTheTableAtTheStartOfTheNextTick) {
    NewGame();
    score = 700;
    life = 0;
    EXPECT_TRUE(Cycle());
    EXPECT_TRUE(score_done);
    EXPECT_EQ(best_scores[0], 700);
    score = 900;  // offered once per lost game
    EXPECT_TRUE(Cycle());
    EXPECT_EQ(best_scores[0], 700);
}

}  // namespace

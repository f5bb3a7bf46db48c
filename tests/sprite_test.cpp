// A sprite's own tick: leaving the field, the ground burst, the animations,
// the texts' lifetimes; and the kinds the factory makes.
#include "game_fixture.h"

namespace {

using SpriteRules = GameTest;

// A one-frame sheet of the given size, for sprites of an exact geometry.
SDL_Surface* Sheet(int w, int h) {
    return SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
}

TEST_F(SpriteRules, LeavesTheFieldOnlyWhenWhollyOutside) {
    SDL_Surface* sheet = Sheet(40, 20);
    struct Case { const char* edge; int x, y, dx, dy; bool dies; };
    const Case cases[] = {
        {"left edge at 800", 796, 100, 4, 0, false},
        {"left edge at 801", 797, 100, 4, 0, true},
        {"bottom edge at 0", 100, -18, 0, -2, false},
        {"bottom edge at -1", 100, -19, 0, -2, true},
        {"right edge at 0", -36, 100, -4, 0, false},
        {"right edge at -1", -37, 100, -4, 0, true},
    };
    for (const Case& c : cases) {
        Sprite sprite(sheet, c.x, c.y, 1, c.dx, c.dy, 0, false, 3);
        sprite.Update();
        EXPECT_EQ(sprite.GetDied(), c.dies) << c.edge;
    }
    SDL_FreeSurface(sheet);
}

TEST_F(SpriteRules, BurstsOnTheGroundLineWithOneSoundATick) {
    SDL_Surface* sheet = Sheet(10, 20);
    Sprite above(sheet, 300, 518, 1, 0, 3, 0, false, 3);  // bottom edge reaches 541
    above.Update();
    EXPECT_FALSE(above.GetExplosionDie());
    EXPECT_EQ(above.GetPositionY(), 521);

    sound_ground = false;
    Sprite first(sheet, 300, 519, 1, 0, 3, 0, false, 3);   // bottom edge reaches 542
    Sprite second(sheet, 400, 519, 1, 0, 3, 0, false, 3);
    first.Update();
    EXPECT_TRUE(first.GetExplosionDie());
    EXPECT_EQ(first.GetPositionX(), 300);
    EXPECT_EQ(first.GetPositionY(), 541 - explosion_small->h);
    EXPECT_EQ(first.GetFrameNow(), 0);
    EXPECT_EQ(first.GetWidth(), explosion_small->w / 7);
    EXPECT_TRUE(sound_ground);
    second.Update();  // the same tick: no second sound
    ASSERT_EQ(SoundsPlayed().size(), 1u);
    EXPECT_EQ(SoundsPlayed()[0].chunk, sound_vybuch_small);
    EXPECT_EQ(SoundsPlayed()[0].channel, -1);
    EXPECT_EQ(SoundsPlayed()[0].loops, 0);
    EXPECT_EQ(SoundsPlayed()[0].ticks, -1);
    // Once the world update has cleared the guard, the next burst sounds.
    sound_ground = false;
    Sprite third(sheet, 500, 519, 1, 0, 3, 0, false, 3);
    third.Update();
    EXPECT_EQ(TimesPlayed(sound_vybuch_small), 2);

    // Below the ground, an explosion keeps going rather than restarting, and
    // it no longer moves.
    for (int n = 0; n < 5; ++n) first.Update();
    EXPECT_EQ(first.GetFrameNow(), 2);
    EXPECT_EQ(first.GetPositionY(), 541 - explosion_small->h);
    AddSprite(100, 560, 30);
    for (int n = 0; n < 3; ++n) Sprites.back()->Update();
    EXPECT_EQ(Sprites.back()->GetFrameNow(), 1);
    SDL_FreeSurface(sheet);
}

TEST_F(SpriteRules, AnExplosionPlaysForwardThenBackFromTwoAndDiesOnThe19thUpdate) {
    const int expected[] = {0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 2, 2, 1, 1, 0};
    AddSprite(100, 100, 30);
    Sprite& boom = *Sprites.back();
    EXPECT_TRUE(boom.GetExplosionDie());
    for (int n = 0; n < 18; ++n) {
        boom.Update();
        EXPECT_EQ(boom.GetFrameNow(), expected[n]) << "update " << n + 1;
        EXPECT_FALSE(boom.GetDied()) << "update " << n + 1;
    }
    boom.Update();
    EXPECT_TRUE(boom.GetDied());
    EXPECT_EQ(boom.GetPositionX(), 100);  // it never moved
}

TEST_F(SpriteRules, TheEyeHoldsEachFrameFiveTicksAndItsLastFrameOne) {
    AddSprite(100, 100, 2);
    Sprite& eye = *Sprites.back();
    std::vector<int> seen;
    for (int n = 0; n < 42; ++n) {
        eye.Update();
        seen.push_back(eye.GetFrameNow());  // the frame the tick shows
    }
    std::vector<int> expected;
    for (int frame = 0; frame < 7; ++frame) expected.insert(expected.end(), 5, frame);
    expected.push_back(7);
    expected.insert(expected.end(), 5, 0);
    expected.resize(42, 1);
    EXPECT_EQ(seen, expected);

    SDL_Surface* sheet = Sheet(10, 10);
    Sprite still(sheet, 100, 100, 1, 0, 0, 0, false, 3);
    for (int n = 0; n < 5; ++n) {
        still.Update();
        EXPECT_EQ(still.GetFrameNow(), 0);
    }
    SDL_FreeSurface(sheet);
}

TEST_F(SpriteRules, TextsExpireAndTheVictoryTextEndsTheGame) {
    NewGame();
    AddSprite(320, 50, 42);
    Sprite& popup = *Sprites.back();
    for (int n = 0; n < 50; ++n) popup.Update();
    EXPECT_FALSE(popup.GetDied());
    popup.Update();
    EXPECT_TRUE(popup.GetDied());
    EXPECT_FALSE(menu);

    score = 6000;
    boss_kill = true;
    AddSprite(0, 0, 40);
    Sprite& win = *Sprites.back();
    for (int n = 0; n < 200; ++n) win.Update();
    EXPECT_FALSE(win.GetDied());
    EXPECT_FALSE(menu);
    win.Update();
    EXPECT_TRUE(win.GetDied());
    EXPECT_TRUE(menu);
    EXPECT_FALSE(boss_kill);
    EXPECT_EQ(best_scores[0], 6000);
    EXPECT_TRUE(score_done);
}

TEST_F(SpriteRules, TheFactoryMakesEachKindFromItsRow) {
    struct Case { int code; SDL_Surface* image; int frames; int dx, dy; bool enemy, bonus, text; };
    const Case cases[] = {
        {1, delo_strela, 1, 0, -6, false, false, false},
        {2, oko, 8, 4, 0, true, false, false},
        {5, lebka_strela, 1, -5, 5, false, false, false},
        {6, raketa, 3, 0, 10, false, false, false},
        {11, satelit, 5, 3, 0, true, false, false},
        {13, lod, 8, 4, 0, true, false, false},
        {21, bonus_rychlost, 1, 0, 4, false, true, false},
        {43, text_health, 1, 0, 0, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        AddSprite(100, 200, c.code);
        Sprite& s = *Sprites.back();
        EXPECT_EQ(s.GetType(), c.code);
        EXPECT_EQ(s.GetWidth(), c.image->w / c.frames);
        EXPECT_EQ(s.GetHeight(), c.image->h);
        EXPECT_EQ(s.GetEnemy(), c.enemy);
        EXPECT_EQ(s.GetBonus(), c.bonus);
        EXPECT_EQ(s.GetText(), c.text);
        EXPECT_FALSE(s.GetExplosionDie());
        s.Update();
        EXPECT_EQ(s.GetPositionX(), 100 + c.dx);
        EXPECT_EQ(s.GetPositionY(), 200 + c.dy);
    }
}

TEST_F(SpriteRules, TheVictoryTextStandsInItsPlaceAndUnknownCodesMakeNothing) {
    AddSprite(0, 0, 40);
    AddSprite(555, 444, 40);
    ASSERT_EQ(Sprites.size(), 2u);
    for (Sprite* win : Sprites) {
        EXPECT_EQ(win->GetPositionX(), 170);
        EXPECT_EQ(win->GetPositionY(), 220);
        EXPECT_TRUE(win->GetText());
    }
    for (int code : {0, 15, 19, 23, 29, 31, 39, 44, -1}) AddSprite(10, 10, code);
    EXPECT_EQ(Sprites.size(), 2u);
    AddSprite(10, 10, 3);
    EXPECT_EQ(Types(), (std::vector<int>{40, 40, 3}));  // new sprites go last
}

TEST_F(SpriteRules, PositionsAndSpeedsWrapAsSixteenBitValues) {
    SDL_Surface* sheet = Sheet(10, 10);
    Sprite sprite(sheet, 70000, -70000, 1, 0, 0, 0, false, 3);
    EXPECT_EQ(sprite.GetPositionX(), int(Sint16(70000)));
    EXPECT_EQ(sprite.GetPositionY(), int(Sint16(-70000)));
    sprite.SetPositionX(32767);
    EXPECT_EQ(sprite.GetPositionX(), 32767);
    Sprite fast(sheet, 32767, 100, 1, 1, 0, 0, false, 3);
    fast.Update();  // 32767 + 1 wraps to the far left, where it is off the field
    EXPECT_EQ(fast.GetPositionX(), -32768);
    EXPECT_TRUE(fast.GetDied());
    SDL_FreeSurface(sheet);
}

}  // namespace

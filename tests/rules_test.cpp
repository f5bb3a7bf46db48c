// The contacts of the field, what they are worth, the bonuses and the boss.
// The sheets are plain ones of fixed sizes, so every rectangle is exact:
// cannon 28 x 34 at (372, 519), player shot 16 x 20, eye 40 x 40, eye shot
// 8 x 12, saucer shot 8 x 8, ship 120 x 48, bonus 30 x 30, text 160 x 40,
// boss 220 x 130, big explosion frames 48 x 48.
#include "game_fixture.h"

#include <algorithm>
#include <utility>

namespace {

class Rules : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        UsePlainSheets();
        ResetCannon();
        NewGame();
    }
    static Sprite* Add(int type, int x, int y) {
        AddSprite(x, y, type);
        return Sprites.back();
    }
    static void CollideAll() {
        for (Sprite* s : Sprites) Collision(s);
    }
    static int cx() { return delo_rect.x; }
    static int cy() { return delo_rect.y; }
    static std::vector<std::pair<Mix_Chunk*, int>> Sounds() {
        std::vector<std::pair<Mix_Chunk*, int>> sounds;
        for (const PlayedSound& s : SoundsPlayed()) sounds.push_back({s.chunk, s.channel});
        return sounds;
    }
};

// --- the rectangle test ---

TEST(InRectTest, ACornerOfTheSecondInsideTheFirstEdgesIncluded) {
    struct Case { const char* what; int a[4], b[4]; bool touches; };
    const Case cases[] = {
        {"a corner on the far edge", {0, 0, 10, 10}, {10, 10, 5, 5}, true},
        {"one pixel beyond the edge", {0, 0, 10, 10}, {11, 0, 5, 5}, false},
        {"b encloses a", {0, 0, 10, 10}, {-5, -5, 30, 30}, false},
        {"a encloses b", {-5, -5, 30, 30}, {0, 0, 10, 10}, true},
        {"only the top-right corner in", {0, 0, 10, 10}, {-5, 2, 5, 40}, true},
        {"only the bottom-left corner in", {0, 0, 10, 10}, {4, -7, 40, 7}, true},
        {"only the bottom-right corner in", {0, 0, 10, 10}, {-3, -3, 3, 3}, true},
        {"diagonally one pixel off", {0, 0, 10, 10}, {-6, -6, 5, 5}, false},
        {"a plus sign, flat across tall", {0, 40, 100, 20}, {40, 0, 20, 100}, false},
        {"a plus sign, tall across flat", {40, 0, 20, 100}, {0, 40, 100, 20}, false},
        {"negative places", {-100, -100, 10, 10}, {-95, -95, 1, 1}, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(InRect(c.a[0], c.a[1], c.a[2], c.a[3], c.b[0], c.b[1], c.b[2], c.b[3]), c.touches)
            << c.what;
}

// --- player shots against objects ---

TEST_F(Rules, AShotInsideAShipIsFoundInTheShipsCallAndTheBurstMovesOntoTheShot) {
    Sprite* shot = Add(kind::player_shot, 150, 110);
    Sprite* ship = Add(kind::ship, 100, 100);
    Collision(shot);  // none of the ship's corners lies inside the shot
    EXPECT_FALSE(shot->GetDied());
    EXPECT_FALSE(ship->GetExplosionDie());
    Collision(ship);
    EXPECT_TRUE(shot->GetDied());
    EXPECT_TRUE(ship->GetExplosionDie());
    EXPECT_EQ(ship->GetWidth(), 48);  // the big explosion's frame
    EXPECT_EQ(ship->GetPositionX(), 130);
    EXPECT_EQ(ship->GetPositionY(), 95);
    EXPECT_EQ(score, 150);
    EXPECT_EQ(Sounds(), (std::vector<std::pair<Mix_Chunk*, int>>{{sound_vybuch_big, -1}}));
}

TEST_F(Rules, ASpentShotStillStrikesInItsOwnCallButIsNoLongerStruck) {
    Sprite* first = Add(kind::eye, 100, 100);
    Sprite* shot = Add(kind::player_shot, 95, 95);  // over the eyes' top-left corner
    Sprite* second = Add(kind::eye, 100, 100);
    Sprite* third = Add(kind::skull, 100, 100);
    Collision(first);
    EXPECT_TRUE(shot->GetDied());
    Collision(shot);
    EXPECT_TRUE(second->GetExplosionDie());
    Collision(third);  // the dead shot is no longer anybody's other
    EXPECT_FALSE(third->GetExplosionDie());
    EXPECT_EQ(score, 50);
    EXPECT_EQ(TimesPlayed(sound_vybuch_big), 2);
}

TEST_F(Rules, AShotMeetingAProjectileBurstsItOrVanishesWhicheverCallFindsThem) {
    struct Case { const char* what; int self, other; int points; };
    const Case cases[] = {
        {"shot finds an eye shot", kind::player_shot, kind::eye_shot, 1},
        {"eye shot finds the shot", kind::eye_shot, kind::player_shot, 1},
        {"shot finds a rocket", kind::player_shot, kind::rocket, 70},
        {"rocket finds the shot", kind::rocket, kind::player_shot, 70},
        {"two player shots", kind::player_shot, kind::player_shot, 1},
        {"shot finds a boss's saucer shot", kind::player_shot, kind::saucer_shot, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NewGame();
        SoundsPlayed().clear();
        Sprite* self = Add(c.self, 200, 200);
        Sprite* other = Add(c.other, 204, 204);
        Sprite* eye = Add(kind::eye, 200, 200);  // later in the list: the call has ended
        Collision(self);
        EXPECT_TRUE(self->GetDied());
        EXPECT_FALSE(self->GetExplosionDie());
        EXPECT_TRUE(other->GetExplosionDie());
        EXPECT_FALSE(other->GetDied());
        EXPECT_EQ(other->GetWidth(), 24);  // the small explosion
        EXPECT_FALSE(eye->GetExplosionDie());
        EXPECT_EQ(score, c.points);
        EXPECT_EQ(Sounds(), (std::vector<std::pair<Mix_Chunk*, int>>{{sound_vybuch_small, -1}}));
    }
}

TEST_F(Rules, EveryShotDownProjectileSoundsEvenInOneTick) {
    for (int i = 0; i < 3; ++i) {
        Add(kind::player_shot, 100 + 100 * i, 200);
        Add(kind::eye_shot, 104 + 100 * i, 204);
    }
    CollideAll();
    EXPECT_EQ(TimesPlayed(sound_vybuch_small), 3);
    EXPECT_EQ(score, 3);
}

TEST_F(Rules, AShotTouchingATextEndsTheCallAndChangesNothing) {
    for (bool shot_first : {true, false}) {
        SCOPED_TRACE(shot_first ? "the shot's call" : "the text's call");
        NewGame();
        Sprite* shot = nullptr;
        Sprite* text = nullptr;
        if (shot_first) {
            shot = Add(kind::player_shot, 315, 45);
            text = Add(kind::power_text, 320, 50);
        } else {
            text = Add(kind::power_text, 320, 50);
            shot = Add(kind::player_shot, 315, 45);
        }
        Sprite* eye = Add(kind::eye, 320, 50);  // the shot also holds this eye's corner
        Sprite* bonus = Add(kind::twin_bonus, cx(), cy());  // and the cannon under this bonus
        Collision(shot_first ? shot : text);
        EXPECT_FALSE(shot->GetDied() || text->GetDied() || text->GetExplosionDie());
        EXPECT_FALSE(eye->GetExplosionDie());
        EXPECT_FALSE(bonus->GetDied()) << "rules after the meeting ran";
        EXPECT_EQ(score, 0);
        EXPECT_TRUE(SoundsPlayed().empty());
    }
}

TEST_F(Rules, ShotsPassThroughBonusesExplosionsAndEachOtherEnemies) {
    Sprite* shot = Add(kind::player_shot, 200, 200);
    Sprite* bonus = Add(kind::speed_bonus, 204, 204);
    Sprite* burst = Add(kind::explosion_fragment, 204, 204);
    Sprite* bursting = Add(kind::eye, 204, 204);
    bursting->SetExplosion(explosion_big);
    Sprite* eye = Add(kind::eye, 260, 260);
    Sprite* skull = Add(kind::skull, 265, 265);
    CollideAll();
    EXPECT_FALSE(shot->GetDied() || shot->GetExplosionDie());
    EXPECT_FALSE(bonus->GetDied());
    EXPECT_FALSE(burst->GetDied());
    EXPECT_FALSE(eye->GetExplosionDie() || skull->GetExplosionDie()) << "two enemies never collide";
    EXPECT_EQ(score, 0);
}

// --- the cannon ---

TEST_F(Rules, ProjectilesHitTheCannonAndEnemiesFlyOverIt) {
    struct Case { const char* what; int type; int dx, dy; bool twin; bool hits; };
    const Case cases[] = {
        {"an eye shot on its top edge", kind::eye_shot, 10, -12, false, true},
        {"an eye shot a pixel above", kind::eye_shot, 10, -13, false, false},
        {"a rocket", kind::rocket, 5, -40, false, true},
        {"a ship's shot", kind::ship_shot, 0, 0, false, true},
        {"over the second cannon without it", kind::eye_shot, 33, 0, false, false},
        {"over the second cannon", kind::eye_shot, 33, 0, true, true},
        {"an eye crossing", kind::eye, -5, 0, false, false},
        {"a player shot", kind::player_shot, 2, 0, false, false},
        {"a bonus is caught instead", kind::life_bonus, 0, 0, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NewGame();
        bonusy_dve_dela = c.twin;
        Sprite* s = Add(c.type, cx() + c.dx, cy() + c.dy);
        CollideAll();
        EXPECT_EQ(me_down, c.hits);
        EXPECT_EQ(s->GetExplosionDie(), c.hits);
    }
}

TEST_F(Rules, TheSaucersShotAlsoHitsACannonInsideIt) {
    SwapSheet(&talir_strela, 60, 60);
    SwapSheet(&oko_strela, 60, 60);
    for (int type : {kind::saucer_shot, kind::eye_shot}) {
        SCOPED_TRACE(type);
        NewGame();
        Add(type, cx() - 10, cy() - 10);  // encloses the single cannon
        CollideAll();
        EXPECT_EQ(me_down, type == kind::saucer_shot);
    }
    // The reverse test uses the single cannon, also while the twin is held.
    NewGame();
    bonusy_dve_dela = true;
    delo_rect.x = 100;
    Add(kind::saucer_shot, 100 + 28 + 5, cy() - 20);  // only over the second cannon's corners
    CollideAll();
    EXPECT_FALSE(me_down);
}

TEST_F(Rules, TwoProjectilesAtOnceCostOneLife) {
    Add(kind::eye_shot, cx() + 2, cy() - 3);
    Add(kind::eye_shot, cx() + 18, cy() - 3);
    Add(kind::eye, 50, 50);
    Update();
    EXPECT_EQ(life, 2);
    EXPECT_TRUE(Sprites.empty()) << "a lost life clears the field";
    EXPECT_EQ(TimesPlayed(sound_medown), 1);
}

TEST_F(Rules, AProjectileShotDownOverTheCannonStillHitsIt) {
    Sprite* shot = Add(kind::player_shot, cx() + 4, cy() + 4);
    Sprite* projectile = Add(kind::eye_shot, cx() + 2, cy());  // holds the shot's top-left corner
    Collision(projectile);
    ASSERT_TRUE(projectile->GetDied());
    EXPECT_FALSE(projectile->GetExplosionDie());
    EXPECT_TRUE(shot->GetExplosionDie());
    Collision(shot);
    EXPECT_TRUE(me_down);
    EXPECT_TRUE(projectile->GetExplosionDie());
}

TEST_F(Rules, TheCannonIsSafeInTheMenuAndAfterTheBossFellButNotAfterTheLastLife) {
    struct Case { const char* what; bool in_menu, boss_fell; int lives; bool hits; };
    const Case cases[] = {
        {"playing", false, false, 3, true},
        {"in the menu", true, false, 3, false},
        {"the victory text up", false, true, 3, false},
        {"game over", false, false, 0, true},
        {"game over again", false, false, -2, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NewGame();
        menu = c.in_menu;
        boss_kill = c.boss_fell;
        life = c.lives;
        Add(kind::eye_shot, cx() + 2, cy());
        Sprite* bonus = Add(kind::life_bonus, cx() - 10, cy() - 10);
        CollideAll();
        EXPECT_EQ(me_down, c.hits);
        EXPECT_TRUE(bonus->GetDied()) << "bonuses are caught in every state";
    }
}

// --- bonuses ---

TEST_F(Rules, ABonusIsCaughtOnlyOverACornerOfTheFirstCannon) {
    struct Case { const char* what; int dx, dy; bool twin, caught; };
    const Case cases[] = {
        {"over the cannon", -1, -10, false, true},
        {"its bottom edge on the cannon's top", 0, -30, false, true},
        {"a pixel above", 0, -31, false, false},
        {"left edge on the shared edge", 28, -10, true, true},
        {"only over the second cannon", 29, -10, true, false},
        {"over the cannon's right corner", 20, -10, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NewGame();
        bonusy_dve_dela = c.twin;
        Sprite* bonus = Add(kind::speed_bonus, cx() + c.dx, cy() + c.dy);
        CollideAll();
        EXPECT_EQ(bonus->GetDied(), c.caught);
        EXPECT_EQ(bonusy_rychlost, c.caught);
        EXPECT_FALSE(me_down);
    }
}

TEST_F(Rules, EachBonusGrantsOrPaysAndAlwaysAsksForItsTextAndJingle) {
    struct Row { const char* what; int type; bool twin, fast; int lives; bool twin_after, fast_after; int lives_after, points; };
    const Row rows[] = {
        {"twin granted", kind::twin_bonus, false, false, 3, true, false, 3, 0},
        {"twin held", kind::twin_bonus, true, false, 3, true, false, 3, 200},
        {"speed granted", kind::speed_bonus, false, false, 3, false, true, 3, 0},
        {"speed held", kind::speed_bonus, false, true, 3, false, true, 3, 200},
        {"a fourth life", kind::life_bonus, false, false, 3, false, false, 4, 0},
        {"no fifth life", kind::life_bonus, false, false, 4, false, false, 4, 200},
        {"a second life", kind::life_bonus, false, false, 1, false, false, 2, 0},
        {"no bonus", kind::eye, false, false, 3, false, false, 3, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        NewGame();
        SoundsPlayed().clear();
        bonusy_dve_dela = r.twin;
        bonusy_rychlost = r.fast;
        life = r.lives;
        score = 1000;
        SetBonus(r.type);
        EXPECT_EQ(bonusy_dve_dela, r.twin_after);
        EXPECT_EQ(bonusy_rychlost, r.fast_after);
        EXPECT_EQ(life, r.lives_after);
        EXPECT_EQ(score, 1000 + r.points);
        EXPECT_EQ(txt_power, r.type == kind::twin_bonus);
        EXPECT_EQ(txt_speed, r.type == kind::speed_bonus);
        EXPECT_EQ(txt_health, r.type == kind::life_bonus);
        Mix_Chunk* jingle = r.type == kind::twin_bonus    ? sound_power
                            : r.type == kind::speed_bonus ? sound_speed
                            : r.type == kind::life_bonus  ? sound_health
                                                          : nullptr;
        if (jingle) {
            EXPECT_EQ(Sounds(), (std::vector<std::pair<Mix_Chunk*, int>>{{jingle, -1}}));
        } else {
            EXPECT_TRUE(SoundsPlayed().empty());
        }
    }
}

TEST_F(Rules, BonusesCaughtTogetherTakeEffectAtOnceAndShowTheirTextsInTurn) {
    life = 3;
    for (int type : {kind::life_bonus, kind::life_bonus, kind::twin_bonus, kind::twin_bonus,
                     kind::speed_bonus})
        Add(type, cx() - 1, cy() - 25);  // low enough to be caught, not yet on the ground
    Update();
    EXPECT_EQ(life, 4);
    EXPECT_TRUE(bonusy_dve_dela && bonusy_rychlost);
    EXPECT_EQ(score, 400);  // the second life and the second twin pay out
    EXPECT_EQ(Types(), (std::vector<int>{kind::power_text}));
    Update();
    Update();
    EXPECT_EQ(Types(), (std::vector<int>{kind::power_text, kind::speed_text, kind::health_text}));
    Update();
    EXPECT_EQ(Types().size(), 3u) << "one text per kind, however many were caught";
}

TEST(ScoreTable, EachKindIsWorthItsPointsAndEverythingElseNothing) {
    const std::pair<int, int> worth[] = {{2, 25}, {4, 50}, {6, 70}, {7, 90},
                                         {9, 100}, {11, 125}, {13, 150}};
    for (int type = -3; type <= 50; ++type) {
        int expected = 0;
        for (auto [code, points] : worth)
            if (code == type) expected = points;
        score = 10;
        AddScore(type);
        EXPECT_EQ(score, 10 + expected) << "type " << type;
    }
}

// --- a lost game brought back, and one entry per game ---

TEST_F(Rules, ALifeBonusAfterTheLastLifeResumesTheGameAndItsFinalScoreMovesItsEntryUp) {
    std::fill(best_scores, best_scores + 10, 0);
    best_scores[0] = 5000;
    best_scores[1] = 100;
    score = 300;
    life = 1;
    Add(kind::eye_shot, cx() + 2, cy() - 3);
    Update();  // the last life
    ASSERT_EQ(life, 0);
    EXPECT_EQ(TimesPlayed(sound_gameover), 1);
    Cycle();  // the table takes the game at the start of the next tick
    EXPECT_EQ(best_scores[1], 300);
    ClearSprites();

    Add(kind::life_bonus, cx() - 1, cy() - 25);
    Update();
    EXPECT_EQ(life, 1);
    EXPECT_FALSE(score_done);
    EXPECT_FALSE(sound_game);
    score = 800;
    Add(kind::eye_shot, cx() + 2, cy() - 3);
    Update();  // lost for good
    EXPECT_EQ(TimesPlayed(sound_gameover), 2);
    Cycle();
    EXPECT_EQ(std::vector<int>(best_scores, best_scores + 3), (std::vector<int>{5000, 800, 100}));
    EXPECT_EQ(std::count(best_scores, best_scores + 10, 300), 0) << "the game's old entry stayed";
}

TEST_F(Rules, ALifeBonusBelowZeroLivesLeavesTheGameLost) {
    life = -1;
    score_done = true;
    sound_game = true;
    SetBonus(kind::life_bonus);
    EXPECT_EQ(life, 0);
    EXPECT_TRUE(score_done);
    EXPECT_TRUE(sound_game);
}

TEST_F(Rules, AGameOfferedAgainMovesItsOwnEntryAndNothingElseLeaves) {
    struct Case {
        const char* what;
        std::vector<int> before;
        int first, second;
        std::vector<int> after;
    };
    const std::vector<Case> cases = {
        {"moves up past two", {500, 300, 200, 100, 0, 0, 0, 0, 0, 0}, 150, 400,
         {500, 400, 300, 200, 100, 0, 0, 0, 0, 0}},
        {"offered the same again", {500, 300, 200, 100, 0, 0, 0, 0, 0, 0}, 150, 150,
         {500, 300, 200, 150, 100, 0, 0, 0, 0, 0}},
        {"stays in its place", {500, 300, 200, 100, 0, 0, 0, 0, 0, 0}, 150, 180,
         {500, 300, 200, 180, 100, 0, 0, 0, 0, 0}},
        {"from the last place to the top", {9, 8, 7, 6, 5, 4, 3, 2, 1, 0}, 1, 20,
         {20, 9, 8, 7, 6, 5, 4, 3, 2, 1}},
        {"first too low, then good enough", {9, 8, 7, 6, 5, 4, 3, 2, 1, 1}, 1, 6,
         {9, 8, 7, 6, 6, 5, 4, 3, 2, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NewGame();
        std::copy(c.before.begin(), c.before.end(), best_scores);
        score = c.first;
        CheckScore();
        score = c.second;
        CheckScore();
        EXPECT_TRUE(score_done);
        EXPECT_EQ(std::vector<int>(best_scores, best_scores + 10), c.after);
    }
}

// --- the boss ---

TEST_F(Rules, TheBossComesOncePastFifteenThousandAndMovesInItsFirstUpdate) {
    struct Case { const char* what; int score; bool in_menu, fell; bool comes; };
    const Case cases[] = {
        {"at 15000", 15000, false, false, false},
        {"at 15001", 15001, false, false, true},
        {"in the menu", 20000, true, false, false},
        {"after its fall", 20000, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NewGame();
        score = c.score;
        menu = c.in_menu;
        boss_kill = c.fell;
        const int draws = RandCalls([] { Update(); });
        EXPECT_EQ(boss_attack, c.comes);
        if (!c.comes) continue;
        EXPECT_EQ(boss_zivoty, 150);
        EXPECT_EQ(boss_rect.x, 102);
        EXPECT_EQ(boss_rect.y, -50 - 130 + 2);
        EXPECT_TRUE(draws == 1 || draws == 3) << "its fire roll, and a shot's two";
    }
}

TEST_F(Rules, TheBossBouncesOverTheUpperField) {
    score = 15001;
    int top = 1000, bottom = -1000, left = 1000, right = -1000;  // top: once it has turned
    std::vector<int> turns_y;
    int last_dy = 2;
    for (int tick = 0; tick < 3000; ++tick) {
        ClearSprites();  // its shots would cost lives and end the game
        Update();
        ASSERT_TRUE(boss_attack);
        if (!turns_y.empty()) top = std::min(top, int(boss_rect.y));
        bottom = std::max(bottom, boss_rect.y + 130);
        left = std::min(left, int(boss_rect.x));
        right = std::max(right, boss_rect.x + 220);
        if (boss_speed.y != last_dy) turns_y.push_back(tick);
        last_dy = boss_speed.y;
        ASSERT_EQ(std::abs(boss_speed.x), 2);
        ASSERT_EQ(std::abs(boss_speed.y), 2);
    }
    // From 180 above the screen it descends 250 steps before its first turn.
    ASSERT_FALSE(turns_y.empty());
    EXPECT_EQ(turns_y[0], 250);
    EXPECT_EQ(bottom, 450);
    EXPECT_EQ(top, -52) << "it climbs back just out of sight";
    EXPECT_EQ(right, 796);
    EXPECT_EQ(left, 4);
    ASSERT_GE(turns_y.size(), 3u);
    EXPECT_EQ(turns_y[1] - turns_y[0], 186) << "up from a top of 318 to -52";
    EXPECT_EQ(turns_y[2] - turns_y[1], 186) << "and down again to a bottom edge of 450";
}

TEST_F(Rules, TheBossShootsAKindThenAPlaceAlongItsBottomEdge) {
    boss_rect.x = 300;
    boss_rect.y = 40;
    const int shots[] = {3, 5, 8, 10, 12, 14};
    std::vector<bool> seen(6, false);
    for (unsigned seed = 1; seed < 200; ++seed) {
        std::srand(seed);
        const int k = std::rand() % 6;
        const int along = std::rand() % 220;
        EXPECT_EQ(RandCalls([] { AddBossShoot(); }, seed), 2);
        std::srand(seed);
        AddBossShoot();
        Sprite* s = Sprites.back();
        EXPECT_EQ(s->GetType(), shots[k]);
        EXPECT_EQ(s->GetPositionX(), 300 + along);
        EXPECT_EQ(s->GetPositionY(), 40 + 130);
        seen[k] = true;
    }
    EXPECT_EQ(seen, std::vector<bool>(6, true));
}

TEST_F(Rules, ShotsStrikingTheBossTakeAPointEachWithOneSoundATick) {
    boss_attack = true;
    boss_rect.x = 300;
    boss_rect.y = 40;
    boss_zivoty = 150;
    for (int i = 0; i < 4; ++i) Add(kind::player_shot, 310 + 40 * i, 100);
    Add(kind::player_shot, 100, 100);  // beside it
    Add(kind::eye_shot, 480, 140);     // only player shots strike it
    CollideAll();
    EXPECT_EQ(boss_zivoty, 146);
    EXPECT_EQ(TimesPlayed(sound_vybuch_small), 1);
    EXPECT_TRUE(sound_ground);
    EXPECT_EQ(score, 0) << "hits are worth nothing";
    CollideAll();  // the bursting shots do not strike twice
    EXPECT_EQ(boss_zivoty, 146);
}

TEST_F(Rules, TheFallenBossBurstsColumnByColumnAndTheVictoryLeadsToTheMenu) {
    SwapSheet(&boss, 100, 50);  // explosion frames 48 x 48: a grid of 3 x 2
    boss_attack = true;
    boss_kill = false;
    boss_rect.x = 200;
    boss_rect.y = 60;
    boss_speed.x = 2;
    boss_speed.y = 2;
    boss_zivoty = 0;
    score = 16000;
    std::srand(7);
    const int draws = RandCalls([] { Update(); });
    EXPECT_TRUE(draws == 1 || draws == 3) << "it may fire in the tick it falls";
    EXPECT_FALSE(boss_attack);
    EXPECT_TRUE(boss_kill);
    EXPECT_EQ(score, 21000);
    std::vector<std::pair<int, int>> bursts;
    Sprite* text = nullptr;
    for (Sprite* s : Sprites) {
        if (s->GetType() == kind::explosion_fragment)
            bursts.push_back({s->GetPositionX(), s->GetPositionY()});
        if (s->GetType() == kind::victory_text) text = s;
    }
    EXPECT_EQ(bursts, (std::vector<std::pair<int, int>>{
                          {202, 62}, {202, 110}, {250, 62}, {250, 110}, {298, 62}, {298, 110}}));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetPositionX(), 170);
    EXPECT_EQ(text->GetPositionY(), 220);
    EXPECT_EQ(SoundsPlayed().back().chunk, sound_victory);
    EXPECT_EQ(SoundsPlayed().back().channel, 15);

    std::fill(best_scores, best_scores + 10, 0);
    int updates = 0;
    while (!menu && updates < 1000) {
        Add(kind::eye_shot, cx() + 2, cy());  // the cannon cannot be hit meanwhile
        Update();
        ++updates;
        ASSERT_EQ(life, 3);
        ASSERT_FALSE(boss_attack) << "no second fight";
    }
    EXPECT_EQ(updates, 201);
    EXPECT_FALSE(boss_kill);
    EXPECT_EQ(best_scores[0], 21000);
}

TEST_F(Rules, TheExplosionGridCoversTheRealBoss) {
    Destroy();
    ASSERT_TRUE(Init());  // the painted sheets, not the plain ones
    NewGame();
    boss_attack = true;
    boss_rect.x = 300;
    boss_rect.y = 40;
    boss_zivoty = 0;
    Update();
    const int s = explosion_big->w / 7, t = explosion_big->h;
    const int columns = (boss->w + s - 1) / s, rows = (boss->h + t - 1) / t;
    const std::vector<int> types = Types();
    EXPECT_EQ(int(std::count(types.begin(), types.end(), int(kind::explosion_fragment))),
              columns * rows);
}

TEST_F(Rules, TheLastLifeAndTheBossFallingTogether) {
    std::fill(best_scores, best_scores + 10, 0);
    boss_attack = true;
    boss_rect.x = 300;
    boss_rect.y = 40;
    boss_speed.x = boss_speed.y = 2;
    boss_zivoty = 1;
    life = 1;
    score = 16000;
    delo_strela_omezeni = 50;
    Add(kind::player_shot, 320, 106);   // moves up into the boss
    Add(kind::eye_shot, cx() + 2, cy() - 3);  // falls onto the cannon
    Update();
    EXPECT_EQ(life, 0);
    EXPECT_TRUE(boss_kill);
    const std::vector<int> types = Types();
    EXPECT_EQ(std::count(types.begin(), types.end(), int(kind::victory_text)), 1)
        << "the life went first, so the victory text stays";
    // The victory jingle and then the game-over one, on the same channel.
    EXPECT_EQ(Sounds(), (std::vector<std::pair<Mix_Chunk*, int>>{
                            {sound_vybuch_small, -1}, {sound_victory, 15}, {sound_gameover, 15}}));

    Cycle();  // offered at game over
    EXPECT_EQ(best_scores[0], 21000);
    int updates = 0;
    while (!menu && updates < 1000) {
        Update();
        ++updates;
    }
    EXPECT_EQ(updates, 200) << "the victory text brings the menu (the Cycle's update was the first)";
    EXPECT_LE(life, 0) << "the game-over picture stays until the lost-game rule";
    EXPECT_EQ(std::count(best_scores, best_scores + 10, 21000), 1) << "one entry per game";
    while (life <= 0 && updates < 1000) {
        Update();
        ++updates;
    }
    EXPECT_EQ(life, 3);
    EXPECT_EQ(std::count(best_scores, best_scores + 10, 21000), 1);
}

}  // namespace

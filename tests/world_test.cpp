// The cannon, the spawning, the world update and the course of a game.
#include "game_fixture.h"

#include <algorithm>
#include <utility>

namespace {

using World = GameTest;

struct Position { int x, y; };
std::vector<Position> Positions(int type) {
    std::vector<Position> at;
    for (Sprite* s : Sprites)
        if (s->GetType() == type) at.push_back({s->GetPositionX(), s->GetPositionY()});
    return at;
}
bool operator==(Position a, Position b) { return a.x == b.x && a.y == b.y; }
std::ostream& operator<<(std::ostream& os, Position p) { return os << "(" << p.x << ", " << p.y << ")"; }

// --- the cannon ---

TEST_F(World, TheCannonStepsAndIsClampedByTheFirstBoundItBreaks) {
    const int w = delo->w;
    struct Case { const char* what; int x; bool right, left, fast, twin; int after; };
    const Case cases[] = {
        {"right", 300, true, false, false, false, 305},
        {"left, fast", 300, false, true, true, false, 290},
        {"both arrows cancel", 300, true, true, false, false, 300},
        {"left at the edge", 0, false, true, false, false, 0},
        {"left fast at the edge", 3, false, true, true, false, 0},
        {"right at the edge", 800 - w, true, false, false, false, 800 - w},
        {"twin, right at its edge", 800 - 2 * w, true, false, false, true, 800 - 2 * w},
        {"twin gained at the single edge", 800 - w, false, false, false, true, 800 - 2 * w},
        {"past both bounds: the single one first", 800 - w + 3, false, false, false, true, 800 - w},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NewGame();
        delo_rect.x = Sint16(c.x);
        bonusy_rychlost = c.fast;
        bonusy_dve_dela = c.twin;
        Held()[SDLK_RIGHT] = c.right;
        Held()[SDLK_LEFT] = c.left;
        Keys();
        EXPECT_EQ(delo_rect.x, c.after);
        EXPECT_EQ(delo_rect.y, 553 - delo->h);
    }
}

TEST_F(World, HeldFireGivesAVolleyEveryElevenTicksAfterTheStart) {
    NewGame();
    Held()[SDLK_SPACE] = 1;
    std::vector<int> volleys;
    for (int tick = 0; tick < 40; ++tick) {
        const size_t before = Positions(1).size();
        Keys();
        if (Positions(1).size() > before) volleys.push_back(tick);
        Update();
        if (tick == 25) {  // letting go and pressing again gains nothing
            Held()[SDLK_SPACE] = 0;
            Keys();
            Held()[SDLK_SPACE] = 1;
        }
    }
    EXPECT_EQ(volleys, (std::vector<int>{11, 22, 33}));
}

TEST_F(World, AVolleyLeavesEachBarrelWithOneSound) {
    NewGame();
    bonusy_dve_dela = true;
    delo_strela_omezeni = 11;
    Held()[SDLK_SPACE] = 1;
    Keys();
    const int x = delo_rect.x, y = delo_rect.y - delo_strela->h;
    EXPECT_EQ(Positions(1), (std::vector<Position>{{x + 6, y}, {x + delo->w + 6, y}}));
    EXPECT_EQ(delo_strela_omezeni, 0);
    ASSERT_EQ(SoundsPlayed().size(), 1u);
    EXPECT_EQ(SoundsPlayed()[0].chunk, sound_strela);
    EXPECT_EQ(SoundsPlayed()[0].channel, -1);
}

TEST_F(World, HeldKeysDoNothingInTheMenuOrAfterALostGame) {
    for (bool in_menu : {true, false}) {
        NewGame();
        menu = in_menu;
        life = in_menu ? 3 : 0;
        delo_strela_omezeni = 100;
        Held()[SDLK_RIGHT] = 1;
        Held()[SDLK_SPACE] = 1;
        const int x = delo_rect.x;
        Keys();
        EXPECT_EQ(delo_rect.x, x);
        EXPECT_TRUE(Sprites.empty());
    }
}

// --- spawning ---

TEST_F(World, TheScoreUnlocksTheEnemyKindsAndTheMenuShowsFive) {
    struct Case { int score; bool in_menu; int kinds; };
    const Case cases[] = {
        {0, false, 1},    {499, false, 1},  {500, false, 2},   {1499, false, 2},
        {1500, false, 3}, {3000, false, 4}, {5000, false, 5},  {7000, false, 6},
        {9499, false, 6}, {9500, false, 7}, {0, true, 5},      {20000, true, 5},
        {-5, false, 1},  // below zero the eye still comes, and the roll never divides by zero
    };
    const int codes[] = {2, 4, 6, 7, 9, 11, 13};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "score " << c.score << (c.in_menu ? " in the menu" : ""));
        NewGame();
        score = c.score;
        menu = c.in_menu;
        std::vector<int> seen(7, 0);
        for (int n = 0; n < 700; ++n) {
            AddEnemy();
            for (int k = 0; k < 7; ++k) seen[k] += Sprites.back()->GetType() == codes[k];
        }
        for (int k = 0; k < 7; ++k) EXPECT_EQ(seen[k] > 0, k < c.kinds) << "kind " << codes[k];
        ClearSprites();
    }
}

TEST_F(World, EnemiesEnterAtTheirEdgeFromTheKindThenTheCoordinate) {
    NewGame();
    score = 9500;  // all seven kinds
    for (int draw = 0; draw < 400; ++draw) {
        const unsigned seed = 1000 + draw;
        std::srand(seed);
        const int k = std::rand() % 7;
        const int r = std::rand();
        std::srand(seed);
        ASSERT_EQ(RandCalls([] { AddEnemy(); }, seed), 2);
        std::srand(seed);
        AddEnemy();
        Sprite& e = *Sprites.back();
        const int codes[] = {2, 4, 6, 7, 9, 11, 13};
        ASSERT_EQ(e.GetType(), codes[k]);
        switch (k) {
        case 1:  // the skull from the right, its left edge on 800
            EXPECT_EQ(e.GetPositionX(), 800);
            EXPECT_EQ(e.GetPositionY(), r % 400 + 50);
            break;
        case 2:  // the rocket from the top
            EXPECT_EQ(e.GetPositionX(), r % 790 + 5);
            EXPECT_EQ(e.GetPositionY(), 0);
            break;
        case 3:  // the saucer high up, from the left
            EXPECT_EQ(e.GetPositionX(), -e.GetWidth());
            EXPECT_EQ(e.GetPositionY(), r % 200 + 10);
            break;
        default:  // the others from the left, one frame off screen
            EXPECT_EQ(e.GetPositionX(), -e.GetWidth());
            EXPECT_EQ(e.GetPositionY(), r % 400 + 50);
        }
    }
    // Just spawned at the edges, nobody is off the field in the next update.
    const size_t count = Sprites.size();
    Update();
    EXPECT_EQ(Sprites.size(), count);
}

TEST_F(World, BonusesFallFromTheTopAfterTwoDraws) {
    NewGame();
    for (unsigned seed = 1; seed < 200; ++seed) {
        std::srand(seed);
        const int j = std::rand() % 3;
        const int x = std::rand() % 700 + 50;
        EXPECT_EQ(RandCalls([] { AddBonus(); }, seed), 2);
        EXPECT_EQ(Sprites.back()->GetType(), 20 + j);
        EXPECT_EQ(Sprites.back()->GetPositionX(), x);
        EXPECT_EQ(Sprites.back()->GetPositionY(), 0);
        EXPECT_TRUE(Sprites.back()->GetBonus());
    }
}

// Seeds the generator so that the tick's enemy roll succeeds, or so that it
// fails and the bonus roll after it succeeds.
unsigned SeedForSpawn(bool enemy) {
    for (unsigned seed = 1;; ++seed) {
        std::srand(seed);
        const bool enemy_roll = std::rand() % 50 == 0;
        const bool bonus_roll = std::rand() % 1000 == 0;
        if (enemy ? enemy_roll : !enemy_roll && bonus_roll) return seed;
    }
}

TEST_F(World, EachStateLetsOnlyItsOwnSpawnsIn) {
    struct Case { const char* state; bool in_menu, fight, fallen, paused; bool enemy, bonus; };
    const Case cases[] = {
        {"playing", false, false, false, false, true, true},
        {"menu", true, false, false, false, true, false},
        {"boss fight", false, true, false, false, false, false},
        {"boss fallen", false, false, true, false, false, false},
        {"paused", false, false, false, true, false, false},
    };
    // The boss's shots may come in the same tick; only newcomers count.
    auto count = [](std::vector<int> codes) {
        int n = 0;
        for (int type : Types()) n += int(std::count(codes.begin(), codes.end(), type));
        return n;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        for (bool enemy : {true, false}) {
            NewGame();
            menu = c.in_menu;
            boss_attack = c.fight;
            boss_kill = c.fallen;
            Game::pause = c.paused;
            boss_rect.x = 300;
            boss_rect.y = 40;
            boss_zivoty = 150;
            const unsigned seed = SeedForSpawn(enemy);
            std::srand(seed);
            Cycle();
            if (enemy) {
                EXPECT_EQ(count({2, 4, 6, 7, 9, 11, 13}), c.enemy ? 1 : 0) << "an enemy";
            } else {
                EXPECT_EQ(count({20, 21, 22}), c.bonus ? 1 : 0) << "a bonus";
            }
        }
    }
}

// --- the world update ---

TEST_F(World, DeadSpritesGoInOneWalkAndTheRestKeepTheirOrder) {
    NewGame();
    const int layout[] = {3, 5, 8, 10, 12, 14, 1, 6};
    for (int code : layout) AddSprite(300, 100, code);
    for (int i : {0, 1, 3, 4, 5, 7}) Sprites[i]->SetDied(true);  // dead at the head and in runs
    Update();
    EXPECT_EQ(Types(), (std::vector<int>{8, 1}));
    Update();
    EXPECT_EQ(Types(), (std::vector<int>{8, 1}));
}

TEST_F(World, EveryLiveEnemyDrawsOneRandomNumberATick) {
    NewGame();
    for (int code : {2, 3, 4, 6, 7, 20, 9, 30, 11, 41, 13}) AddSprite(300, 100, code);
    Sprites[2]->SetExplosion(explosion_big);  // an exploding skull still rolls
    AddSprite(300, 100, 2);
    Sprites.back()->SetDied(true);  // a dead eye does not
    EXPECT_EQ(RandCalls([] { Update(); }), 6);
    ClearSprites();
    EXPECT_EQ(RandCalls([] { Update(); }), 0);
}

// Seeds the generator so that the next roll is one an enemy fires on.
void SeedAFiringRoll() {
    for (unsigned seed = 1;; ++seed) {
        std::srand(seed);
        if (std::rand() % 5 == 0) {
            std::srand(seed);
            return;
        }
    }
}

TEST_F(World, EachCraftFiresItsOwnShotsFromItsGuns) {
    struct Case { int code; std::vector<std::pair<int, int>> guns; int shot; };
    const int W9 = vrtulnik->w / 4;
    const std::vector<Case> cases = {
        {2, {{0, 10}}, 3},
        {4, {{0, 10}}, 5},
        {7, {{0, 10}}, 8},
        {9, {{0, 10}, {W9 - 20, 10}}, 10},
        {11, {{-1, 0}, {12, 0}, {24, 0}, {37, 0}}, 12},
        {13, {{20, 0}, {80, 0}}, 14},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        NewGame();
        AddSprite(300, 100, c.code);
        Sprite& enemy = *Sprites[0];
        // Every craft holds its firing frame for more than one tick.
        while (enemy.GetFrameNow() != 2) enemy.Update();
        SeedAFiringRoll();
        Update();
        ASSERT_EQ(enemy.GetFrameNow(), 2);
        const int x = enemy.GetPositionX(), bottom = enemy.GetPositionY() + enemy.GetHeight();
        std::vector<Position> expected;
        for (auto [dx, dy] : c.guns) expected.push_back({x + dx, bottom + dy});
        EXPECT_EQ(Positions(c.shot), expected);
        EXPECT_EQ(enemy.GetLateStrela(), 0);
        EXPECT_EQ(Sprites.size(), 1 + c.guns.size());
    }
}

TEST_F(World, AFullQueueDropsTheRestOfAVolleyAndKeepsItsStart) {
    ShotQueue queue;
    queue.count = 398;
    for (int gun : {-1, 12, 24, 37}) QueueShot(queue, 100 + gun, 50, 12);
    EXPECT_EQ(queue.count, 400);
    EXPECT_EQ(queue.entries[398].x, 99);
    EXPECT_EQ(queue.entries[399].x, 112);
}

TEST_F(World, ACrowdOfSatellitesFiringTogetherFillsTheQueueAndNoMore) {
    NewGame();
    // A few eyes first, so the satellites' volleys of four need not end on 400.
    for (int i = 0; i < 10; ++i) AddSprite(300, 100, 2);
    for (int i = 0; i < 700; ++i) AddSprite(300, 100, 11);
    for (Sprite* s : Sprites)
        while (s->GetFrameNow() != 2) s->Update();
    std::srand(1);
    Update();
    const size_t shots = Positions(3).size() + Positions(12).size();
    EXPECT_GE(shots, 399u);
    EXPECT_LE(shots, 400u);
}

TEST_F(World, PopUpTextsComeOneATickPowerFirst) {
    NewGame();
    txt_speed = true;
    txt_health = true;
    Update();
    EXPECT_EQ(Types(), (std::vector<int>{42}));
    EXPECT_EQ(Positions(42), (std::vector<Position>{{320, 50}}));
    txt_power = true;
    Update();
    EXPECT_EQ(Types(), (std::vector<int>{42, 41}));
    Update();
    EXPECT_EQ(Types(), (std::vector<int>{42, 41, 43}));
    EXPECT_FALSE(txt_power || txt_speed || txt_health);
}

TEST_F(World, AFinishedTrackIsFollowedByAnotherWithinTheUpdate) {
    NewGame();
    SetMusic();
    EXPECT_FALSE(play);
    EXPECT_EQ(RandCalls([] { Update(); }), 1);
    EXPECT_TRUE(play);
    EXPECT_NE(music, nullptr);
}

// --- the course of a game ---

TEST_F(World, ALostLifeClearsTheFieldAndTheBonusesButKeepsTheRest) {
    NewGame();
    score = 4321;
    delo_strela_omezeni = 7;
    bonusy_dve_dela = bonusy_rychlost = true;
    boss_attack = true;
    boss_zivoty = 80;
    delo_rect.x = 20;
    for (int code : {2, 3, 20, 41}) AddSprite(300, 100, code);
    txt_health = true;
    me_down = true;
    Update();
    EXPECT_EQ(life, 2);
    EXPECT_EQ(delo_rect.x, 400 - delo->w);
    EXPECT_FALSE(me_down || bonusy_dve_dela || bonusy_rychlost);
    EXPECT_EQ(score, 4321);
    EXPECT_EQ(delo_strela_omezeni, 8);
    EXPECT_TRUE(boss_attack);
    EXPECT_EQ(boss_zivoty, 80);
    EXPECT_EQ(Types(), (std::vector<int>{43}));  // the pop-up is made after the clearing
    ASSERT_EQ(SoundsPlayed().size(), 1u);
    EXPECT_EQ(SoundsPlayed()[0].chunk, sound_medown);
    EXPECT_EQ(SoundsPlayed()[0].channel, -1);
}

TEST_F(World, ShotsFiredInTheTickOfALostLifeAreClearedWithEverythingElse) {
    NewGame();
    AddSprite(300, 100, 11);
    while (Sprites[0]->GetFrameNow() != 2) Sprites[0]->Update();
    SeedAFiringRoll();
    me_down = true;
    Update();
    EXPECT_TRUE(Sprites.empty());
    EXPECT_EQ(life, 2);
}

TEST_F(World, TheLastLifeGivesTheGameOverJingleOnceAndTheMenu501MinusCTicksLater) {
    for (int c : {0, 120, 500}) {
        SCOPED_TRACE(c);
        NewGame();
        life = 1;
        delo_strela_omezeni = c;
        me_down = true;
        SoundsPlayed().clear();
        Update();
        EXPECT_EQ(life, 0);
        EXPECT_FALSE(menu);
        EXPECT_TRUE(sound_game);
        // No life-lost sound for the last life: the game-over jingle instead.
        ASSERT_EQ(SoundsPlayed().size(), 1u);
        EXPECT_EQ(SoundsPlayed()[0].chunk, sound_gameover);
        EXPECT_EQ(SoundsPlayed()[0].channel, 15);
        int ticks = 0;
        while (!menu && ticks < 1000) {
            Update();
            ++ticks;
        }
        EXPECT_EQ(TimesPlayed(sound_gameover), 1) << "the jingle repeated";
        EXPECT_EQ(ticks, 501 - c);
        EXPECT_EQ(life, 3);
    }
}

TEST_F(World, ALastLifeLostLongAfterTheLastVolleyBringsTheMenuAtOnceInSilenceWithItsScoreKept) {
    NewGame();
    score = 800;
    life = 1;
    delo_strela_omezeni = 501;
    me_down = true;
    Update();
    EXPECT_TRUE(menu);
    EXPECT_EQ(life, 3);
    EXPECT_FALSE(sound_game);
    EXPECT_EQ(TimesPlayed(sound_gameover), 0);
    EXPECT_EQ(TimesPlayed(sound_medown), 0);
    // No tick begins with this game lost, so the update itself offers its score.
    EXPECT_TRUE(score_done);
    EXPECT_EQ(best_scores[0], 800);
    Cycle();
    EXPECT_EQ(best_scores[0], 800);
    EXPECT_EQ(best_scores[1], 0);
}

TEST_F(World, StartGameResetsTheGameButNotTheRun) {
    NewGame();
    best_scores[0] = 900;
    fullscreen = true;
    boss_rect.x = 77;
    boss_zivoty = 12;
    score = 50;
    life = -2;
    menu = Game::pause = boss_attack = boss_kill = sound_game = score_done = true;
    txt_power = txt_speed = txt_health = bonusy_dve_dela = bonusy_rychlost = me_down = true;
    delo_strela_omezeni = 300;
    time_last = 1234;
    AddSprite(1, 1, 2);
    StartGame();
    EXPECT_EQ(life, 3);
    EXPECT_EQ(score, 0);
    EXPECT_EQ(time_last, 0u);
    EXPECT_EQ(delo_strela_omezeni, 0);
    EXPECT_EQ(delo_rect.x, 400 - delo->w);
    for (bool flag : {menu, Game::pause, boss_attack, boss_kill, sound_game, score_done, txt_power,
                      txt_speed, txt_health, bonusy_dve_dela, bonusy_rychlost, me_down})
        EXPECT_FALSE(flag);
    EXPECT_TRUE(Sprites.empty());
    EXPECT_EQ(best_scores[0], 900);
    EXPECT_TRUE(fullscreen);
    EXPECT_EQ(boss_rect.x, 77);
    EXPECT_EQ(boss_zivoty, 12);
}

}  // namespace

// A long session of random play through many games, for the sanitizer
// build: random held keys and presses drive the real tick, and after every
// tick the game must still hold together. Most ticks are not drawn (the
// screen set to null, as after a failed display switch); every twentieth is.
// The test build wraps StartGame at link time to see where each game begins.
#include "game_fixture.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <random>
#include <string>

namespace {

constexpr int ticks = 200000;
constexpr int draw_every = 20;           // 10 000 drawn ticks
constexpr std::size_t sprite_bound = 500;  // a few dozen in play; a leak of sprites grows past it
constexpr unsigned seed = 20240611;

using Table = std::array<int32_t, 10>;

Table CurrentTable() {
    Table table;
    std::copy(best_scores, best_scores + 10, table.begin());
    return table;
}

// What the table looked like when the current game began.
Table game_start_table;
int games_started = 0;
std::string entry_fault;  // the first game seen with more than one entry

// The table may differ from the one at the game's start only by the game's
// own entry: its score inserted once, everything below moved down one place.
bool AtMostOneEntryOfTheGame(const Table& before, const Table& now) {
    int i = 0;
    while (i < 10 && now[i] == before[i]) ++i;
    if (i == 10) return true;
    if (now[i] != score) return false;
    return std::equal(now.begin() + i + 1, now.end(), before.begin() + i);
}

void CheckTheGameThatEnds() {
    if (!entry_fault.empty() || AtMostOneEntryOfTheGame(game_start_table, CurrentTable())) return;
    entry_fault = "game " + std::to_string(games_started) + " with score " + std::to_string(score) +
                  " changed the table by more than its own entry";
}

}  // namespace

extern "C" {
void __real__ZN4Game9StartGameEv();

void __wrap__ZN4Game9StartGameEv() {
    if (games_started > 0) CheckTheGameThatEnds();
    __real__ZN4Game9StartGameEv();
    game_start_table = CurrentTable();
    ++games_started;
}
}

namespace {

using Soak = GameTest;

// The player: held keys change now and then, the fire button is held more
// often than not; presses come at random, a pause or a display switch is
// undone a little later, as a player would.
struct Player {
    std::mt19937 random{seed};
    int pending_p = -1, pending_f = -1;  // the tick of the press that undoes one

    bool OneIn(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random) == 0; }
    int Soon() { return std::uniform_int_distribution<int>(1, 60)(random); }

    void Act(int tick, bool drawn) {
        Uint8* held = SDL_GetKeyState(nullptr);
        if (OneIn(15)) held[SDLK_LEFT] = OneIn(2);
        if (OneIn(15)) held[SDLK_RIGHT] = OneIn(2);
        if (OneIn(25)) held[SDLK_SPACE] = !OneIn(4);
        if (OneIn(150)) Press(SDLK_RETURN);
        if (OneIn(4000)) Press(SDLK_m);  // each track loads the whole sound font
        if (pending_p < 0 && OneIn(700)) {
            Press(SDLK_p);
            pending_p = tick + Soon();
        } else if (tick == pending_p) {
            Press(SDLK_p);
            pending_p = -1;
        }
        // The display is switched only in ticks that draw, with the real screen.
        if (drawn && pending_f < 0 && OneIn(150)) {
            Press(SDLK_f);
            pending_f = tick + draw_every * Soon();
        } else if (drawn && tick >= pending_f && pending_f >= 0) {
            Press(SDLK_f);
            pending_f = -1;
        }
    }
    static void Press(SDLKey key) {
        SDL_Event event = KeyPress(key);
        SDL_PushEvent(&event);
    }
};

TEST_F(Soak, TwoHundredThousandTicksOfRandomPlayThroughManyGames) {
    const Table start = {5000, 2000, 1000, 500, 200, 100, 50, 20, 10, 5};
    std::copy(start.begin(), start.end(), best_scores);
    std::srand(seed);
    std::printf("soak: %d ticks of random play, every %dth drawn, seed %u\n", ticks, draw_every, seed);
    std::fflush(stdout);

    Player player;
    std::size_t most_sprites = 0;
    int drawn_ticks = 0, games_ended = 0;
    bool was_done = score_done;
    for (int tick = 1; tick <= ticks; ++tick) {
        const bool drawn = tick % draw_every == 0;
        screen = drawn ? SDL_GetVideoSurface() : nullptr;
        drawn_ticks += drawn;
        player.Act(tick, drawn);
        ASSERT_TRUE(Cycle()) << "tick " << tick << ": nothing asked to quit";

        most_sprites = std::max(most_sprites, Sprites.size());
        ASSERT_LE(Sprites.size(), sprite_bound) << "tick " << tick;
        const Table table = CurrentTable();
        ASSERT_TRUE(std::is_sorted(table.begin(), table.end(), std::greater<int32_t>()))
            << "tick " << tick << ": the table fell out of order";
        if (games_started > 0) CheckTheGameThatEnds();
        ASSERT_EQ(entry_fault, "") << "tick " << tick;
        games_ended += score_done && !was_done;
        was_done = score_done;
        if (tick % 50000 == 0) {
            std::printf("soak: tick %d, %d games begun, %d offered to the table, at most %zu sprites\n", tick,
                        games_started, games_ended, most_sprites);
            std::fflush(stdout);
        }
    }
    screen = SDL_GetVideoSurface();
    std::printf("soak: best scores at the end:");
    for (int32_t best : CurrentTable()) std::printf(" %d", best);
    std::printf("\n");
    EXPECT_EQ(drawn_ticks, ticks / draw_every);
    EXPECT_GE(games_ended, 25) << "the session should go through many games";
    EXPECT_NE(CurrentTable(), start) << "some game should have made the table";
}

}  // namespace

// A recorded session replayed headless: a seed and the keys of every tick
// drive the real Cycle, and the states the game passes through are compared
// with the ones recorded when the run was known to be right. The sprite
// sheets are swapped for plain ones of fixed sizes, so the run does not
// depend on the art. Set ORBALUNE_RECORD=1 to print a new recording.
#include "game_fixture.h"

#include <cstdint>
#include <iterator>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>

namespace {

class Replay : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        UsePlainSheets();
        ResetCannon();
        // A track ending on the mixer's thread would draw a number at a time
        // the script cannot know.
        Mix_HookMusicFinished(nullptr);
    }

    // One line of what the game is doing.
    static std::string State(int tick) {
        std::map<int, int> kinds;
        uint64_t hash = 1469598103934665603ull;  // FNV-1a over every sprite
        auto mix = [&hash](int v) {
            for (int i = 0; i < 4; ++i) {
                hash ^= uint8_t(v >> (8 * i));
                hash *= 1099511628211ull;
            }
        };
        for (Sprite* s : Sprites) {
            ++kinds[s->GetType()];
            for (int v : {s->GetType(), s->GetPositionX(), s->GetPositionY(), s->GetFrameNow(),
                          int(s->GetExplosionDie()), s->GetLateStrela()})
                mix(v);
        }
        std::ostringstream line;
        line << "tick " << tick << ": menu " << menu << " pause " << Game::pause << " life " << life
             << " score " << score << " cannon " << delo_rect.x << " counter " << delo_strela_omezeni
             << " sprites";
        for (auto [type, count] : kinds) line << " " << type << "x" << count;
        char hex[20];
        std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
        line << " #" << hex;
        return line.str();
    }
};

// The keys of the session: presses at given ticks, held keys over spans.
struct Press { int tick; SDLKey key; };
struct Hold { int from, to; SDLKey key; };
const Press presses[] = {
    {150, SDLK_RETURN},  // after a while in the menu, a game
    {420, SDLK_p},       // a pause of forty ticks
    {460, SDLK_p},
    {500, SDLK_RETURN},  // ignored during a game
    {640, SDLK_m},       // another track: one more number drawn
};
const Hold holds[] = {
    {100, 140, SDLK_RIGHT},  // held in the menu: nothing moves
    {160, 900, SDLK_SPACE},
    {170, 230, SDLK_RIGHT},
    {230, 330, SDLK_LEFT},
    {330, 380, SDLK_RIGHT},
    {380, 385, SDLK_LEFT},
    {600, 700, SDLK_LEFT},
    {650, 660, SDLK_RIGHT},
};

const char* const recorded[] = {
#include "replay_recording.inc"
};

TEST_F(Replay, ARecordedSessionPassesThroughTheRecordedStates) {
    std::srand(20261211);
    const bool record = std::getenv("ORBALUNE_RECORD") != nullptr;
    std::vector<std::string> seen;
    for (int tick = 0; tick <= 900; ++tick) {
        for (const Press& p : presses)
            if (p.tick == tick) Queue(p.key);
        for (const Hold& h : holds)
            if (h.from == tick || h.to == tick) Held()[h.key] = h.from == tick;
        ASSERT_TRUE(Cycle());
        if (tick % 50 == 0) seen.push_back(State(tick));

        // What must hold whatever the recording says.
        EXPECT_EQ(menu, tick < 150) << tick;
        EXPECT_EQ(Game::pause, tick >= 420 && tick < 460) << tick;
        EXPECT_GE(delo_rect.x, 0);
        EXPECT_LE(delo_rect.x, 800 - delo->w);
        if (tick < 150) {
            EXPECT_EQ(delo_rect.x, 400 - delo->w);
        }
    }
    if (record) {
        for (const std::string& line : seen) std::printf("    \"%s\",\n", line.c_str());
        GTEST_SKIP() << "recorded";
    }
    const std::vector<std::string> expected(std::begin(recorded), std::end(recorded));
    EXPECT_EQ(seen, expected);
}

}  // namespace

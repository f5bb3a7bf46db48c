#include "assets.h"
#include "kinds.h"
#include "presentation.h"
#include "rules.h"
#include "state.h"

namespace Game {

namespace {

constexpr int held_bonus_points = 200;  // a bonus already held turns into points
constexpr int life_limit = 3;           // a life bonus adds a life up to four

void AddLife() {
    if (life > life_limit) {
        score += held_bonus_points;
        return;
    }
    // A lost game brought back: its final score is still to be offered to
    // the table, and its game-over jingle still to come when it ends for good.
    if (life == 0) {
        score_done = false;
        sound_game = false;
    }
    life += 1;
}

}  // namespace

void AddScore(int type) { score += PointsFor(type); }

void SetBonus(int type) {
    const BonusEffect* effect = BonusOf(type);
    if (!effect) return;
    if (!effect->held) {
        AddLife();
    } else if (*effect->held) {
        score += held_bonus_points;
    } else {
        *effect->held = true;
    }
    // The text and the jingle follow whether the bonus was granted or paid out.
    *effect->text_request = true;
    Mix_PlayChannelTimed(any_channel, *effect->sound, 0, -1);
}

}  // namespace Game

#include "kinds.h"

#include "assets.h"
#include "sprites.h"
#include "state.h"

namespace Game {

namespace {

struct Points { int code; int points; };
const Points points_table[] = {
    {kind::eye,        25},
    {kind::skull,      50},
    {kind::rocket,     70},
    {kind::saucer,     90},
    {kind::helicopter, 100},
    {kind::satellite,  125},
    {kind::ship,       150},
};

const BonusEffect bonus_effects[] = {
    // code              bonus held        text request  jingle
    {kind::twin_bonus,  &bonusy_dve_dela, &txt_power,   &sound_power},
    {kind::speed_bonus, &bonusy_rychlost, &txt_speed,   &sound_speed},
    {kind::life_bonus,  nullptr,          &txt_health,  &sound_health},
};

}  // namespace

const Battery batteries[battery_count] = {
    // code            guns   (dx, dy, from the right edge)
    {kind::eye,        1, {{0, 10, false}}},
    {kind::skull,      1, {{0, 10, false}}},
    {kind::saucer,     1, {{0, 10, false}}},
    {kind::helicopter, 2, {{0, 10, false}, {-20, 10, true}}},  // on the ends of its skids
    {kind::satellite,  4, {{-1, 0, false}, {12, 0, false}, {24, 0, false}, {37, 0, false}}},
    {kind::ship,       2, {{20, 0, false}, {80, 0, false}}},
};

int PointsFor(int type) {
    for (const Points& row : points_table)
        if (row.code == type) return row.points;
    return 0;
}

const Battery* BatteryOf(int type) {
    for (const Battery& battery : batteries)
        if (battery.code == type) return &battery;
    return nullptr;
}

const BonusEffect* BonusOf(int type) {
    for (const BonusEffect& effect : bonus_effects)
        if (effect.code == type) return &effect;
    return nullptr;
}

}  // namespace Game

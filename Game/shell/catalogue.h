// The asset catalogue: every file the game reads from its working directory,
// in the order start-up loads it and shutdown frees it. Each row is written
// once here; the game expands it into its globals and load tables, and the
// asset generator expands it into the files it has to paint, synthesise and
// compose. This header depends on nothing.
#pragma once

// X(global, file, frames): frames is how many equal-width frames the sheet
// holds side by side (1 for a still picture).
#define ORBALUNE_IMAGES(X)                                              \
    X(background,      "IMG/Background.bmp",         1)  /* playfield */ \
    X(delo,            "IMG/Delo.bmp",               1)  /* cannon */    \
    X(delo_strela,     "IMG/Delo_strela.bmp",        1)  /* its shot */  \
    X(oko,             "IMG/Oko.bmp",                8)  /* eye */       \
    X(oko_strela,      "IMG/Oko_strela.bmp",         1)                  \
    X(explosion_big,   "IMG/Exploze_big.bmp",        7)                  \
    X(explosion_small, "IMG/Exploze_small.bmp",      7)                  \
    X(hearth,          "IMG/Hearth.bmp",             1)  /* life icon */ \
    X(game_over,       "IMG/Game_Over.bmp",          1)                  \
    X(lebka,           "IMG/Kost_lebka.bmp",         11) /* skull */     \
    X(lebka_strela,    "IMG/Kost_lebka_strela.bmp",  1)                  \
    X(raketa,          "IMG/Raketa.bmp",             3)  /* rocket */    \
    X(bonus_dve_dela,  "IMG/Bonus_dve_dela.bmp",     1)  /* twin cannon */ \
    X(bonus_rychlost,  "IMG/Bonus_rychlost.bmp",     1)  /* speed */     \
    X(menu_nazev,      "IMG/Menu.bmp",               1)  /* title */     \
    X(talir,           "IMG/Talir.bmp",              6)  /* saucer */    \
    X(talir_strela,    "IMG/Talir_strela.bmp",       1)                  \
    X(bonus_zivot,     "IMG/Bonus_zivot.bmp",        1)  /* extra life */ \
    X(vrtulnik,        "IMG/Vrtulnik.bmp",           4)  /* helicopter */ \
    X(vrtulnik_strela, "IMG/Vrtulnik_strela.bmp",    1)                  \
    X(satelit,         "IMG/Satelit.bmp",            5)  /* satellite */ \
    X(satelit_strela,  "IMG/Satelit_strela.bmp",     1)                  \
    X(lod,             "IMG/Lod.bmp",                8)  /* ship */      \
    X(lod_strela,      "IMG/Lod_strela.bmp",         1)                  \
    X(boss,            "IMG/Boss.bmp",               1)                  \
    X(boss_zivot,      "IMG/Boss_zivot.bmp",         1)  /* life bar segment */ \
    X(text_win,        "IMG/Text_win.bmp",           1)                  \
    X(text_power,      "IMG/Text_power.bmp",         1)                  \
    X(text_speed,      "IMG/Text_speed.bmp",         1)                  \
    X(text_health,     "IMG/Text_health.bmp",        1)                  \
    X(text_pause,      "IMG/Text_pause.bmp",         1)

// X(global, file)
#define ORBALUNE_SOUNDS(X)                                   \
    X(sound_strela,       "Sound/Strela.wav")      /* volley */          \
    X(sound_vybuch_big,   "Sound/Vybuch_big.wav")  /* enemy destroyed */ \
    X(sound_vybuch_small, "Sound/Vybuch_small.wav")                      \
    X(sound_medown,       "Sound/MeDown.wav")      /* life lost */       \
    X(sound_speed,        "Sound/Speed.wav")                             \
    X(sound_power,        "Sound/Power.wav")                             \
    X(sound_health,       "Sound/Health.wav")                            \
    X(sound_gameover,     "Sound/GameOver.wav")                          \
    X(sound_victory,      "Sound/Victory.wav")

// X(file): the playlist, in the order of its indices 0 to 17; the names sort
// in the same order.
#define ORBALUNE_MUSIC(X)                 \
    X("Music/01_Lunar_Dawn.mid")          \
    X("Music/02_Orbit_Patrol.mid")        \
    X("Music/03_Crater_Run.mid")          \
    X("Music/04_Starfall.mid")            \
    X("Music/05_Ion_Storm.mid")           \
    X("Music/06_Night_Shift.mid")         \
    X("Music/07_Satellite_Waltz.mid")     \
    X("Music/08_Red_Horizon.mid")         \
    X("Music/09_Comet_Tail.mid")          \
    X("Music/10_Deep_Field.mid")          \
    X("Music/11_Moonbase_Alarm.mid")      \
    X("Music/12_Gravity_Well.mid")        \
    X("Music/13_Neon_Nebula.mid")         \
    X("Music/14_Last_Signal.mid")         \
    X("Music/15_Asteroid_Belt.mid")       \
    X("Music/16_Solar_Wind.mid")          \
    X("Music/17_Eclipse.mid")             \
    X("Music/18_Homecoming.mid")

#define ORBALUNE_FONT_FILE "Font/times.ttf"
#define ORBALUNE_FONT_SIZE 16

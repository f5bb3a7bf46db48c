// Paints every picture of the catalogue: each sheet is its frames side by
// side, checked against the rules the game relies on before it is written.
#include <cstdio>
#include <cstring>
#include <string>

#include "assetgen.h"
#include "catalogue.h"
#include "images_art.h"

namespace {

struct Painter {
    const char* file;
    int frame_width, frame_height;
    bool solid;  // covers its whole rectangle: no colour key at all
    FramePainter paint;
};

const Painter painters[] = {
    // file                         frame w, h  solid  painter
    {"IMG/Background.bmp",          800, 600,   true,  PaintBackground},
    {"IMG/Delo.bmp",                28,  34,    false, PaintCannon},
    {"IMG/Delo_strela.bmp",         16,  20,    false, PaintCannonShot},
    {"IMG/Oko.bmp",                 40,  40,    false, PaintEye},
    {"IMG/Oko_strela.bmp",          8,   12,    false, PaintEyeShot},
    {"IMG/Exploze_big.bmp",         48,  48,    false, PaintBigExplosion},
    {"IMG/Exploze_small.bmp",       24,  24,    false, PaintSmallExplosion},
    {"IMG/Hearth.bmp",              28,  26,    false, PaintHeart},
    {"IMG/Game_Over.bmp",           400, 120,   false, PaintGameOver},
    {"IMG/Kost_lebka.bmp",          40,  44,    false, PaintSkull},
    {"IMG/Kost_lebka_strela.bmp",   10,  10,    false, PaintSkullShot},
    {"IMG/Raketa.bmp",              16,  44,    false, PaintRocket},
    {"IMG/Bonus_dve_dela.bmp",      30,  30,    false, PaintTwinBonus},
    {"IMG/Bonus_rychlost.bmp",      30,  30,    false, PaintSpeedBonus},
    {"IMG/Menu.bmp",                320, 140,   false, PaintTitle},
    {"IMG/Talir.bmp",               56,  24,    false, PaintSaucer},
    {"IMG/Talir_strela.bmp",        8,   8,     false, PaintSaucerShot},
    {"IMG/Bonus_zivot.bmp",         30,  30,    false, PaintLifeBonus},
    {"IMG/Vrtulnik.bmp",            84,  40,    false, PaintHelicopter},
    {"IMG/Vrtulnik_strela.bmp",     6,   12,    false, PaintHelicopterShot},
    {"IMG/Satelit.bmp",             44,  36,    false, PaintSatellite},
    {"IMG/Satelit_strela.bmp",      6,   10,    false, PaintSatelliteShot},
    {"IMG/Lod.bmp",                 120, 48,    false, PaintShip},
    {"IMG/Lod_strela.bmp",          8,   16,    false, PaintShipShot},
    {"IMG/Boss.bmp",                220, 130,   false, PaintBoss},
    {"IMG/Boss_zivot.bmp",          3,   12,    true,  PaintBossLife},
    {"IMG/Text_win.bmp",            460, 160,   false, PaintYouWin},
    {"IMG/Text_power.bmp",          160, 40,    false, PaintPowerText},
    {"IMG/Text_speed.bmp",          160, 40,    false, PaintSpeedText},
    {"IMG/Text_health.bmp",         160, 40,    false, PaintHealthText},
    {"IMG/Text_pause.bmp",          200, 100,   false, PaintPauseText},
};

struct CatalogueRow {
    const char* file;
    int frames;
};

#define ORBALUNE_IMAGE_ROW(global, file, frames) {file, frames},
const CatalogueRow catalogue[] = {ORBALUNE_IMAGES(ORBALUNE_IMAGE_ROW)};
#undef ORBALUNE_IMAGE_ROW

const Painter* FindPainter(const char* file) {
    for (const Painter& p : painters)
        if (std::strcmp(p.file, file) == 0) return &p;
    return nullptr;
}

// The game keys overlays on exact magenta, so a painted pixel close to it
// would flicker between shown and hidden on other displays.
bool NearKey(Rgb c) {
    return (255 - c.r) + c.g + (255 - c.b) < 48;
}

bool CheckFrame(const Canvas& frame, const Painter& p, int index) {
    const int w = frame.Width(), h = frame.Height();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (frame.Opaque(x, y) && NearKey(frame.At(x, y))) {
                std::fprintf(stderr, "%s frame %d: pixel %d,%d is too close to the colour key\n",
                             p.file, index, x, y);
                return false;
            }
    const int opaque = frame.OpaqueCount();
    if (p.solid) {
        if (opaque != w * h) {
            std::fprintf(stderr, "%s: must be solid, has %d see-through pixels\n", p.file,
                         w * h - opaque);
            return false;
        }
        return true;
    }
    if (frame.Opaque(0, 0) || frame.Opaque(w - 1, 0) || frame.Opaque(0, h - 1) ||
        frame.Opaque(w - 1, h - 1)) {
        std::fprintf(stderr, "%s frame %d: a corner pixel is painted\n", p.file, index);
        return false;
    }
    if (opaque * 10 <= w * h) {
        std::fprintf(stderr, "%s frame %d: only %d of %d pixels painted\n", p.file, index,
                     opaque, w * h);
        return false;
    }
    return true;
}

bool PaintSheet(const std::string& data_dir, const CatalogueRow& row) {
    const Painter* p = FindPainter(row.file);
    if (!p) {
        std::fprintf(stderr, "%s: no painter for this picture\n", row.file);
        return false;
    }
    Canvas sheet(p->frame_width * row.frames, p->frame_height);
    for (int f = 0; f < row.frames; ++f) {
        Canvas frame(p->frame_width, p->frame_height);
        p->paint(frame, f, row.frames);
        if (!CheckFrame(frame, *p, f)) return false;
        sheet.Blit(frame, f * p->frame_width, 0);
    }
    return sheet.WriteBmp(data_dir + "/" + row.file);
}

// The sizes the desktop's icon theme asks for.
const int icon_sizes[] = {16, 32, 48, 64, 128, 256};

}  // namespace

bool PaintIcon(const std::string& dir) {
    for (int size : icon_sizes) {
        const std::string apps =
            dir + "/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
        if (!MakeDirs(apps)) return false;
        Canvas icon(size, size);
        PaintIcon(icon, 0, 1);
        if (!icon.WritePng(apps + "/orbalune.png")) return false;
    }
    return true;
}

bool PaintImages(const std::string& data_dir) {
    for (const CatalogueRow& row : catalogue)
        if (!PaintSheet(data_dir, row)) return false;
    return true;
}

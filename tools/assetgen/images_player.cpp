// The player's cannon and its orb shot, the HUD heart and the three bonus
// capsules. The player's side is steel blue with cyan energy; each bonus has
// its own colour so it is told apart while falling.
#include <algorithm>
#include <cmath>

#include "images_art.h"

namespace {

const Ramp kSteel = {{36, 52, 96}, {54, 80, 134}, {80, 116, 172}, {120, 160, 210}, {180, 212, 240}, {236, 246, 255}};
const Ramp kDarkSteel = {{30, 34, 56}, {48, 54, 82}, {74, 82, 112}, {110, 120, 150}};
const Ramp kEnergy = {{0, 110, 170}, {0, 190, 230}, {110, 250, 255}, {235, 255, 255}};
const Rgb kPlayerInk{18, 26, 58};

struct BonusLook {
    Ramp orb;      // the capsule's glass, dark to light
    Rgb ink;       // its outline
};

void PaintBonusOrb(Canvas& c, const BonusLook& look) {
    const float cx = 15, cy = 15, r = 13.2f;
    c.Fill([&](float x, float y) { return InEllipse(x, y, cx, cy, r, r); },
           [&](float x, float y) {
               float light = SphereLight(x, y, cx, cy, r, r);
               // Light passing through the glass brightens the far rim.
               const float d = std::hypot(x - cx, y - cy) / r;
               if (d > 0.8f && x + y > 34) light += 0.3f;
               return RampAt(look.orb, 0.12f + 0.88f * light);
           });
    // A darker disc behind the sign so it reads on the bright glass.
    c.Fill([&](float x, float y) { return InEllipse(x, y, cx, cy + 0.5f, 8.2f, 8.2f); },
           [&](float x, float y) { return RampAt(look.orb, 0.05f + 0.45f * SphereLight(x, y, cx, cy, 9, 9)); });
    c.Outline(look.ink, false);
    // The glint that makes it glass.
    DrawPixelMap(c, 6, 5, {"..ww", ".www", "ww..", "w..."}, {{'w', {255, 255, 255}}});
}

}  // namespace

void PaintCannon(Canvas& c, int, int) {
    // Bogie wheels on the rail.
    const float wheel_x[] = {5.5f, 14.0f, 22.5f};
    for (float wx : wheel_x) {
        c.Fill([&](float x, float y) { return InEllipse(x, y, wx, 30.0f, 3.7f, 3.7f); },
               [&](float x, float y) {
                   const float d = std::hypot(x - wx, y - 30.0f);
                   if (d < 1.3f) return RampAt(kSteel, 0.85f);
                   return RampAt(kDarkSteel, 0.2f + 0.8f * SphereLight(x, y, wx, 30.0f, 3.7f, 3.7f));
               });
    }
    // The chassis runs the full width so twin cannons couple buffer to buffer.
    const std::vector<std::pair<float, float>> chassis = {{0, 23.5f}, {3, 20.5f}, {25, 20.5f}, {28, 23.5f}, {28, 28}, {0, 28}};
    c.Fill([&](float x, float y) { return InPolygon(x, y, chassis); },
           [&](float x, float y) {
               if (y < 21.5f) return RampAt(kSteel, 0.8f);
               if (y > 27) return RampAt(kSteel, 0.1f);
               if (x < 1 || x > 27) return RampAt(kDarkSteel, 0.6f);  // buffers
               return RampAt(kSteel, 0.55f - (y - 21.5f) * 0.07f);
           });
    // Running lights along the chassis.
    for (int x = 4; x <= 23; x += 5) {
        c.Put(x, 25, kEnergy[2]);
        c.Put(x + 1, 25, kEnergy[1]);
    }
    // Armoured dome.
    c.Fill([&](float x, float y) { return InEllipse(x, y, 14, 21, 9.6f, 8.6f) && y < 21; },
           [&](float x, float y) { return RampAt(kSteel, 0.15f + 0.85f * SphereLight(x, y, 14, 17, 10, 9)); });
    // The barrel: a cylinder lit from the left.
    auto barrel_shade = [&](float x, float left, float right) {
        const float t = (x - left) / (right - left);
        return RampAt(kSteel, 0.95f - std::fabs(t - 0.3f) * 1.3f);
    };
    c.Fill([](float x, float y) { return x > 11 && x < 17 && y > 4 && y < 15; },
           [&](float x, float) { return barrel_shade(x, 11, 17); });
    // Energy coils along the barrel.
    for (int y : {7, 11})
        for (int x = 11; x <= 16; ++x) c.Put(x, y, x < 13 ? kEnergy[3] : (x < 15 ? kEnergy[2] : kEnergy[1]));
    // Muzzle brake.
    c.Fill([](float x, float y) { return x > 10 && x < 18 && y > 1 && y < 5; },
           [&](float x, float) { return barrel_shade(x, 10, 18); });
    c.Put(13, 2, kEnergy[2]);
    c.Put(14, 2, kEnergy[2]);
    // The orb core glowing through the dome's window.
    c.Fill([](float x, float y) { return InEllipse(x, y, 14, 17.5f, 2.7f, 2.7f); },
           [](float x, float y) { return RampAt(kEnergy, 1.0f - std::hypot(x - 13.3f, y - 16.8f) / 3.2f); });
    c.Outline(kPlayerInk, false);
}

void PaintCannonShot(Canvas& c, int, int) {
    const Ramp trail = {{60, 40, 170}, {70, 90, 230}, {60, 160, 255}, {120, 230, 255}};
    // The comet tail it leaves on its way up.
    c.Fill([](float x, float y) {
               if (y < 8 || y > 19.5f) return false;
               const float half = 4.2f * (1 - (y - 8) / 12.5f);
               return std::fabs(x - 8) < half;
           },
           [&](float x, float y) {
               const float t = 1 - (y - 8) / 12.0f - std::fabs(x - 8) * 0.08f;
               return RampDither(trail, t, static_cast<int>(x), static_cast<int>(y));
           });
    // Glow, then the white-hot orb.
    c.Fill([](float x, float y) { return InEllipse(x, y, 8, 7.5f, 6.6f, 7.0f); }, {60, 170, 255});
    c.Fill([](float x, float y) { return InEllipse(x, y, 8, 7.5f, 5.2f, 5.6f); }, {110, 230, 255});
    c.Fill([](float x, float y) { return InEllipse(x, y, 8, 7.2f, 3.6f, 4.0f); }, {200, 250, 255});
    c.Fill([](float x, float y) { return InEllipse(x, y, 7.5f, 6.5f, 2.0f, 2.2f); }, {255, 255, 255});
}

void PaintHeart(Canvas& c, int, int) {
    const Ramp red = {{110, 10, 40}, {170, 20, 45}, {220, 40, 55}, {250, 90, 90}, {255, 170, 160}};
    auto in_heart = [](float x, float y) {
        const float u = (x - 14) / 11.3f, v = -(y - 14.3f) / 10.4f;
        const float a = u * u + v * v - 1;
        return a * a * a - u * u * v * v * v <= 0;
    };
    c.Fill(in_heart, [&](float x, float y) {
        const float light = SphereLight(x, y, 14, 10, 14, 13);
        return RampAt(red, 0.1f + 0.9f * light);
    });
    c.Outline({70, 8, 36}, false);
    DrawPixelMap(c, 6, 5, {".www", "wwww", "ww..", "w..."}, {{'w', {255, 235, 230}}});
}

void PaintTwinBonus(Canvas& c, int, int) {
    PaintBonusOrb(c, {{{120, 40, 10}, {190, 80, 10}, {240, 140, 20}, {255, 200, 60}, {255, 240, 160}}, {70, 24, 8}});
    // Two cannon barrels on one carriage.
    DrawPixelMap(c, 10, 10,
                 {"kkkk.kkkk",
                  "kwwk.kwwk",
                  ".kwk.kwk.",
                  ".kwk.kwk.",
                  ".kwk.kwk.",
                  "kkwkkkwkk",
                  "kwwwwwwwk",
                  "kwlllllwk",
                  "kkkkkkkkk",
                  "kwk...kwk",
                  ".k.....k."},
                 {{'k', {70, 24, 8}}, {'w', {255, 255, 245}}, {'l', {255, 200, 90}}});
}

void PaintSpeedBonus(Canvas& c, int, int) {
    PaintBonusOrb(c, {{{10, 40, 120}, {20, 90, 190}, {30, 150, 240}, {100, 210, 255}, {200, 245, 255}}, {8, 24, 70}});
    DrawPixelMap(c, 9, 6,
                 {"......kkkk",
                  ".....kwwk.",
                  "....kwwk..",
                  "...kwwk...",
                  "..kwwwkkkk",
                  ".kwwwwwwwk",
                  ".kkkkwwwk.",
                  "....kwwk..",
                  "...kwwk...",
                  "..kwwk....",
                  "..kwk.....",
                  "..kk......"},
                 {{'k', {8, 24, 70}}, {'w', {255, 250, 150}}});
}

void PaintLifeBonus(Canvas& c, int, int) {
    PaintBonusOrb(c, {{{10, 80, 40}, {20, 130, 50}, {40, 185, 70}, {110, 230, 110}, {200, 255, 190}}, {8, 50, 24}});
    DrawPixelMap(c, 10, 9,
                 {".kkk.kkk.",
                  "kwrrkrrrk",
                  "kwrrrrrrk",
                  "krrrrrrdk",
                  ".krrrrdk.",
                  "..krrdk..",
                  "...krk...",
                  "....k...."},
                 {{'k', {70, 8, 30}}, {'w', {255, 220, 220}}, {'r', {240, 50, 60}}, {'d', {170, 20, 45}}});
}

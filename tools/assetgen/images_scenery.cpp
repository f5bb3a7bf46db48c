// The playfield, the explosions, the boss and its life bar.
#include <algorithm>
#include <cmath>

#include "images_art.h"

namespace {

constexpr float kPi = 3.14159265f;

// Places the HUD draws over: the sky stays calm there.
struct Calm {
    int x0, y0, x1, y1;
};
const Calm calm_areas[] = {
    {40, 6, 512, 36},   // boss life bar
    {570, 2, 790, 44},  // score and hearts
};

bool InCalm(int x, int y) {
    for (const Calm& a : calm_areas)
        if (x >= a.x0 && x <= a.x1 && y >= a.y0 && y <= a.y1) return true;
    return false;
}

constexpr int kGroundTop = 541;   // falling things burst here
constexpr int kRailTop = 553;     // the cannon's wheels run on this

// Height of a ridge line at column x: layered sines with a little noise.
float Ridge(float x, float base, float height, uint32_t seed) {
    // Ridged noise: sharp crests, rounded valleys.
    float sum = 0, amp = 0.6f, freq = 0.006f;
    for (int i = 0; i < 5; ++i) {
        const float n = ValueNoise(x * freq, 0.5f + i * 7.0f, seed + i);
        sum += amp * (1 - std::fabs(2 * n - 1));
        amp *= 0.45f;
        freq *= 2.2f;
    }
    return base - height * sum;
}

}  // namespace

void PaintBackground(Canvas& c, int, int) {
    const int w = c.Width();
    // Night sky: deep blue at the top warming to a violet haze at the horizon.
    const Ramp sky = {{6, 8, 26},   {9, 11, 34},  {13, 15, 44}, {18, 19, 54}, {25, 23, 64},
                      {34, 27, 74}, {46, 32, 84}, {60, 38, 92}, {78, 46, 100}};
    for (int y = 0; y < kGroundTop; ++y)
        for (int x = 0; x < w; ++x) {
            const float t = std::pow(y / 520.0f, 1.6f);
            c.Put(x, y, InCalm(x, y) ? sky[0] : RampDither(sky, t, x, y));
        }
    // A faint band of the galaxy across the middle sky.
    for (int y = 40; y < 420; ++y)
        for (int x = 0; x < w; ++x) {
            if (InCalm(x, y)) continue;
            const float band_y = 330 - x * 0.28f;
            const float d = std::fabs(y - band_y) / 70.0f;
            if (d > 1) continue;
            const float cloud = Fbm(x * 0.018f, y * 0.03f, 5, 5) * (1 - d * d);
            if (cloud > 0.42f) {
                const Rgb base = c.At(x, y);
                const float lift = cloud > 0.52f ? 1.45f : 1.22f;
                if (cloud > 0.42f + Bayer4(x, y) * 0.1f) c.Put(x, y, Scale(base, lift));
            }
        }
    // Stars, denser up high, a few bright ones with a twinkle cross.
    Rng rng(1701);
    for (int i = 0; i < 520; ++i) {
        const int x = rng.Int(0, w - 1);
        const int y = static_cast<int>(std::pow(rng.Unit(), 1.5f) * 470);
        const float kind = rng.Unit();
        if (InCalm(x, y) || InCalm(x - 2, y - 2) || InCalm(x + 2, y + 2)) continue;
        const Rgb tints[] = {{200, 210, 255}, {255, 240, 210}, {255, 255, 255}, {210, 240, 255}};
        const Rgb tint = tints[rng.Int(0, 3)];
        if (kind < 0.6f) {
            c.Put(x, y, Mix(c.At(x, y), tint, rng.Range(0.3f, 0.7f)));
        } else if (kind < 0.94f) {
            c.Put(x, y, tint);
        } else {
            c.Put(x, y, {255, 255, 255});
            for (int k = 1; k <= 2; ++k) {
                const Rgb arm = Mix(c.At(x + k, y), tint, k == 1 ? 0.7f : 0.35f);
                c.Put(x - k, y, arm);
                c.Put(x + k, y, arm);
                c.Put(x, y - k, arm);
                c.Put(x, y + k, arm);
            }
        }
    }
    // The moon, with a soft stepped halo, lit from the right.
    const float mx = 112, my = 128, mr = 44;
    for (int y = int(my - 90); y < int(my + 90); ++y)
        for (int x = int(mx - 90); x < int(mx + 90); ++x) {
            const float d = std::hypot(x + 0.5f - mx, y + 0.5f - my);
            if (d <= mr || d > 86 || InCalm(x, y)) continue;
            const float glow = 1 - (d - mr) / 42.0f;
            if (glow > Bayer4(x, y) * 0.9f + 0.1f) c.Put(x, y, Mix(c.At(x, y), {120, 110, 160}, 0.12f + 0.18f * glow * glow));
        }
    const Ramp moon = {{60, 56, 96}, {96, 92, 130}, {140, 136, 164}, {186, 182, 196}, {222, 218, 214}, {246, 242, 228}};
    struct Crater {
        float x, y, r;
    };
    const Crater craters[] = {{-14, -12, 9}, {12, 6, 7}, {-4, 18, 6}, {18, -18, 5}, {-24, 10, 4}, {4, -26, 4}, {26, 14, 3.5f}};
    c.Fill([&](float x, float y) { return InEllipse(x, y, mx, my, mr, mr); },
           [&](float x, float y) {
               const float nx = (x - mx) / mr, ny = (y - my) / mr;
               const float nz = std::sqrt(std::max(0.0f, 1 - nx * nx - ny * ny));
               float light = Clamp01(0.62f * nx - 0.3f * ny + 0.72f * nz) * 0.9f + 0.08f;
               light += (Fbm(x * 0.06f, y * 0.06f, 77, 3) - 0.5f) * 0.35f;  // maria
               for (const Crater& k : craters) {
                   const float dx = x - mx - k.x, dy = y - my - k.y;
                   const float d = std::hypot(dx, dy) / k.r;
                   if (d < 1) light += (dx * 0.6f - dy * 0.3f) / k.r > 0 ? 0.08f : -0.22f;  // the bowl
                   else if (d < 1.25f) light += (dx * 0.6f - dy * 0.3f) > 0 ? -0.08f : 0.12f;  // the rim
               }
               return RampDither(moon, light, static_cast<int>(x), static_cast<int>(y));
           });
    // A small ringed planet far off.
    const float px = 688, py = 196, pr = 13;
    c.Fill([&](float x, float y) { return InEllipse(x, y, px, py, pr, pr); },
           [&](float x, float y) {
               const float band = std::sin((y - py) * 0.9f);
               const Ramp planet = {{40, 40, 90}, {70, 70, 140}, {110, 100, 180}, {160, 150, 220}};
               return RampAt(planet, SphereLight(x, y, px, py, pr, pr) + (band > 0.5f ? 0.15f : 0.0f));
           });
    for (float a = 0; a < 2 * kPi; a += 0.01f) {
        const float rx = 24 * std::cos(a), ry = 5 * std::sin(a);
        const int x = static_cast<int>(px + rx * 0.96f + ry * 0.9f), y = static_cast<int>(py + ry - rx * 0.2f);
        if (ry < 0 && std::hypot(x - px, y - py) < pr) continue;  // behind the planet
        c.Put(x, y, {170, 160, 210});
    }
    // Distant mountains in two layers, the near one darker.
    struct Layer {
        float base, height;
        uint32_t seed;
        Rgb body, rim;
    };
    const Layer layers[] = {
        // base  height seed  body            rim
        {500, 120, 3, {40, 32, 78}, {70, 54, 106}},
        {541, 80, 9, {26, 22, 54}, {50, 40, 84}},
    };
    for (const Layer& l : layers)
        for (int x = 0; x < w; ++x) {
            const float top = Ridge(x, l.base, l.height, l.seed);
            // Slopes that rise to the right face the moon and catch its light.
            const float rise = Ridge(x - 1.0f, l.base, l.height, l.seed) - Ridge(x + 1.0f, l.base, l.height, l.seed);
            const float lit_depth = std::min(7.0f, std::max(0.0f, rise * 5.0f));
            for (int y = std::max(0, static_cast<int>(top)); y < kGroundTop; ++y) {
                const float depth = y - top;
                Rgb col = l.body;
                if (depth < 1.5f) col = l.rim;
                else if (depth < lit_depth && Bayer4(x, y) < 0.5f) col = l.rim;
                // Ground haze thickening towards the foot of the range.
                else if (kGroundTop - y < 18 && Bayer4(x, y) < (18 - (kGroundTop - y)) / 36.0f) col = Mix(l.body, l.rim, 0.5f);
                c.Put(x, y, col);
            }
        }
    // The lunar ground: grey regolith with a lit lip where things burst.
    const Ramp regolith = {{44, 42, 62}, {62, 60, 82}, {84, 82, 104}, {110, 108, 128}, {140, 138, 156}};
    for (int y = kGroundTop; y < c.Height(); ++y)
        for (int x = 0; x < w; ++x) {
            const float n = Fbm(x * 0.08f, y * 0.25f, 13, 3);
            float t = 0.72f - (y - kGroundTop) * 0.008f + (n - 0.5f) * 0.5f;
            if (y == kGroundTop) t = 1.0f;
            else if (y == kGroundTop + 1) t = 0.85f;
            c.Put(x, y, RampDither(regolith, t, x, y));
        }
    // Craters pocking the foreground.
    Rng ground(4242);
    for (int i = 0; i < 16; ++i) {
        const float cx = ground.Range(10, w - 10), cy = ground.Range(566, 592);
        const float rx = ground.Range(7, 20), ry = rx * 0.28f;
        c.Fill([&](float x, float y) { return InEllipse(x, y, cx, cy, rx + 1.5f, ry + 1.2f) && y > 562; },
               [&](float x, float y) {
                   if (InEllipse(x, y, cx, cy, rx, ry)) return y < cy ? regolith[0] : regolith[1];
                   return y < cy ? regolith[3] : regolith[2];
               });
    }
    // The cannon's track: ballast bed, sleepers and a polished rail.
    for (int y = 546; y < 562; ++y)
        for (int x = 0; x < w; ++x) {
            if (y < 549 || y > 559) {
                if (Bayer4(x, y) < (y < 549 ? (y - 545) / 4.0f : (562 - y) / 3.0f)) c.Put(x, y, {40, 38, 54});
                continue;
            }
            Rgb col{40, 38, 54};
            if ((x + 3) % 14 < 7 && y >= 555) col = y == 555 ? Rgb{96, 80, 72} : Rgb{70, 56, 52};  // sleeper
            if (y == kRailTop) col = {214, 222, 236};
            else if (y == kRailTop + 1) col = {150, 160, 184};
            else if (y == kRailTop + 2) col = {90, 96, 120};
            else if (y == kRailTop - 1) col = {30, 28, 42};  // the groove the wheels sit in
            c.Put(x, y, col);
        }
    for (int x = 6; x < w; x += 40) {  // rivets glinting on the rail
        c.Put(x, kRailTop + 1, {240, 244, 255});
    }
}

// ---- Explosions ------------------------------------------------------------

namespace {

// One fireball shape for both sizes: scale is the frame size over 48.
void PaintExplosion(Canvas& c, int frame, int frames, uint32_t seed) {
    const float size = static_cast<float>(c.Width());
    const float cx = size / 2, cy = size / 2;
    const float t = static_cast<float>(frame) / (frames - 1);  // 0 flash .. 1 faded
    const Ramp fire = {{90, 20, 30}, {170, 40, 24}, {230, 90, 20}, {255, 160, 30}, {255, 220, 80}, {255, 255, 210}, {255, 255, 255}};
    const Ramp smoke = {{40, 36, 52}, {66, 60, 78}, {96, 90, 106}, {130, 124, 136}};
    // How big the cloud is and how hot, frame by frame.
    struct Stage {
        float radius;  // of the cloud, in frame widths
        float heat;    // 1 white-hot .. 0 all smoke
        float holes;   // how much the cloud has broken up
    };
    const Stage stages[] = {
        {0.18f, 1.00f, 0.00f},  // flash
        {0.25f, 0.92f, 0.00f},
        {0.31f, 0.78f, 0.05f},
        {0.35f, 0.62f, 0.12f},
        {0.38f, 0.44f, 0.25f},
        {0.39f, 0.24f, 0.38f},
        {0.40f, 0.08f, 0.48f},  // fading smoke
    };
    const Stage& s = stages[std::min(frame, 6)];
    const float r = s.radius * size;
    c.Fill([&](float x, float y) {
               const float dx = x - cx, dy = y - cy;
               const float d = std::hypot(dx, dy);
               const float n = Fbm(x * 6.0f / size + seed, y * 6.0f / size, seed, 3);
               const float edge = r * (0.8f + 0.38f * n);
               if (d > edge || x < 1 || y < 1 || x > size - 1 || y > size - 1) return false;
               // Late frames tear into puffs with gaps.
               const float tear = Fbm(x * 9.0f / size, y * 9.0f / size + t * 3, seed + 9, 2);
               return tear > s.holes * (0.6f + 0.8f * d / r);
           },
           [&](float x, float y) {
               const float d = std::hypot(x - cx, y - cy) / r;
               const float n = Fbm(x * 8.0f / size, y * 8.0f / size, seed + 3, 3);
               const float heat = s.heat * (1.25f - d * 0.9f) + (n - 0.5f) * 0.45f;
               if (heat < 0.18f) {
                   const float shade = 0.35f + 0.6f * SphereLight(x, y, cx, cy, r, r) + (n - 0.5f) * 0.4f;
                   return RampAt(smoke, shade * (0.5f + 0.5f * s.heat + 0.4f));
               }
               return RampAt(fire, heat);
           });
    // Sparks thrown out, flying further each frame.
    Rng rng(seed * 31 + 7);
    const int sparks = 14;
    for (int i = 0; i < sparks; ++i) {
        const float a = rng.Range(0, 2 * kPi), speed = rng.Range(0.7f, 1.1f);
        const float reach = (0.18f + 0.32f * t) * size * speed + r * 0.5f;
        const int x = static_cast<int>(cx + std::cos(a) * reach), y = static_cast<int>(cy + std::sin(a) * reach);
        if (x < 1 || y < 1 || x > size - 2 || y > size - 2 || frame == 0 || frame == 6) continue;
        const Rgb hot = frame < 3 ? Rgb{255, 255, 200} : frame < 5 ? Rgb{255, 200, 80} : Rgb{230, 110, 40};
        c.Put(x, y, hot);
        if (size > 30 && frame < 4) c.Put(x - static_cast<int>(std::cos(a) * 1.5f), y - static_cast<int>(std::sin(a) * 1.5f), Scale(hot, 0.8f));
    }
    // The flash frame throws a four-point star of light.
    if (frame <= 1) {
        const int arm = static_cast<int>(size * (frame == 0 ? 0.42f : 0.36f));
        for (int k = -arm; k <= arm; ++k) {
            const Rgb ray = std::abs(k) < arm / 2 ? Rgb{255, 255, 230} : Rgb{255, 220, 120};
            if (!c.Opaque(int(cx) + k, int(cy))) c.Put(int(cx) + k, int(cy), ray);
            if (!c.Opaque(int(cx), int(cy) + k)) c.Put(int(cx), int(cy) + k, ray);
        }
    }
}

}  // namespace

void PaintBigExplosion(Canvas& c, int frame, int frames) { PaintExplosion(c, frame, frames, 11); }
void PaintSmallExplosion(Canvas& c, int frame, int frames) { PaintExplosion(c, frame, frames, 23); }

// ---- Boss ------------------------------------------------------------------

void PaintBoss(Canvas& c, int, int) {
    const Ramp shell = {{60, 14, 34}, {96, 20, 44}, {140, 30, 52}, {186, 52, 62}, {224, 96, 88}, {248, 160, 130}};
    const Ramp bone = {{110, 96, 84}, {170, 156, 130}, {220, 210, 180}, {250, 244, 222}};
    const Ramp core = {{20, 100, 40}, {40, 180, 60}, {120, 240, 100}, {220, 255, 190}, {255, 255, 255}};
    const Rgb ink{40, 8, 26};
    const float cx = 110;
    // Claws sweeping down from both flanks.
    for (int side = -1; side <= 1; side += 2) {
        for (float s = 0; s <= 1.0f; s += 0.01f) {
            const float x = cx + side * (74 + 26 * std::sin(s * 1.6f));
            const float y = 50 + s * 68;
            const float r = 9 * (1 - s) + 1.5f;
            c.Fill([&](float px, float py) { return InEllipse(px, py, x, y, r, r); },
                   [&](float px, float py) { return RampAt(bone, 0.3f + 0.7f * SphereLight(px, py, x - side * 2, y, r + 2, r + 2)); });
        }
    }
    // Cannon pods under the hull.
    for (float gx : {62.0f, 158.0f}) {
        c.Fill([&](float x, float y) { return InEllipse(x, y, gx, 86, 12, 14); },
               [&](float x, float y) { return RampAt(shell, 0.1f + 0.8f * SphereLight(x, y, gx, 82, 12, 14)); });
        c.Fill([&](float x, float y) { return x > gx - 4 && x < gx + 4 && y > 92 && y < 110; },
               [&](float x, float) { return RampAt(bone, x < gx ? 0.8f : 0.35f); });
        c.Fill([&](float x, float y) { return InEllipse(x, y, gx, 109, 5, 2.5f); }, core[2]);
    }
    // The main hull: a wide armoured carapace.
    c.Fill([&](float x, float y) { return InEllipse(x, y, cx, 56, 92, 34) && y > 24; },
           [&](float x, float y) {
               float light = 0.1f + 0.9f * SphereLight(x, y, cx - 20, 40, 100, 40);
               // Armour ribs radiating from the crown.
               const float ang = std::atan2(y - 10, x - cx);
               if (std::fabs(std::sin(ang * 9)) < 0.12f) light -= 0.25f;
               return RampAt(shell, light);
           });
    // The underbelly maw with its teeth and the green fire inside.
    c.Fill([&](float x, float y) { return InEllipse(x, y, cx, 80, 40, 16) && y > 70; },
           [&](float x, float y) {
               const float d = std::hypot((x - cx) / 40, (y - 80) / 16);
               return RampAt(core, 1.1f - d * 1.2f);
           });
    for (int i = -5; i <= 5; ++i) {
        const float tx = cx + i * 7.0f;
        const float top = 70 + std::fabs(i) * 0.8f;
        c.Fill([&](float x, float y) { return y > top && y < top + 9 - std::fabs(i) * 0.5f && std::fabs(x - tx) < 3.2f * (1 - (y - top) / (9.5f - std::fabs(i) * 0.5f)); },
               [&](float x, float) { return RampAt(bone, x < tx ? 0.95f : 0.55f); });
        const float btop = 92 - std::fabs(i) * 0.7f;
        if (std::abs(i) < 5)
            c.Fill([&](float x, float y) { return y < btop && y > btop - 7 && std::fabs(x - tx - 3.5f) < 2.8f * (1 - (btop - y) / 7.5f); },
                   [&](float x, float) { return RampAt(bone, x < tx + 3.5f ? 0.8f : 0.4f); });
    }
    // Horns on the crown.
    for (int side = -1; side <= 1; side += 2)
        for (float s = 0; s <= 1.0f; s += 0.01f) {
            const float x = cx + side * (28 + s * 30 + s * s * 10);
            const float y = 30 - s * 26 + s * s * 8;
            const float r = 5.5f * (1 - s) + 0.8f;
            c.Fill([&](float px, float py) { return InEllipse(px, py, x, y, r, r); },
                   [&](float px, float py) { return RampAt(bone, 0.2f + 0.8f * SphereLight(px, py, x - 1, y - 1, r + 1, r + 1)); });
        }
    // The crown dome: a glass brain-case with the glowing orb core.
    c.Fill([&](float x, float y) { return InEllipse(x, y, cx, 34, 30, 24) && y < 44; },
           [&](float x, float y) {
               const float light = SphereLight(x, y, cx, 30, 30, 24);
               const Ramp glass = {{40, 20, 70}, {70, 40, 120}, {110, 80, 170}, {170, 150, 220}};
               return RampAt(glass, 0.1f + 0.9f * light);
           });
    c.Fill([&](float x, float y) { return InEllipse(x, y, cx, 32, 13, 12); },
           [&](float x, float y) { return RampAt(core, 1.15f - std::hypot(x - cx + 3, y - 29) / 13.0f); });
    // Its slit of an eye in the orb.
    c.Fill([&](float x, float y) { return InEllipse(x, y, cx, 32, 2.2f, 8); }, Rgb{20, 40, 20});
    // Rows of glowing vents down the flanks.
    for (int side = -1; side <= 1; side += 2)
        for (int i = 0; i < 5; ++i) {
            const float vx = cx + side * (42 + i * 9), vy = 52 + i * 3.2f;
            c.Fill([&](float x, float y) { return InEllipse(x, y, vx, vy, 2.6f, 1.6f); }, core[2]);
            c.Put(static_cast<int>(vx), static_cast<int>(vy), core[4]);
        }
    c.Outline(ink, false);
    // A highlight glint on the dome.
    DrawPixelMap(c, 92, 16, {"..www", ".ww..", "ww...", "w...."}, {{'w', {230, 220, 255}}});
}

void PaintBossLife(Canvas& c, int, int) {
    // One segment; 150 of them touch to make a solid bar.
    const Rgb rows[] = {{255, 170, 150}, {255, 90, 70}, {236, 50, 44}, {220, 36, 36}, {206, 30, 34}, {196, 26, 32},
                        {186, 22, 30}, {172, 20, 30}, {156, 16, 28}, {138, 14, 26}, {110, 10, 24}, {70, 6, 20}};
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) c.Put(x, y, rows[y]);
}

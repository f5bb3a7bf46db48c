// The seven kinds of enemy and their shots. Each kind has its own colours so
// it is known at a glance: the purple eye, the bone skull with its green
// ghost-fire, the red-nosed rocket, the silver saucer, the olive gunship,
// the gold-foil satellite and the slate warship. Outlines are a dark shade of
// each sprite's own colour, never black, so they hold against the night sky.
#include <algorithm>
#include <cmath>

#include "images_art.h"

namespace {

constexpr float kPi = 3.14159265f;

// A round glowing pellet: rings of colour from the rim to a white core.
void Pellet(Canvas& c, float cx, float cy, float rx, float ry, const Ramp& rings) {
    const int n = static_cast<int>(rings.size());
    for (int i = 0; i < n; ++i) {
        const float k = 1.0f - static_cast<float>(i) / n;
        c.Fill([&](float x, float y) { return InEllipse(x, y, cx - (1 - k) * 0.6f, cy - (1 - k) * 0.6f, rx * k, ry * k); },
               rings[i]);
    }
}

// A falling bolt: a comet whose head is at the bottom, its tail above.
void Bolt(Canvas& c, float cx, float head_y, float head_r, float tail_y, const Ramp& rings) {
    const int n = static_cast<int>(rings.size());
    for (int i = 0; i < n; ++i) {
        const float k = 1.0f - static_cast<float>(i) / n;
        const float r = head_r * k;
        const float top = tail_y + (1 - k) * (head_y - tail_y) * 0.5f;  // inner rings trail less
        c.Fill([&](float x, float y) {
                   if (InEllipse(x, y, cx, head_y, r, r)) return true;
                   if (y < top || y > head_y) return false;
                   const float s = (head_y - y) / (head_y - top);  // 0 at the head, 1 at the tip
                   return std::fabs(x - cx) <= r * std::pow(1 - s, 1.4f) + 0.15f;
               },
               rings[i]);
    }
}

// ---- Eye -------------------------------------------------------------------

const Ramp kFlesh = {{70, 24, 96}, {104, 40, 140}, {140, 62, 178}, {180, 100, 210}, {214, 150, 236}};
const Rgb kFleshInk{52, 14, 66};

struct EyePose {
    float look_x, look_y;  // where the iris points, -1..1
    float lid;             // upper lid closed fraction, 0 open to 1 shut
    bool angry;            // firing: the iris flares
};

const EyePose eye_poses[] = {
    // look x, y   lid    angry
    {0.85f, 0.05f, 0.12f, false},  // 0 gazing ahead
    {0.60f, 0.55f, 0.12f, false},  // 1 looking down at the cannon
    {0.00f, 0.85f, 0.05f, true},   // 2 glaring straight down: fires
    {-0.6f, 0.50f, 0.12f, false},  // 3 glancing back
    {-0.75f, 0.0f, 0.55f, false},  // 4 lid drooping
    {0.00f, 0.00f, 1.00f, false},  // 5 blink
    {0.20f, -0.4f, 0.50f, false},  // 6 opening, looking up
    {0.60f, -0.15f, 0.25f, false}, // 7 in-between back to 0
};

void DrawTentacle(Canvas& c, float root_x, float root_y, float phase, float length, float thick) {
    for (float s = length; s >= 0; s -= 0.5f) {
        const float t = s / length;
        const float x = root_x - s;
        const float y = root_y + std::sin(phase - t * 3.2f) * 3.0f * t;
        const float r = thick * (1 - t * 0.75f);
        c.Fill([&](float px, float py) { return InEllipse(px, py, x, y, r, r); },
               [&](float, float py) { return RampAt(kFlesh, 0.55f - t * 0.3f + (py < y ? 0.25f : 0.0f)); });
    }
}

}  // namespace

void PaintEye(Canvas& c, int frame, int frames) {
    const EyePose& pose = eye_poses[frame % 8];
    const float phase = 2 * kPi * frame / frames;
    const float cx = 24, cy = 19, r = 12.2f;
    // Tentacles streaming behind as it swims right.
    DrawTentacle(c, 14, 14, phase, 12, 2.6f);
    DrawTentacle(c, 14, 26, phase + 2.1f, 12, 2.6f);
    DrawTentacle(c, 13, 20, phase + 1.0f, 13, 3.0f);
    // The fleshy shell the eyeball sits in.
    c.Fill([&](float x, float y) { return InEllipse(x, y, cx - 0.5f, cy + 0.5f, r + 2.2f, r + 2.0f); },
           [&](float x, float y) { return RampAt(kFlesh, 0.15f + 0.85f * SphereLight(x, y, cx, cy, r + 2, r + 2)); });
    // The eyeball.
    const Ramp sclera = {{170, 120, 160}, {214, 180, 204}, {240, 226, 234}, {255, 250, 250}};
    c.Fill([&](float x, float y) { return InEllipse(x, y, cx, cy, r, r); },
           [&](float x, float y) {
               return RampAt(sclera, 0.2f + 0.8f * SphereLight(x, y, cx, cy, r, r));
           });
    // Bloodshot veins creeping in from the rim, forking as they go.
    const float vein_angles[] = {-2.6f, -2.0f, 2.3f, 2.9f, 1.7f, -1.2f};
    for (float a : vein_angles) {
        float vx = cx + std::cos(a) * (r - 0.6f), vy = cy + std::sin(a) * (r - 0.6f);
        for (int step = 0; step < 6; ++step) {
            const float bend = a + kPi + std::sin(step * 1.7f + a * 3) * 0.6f;
            vx += std::cos(bend);
            vy += std::sin(bend);
            c.Put(int(vx), int(vy), step < 3 ? Rgb{200, 40, 70} : Rgb{226, 110, 130});
        }
    }
    // Iris and pupil, pushed across the ball to where it looks.
    const float ix = cx + pose.look_x * 5.6f, iy = cy + pose.look_y * 5.6f;
    const float squash_x = 1 - std::fabs(pose.look_x) * 0.25f, squash_y = 1 - std::fabs(pose.look_y) * 0.25f;
    const Ramp iris = pose.angry ? Ramp{{170, 20, 20}, {240, 70, 20}, {255, 170, 40}, {255, 240, 150}}
                                 : Ramp{{150, 60, 0}, {220, 120, 10}, {255, 180, 40}, {255, 225, 120}};
    const float iris_r = pose.angry ? 6.0f : 5.4f;
    c.Fill([&](float x, float y) { return InEllipse(x, y, ix, iy, iris_r * squash_x, iris_r * squash_y); },
           [&](float x, float y) {
               const float d = std::hypot((x - ix) / squash_x, (y - iy) / squash_y) / iris_r;
               return RampAt(iris, d > 0.82f ? 0.0f : 1.05f - d);
           });
    const float pupil_r = pose.angry ? 1.6f : 2.5f;
    c.Fill([&](float x, float y) { return InEllipse(x, y, ix, iy, pupil_r * squash_x, pupil_r * squash_y + (pose.angry ? 1.0f : 0.0f)); },
           Rgb{30, 8, 30});
    // Wet highlight on the ball.
    c.Put(int(cx - 6), int(cy - 6), {255, 255, 255});
    c.Put(int(cx - 5), int(cy - 6), {255, 255, 255});
    c.Put(int(cx - 6), int(cy - 5), {255, 255, 255});
    // The lids close from above, with a thin lower lid rising to meet them.
    const float lid_edge = cy - r + pose.lid * 2 * r * 0.92f;
    const float low_edge = cy + r - 2.0f - pose.lid * 3.0f;
    c.Fill([&](float x, float y) { return InEllipse(x, y, cx, cy, r + 0.6f, r + 0.6f) && (y < lid_edge + std::cos((x - cx) / r * 1.4f) * 2.0f || y > low_edge); },
           [&](float x, float y) {
               const bool upper = y < cy || pose.lid > 0.9f;
               const float edge = upper ? lid_edge + std::cos((x - cx) / r * 1.4f) * 2.0f : low_edge;
               if (std::fabs(y - edge) < 1.0f) return kFlesh[4];
               return RampAt(kFlesh, 0.2f + 0.8f * SphereLight(x, y, cx, cy, r, r));
           });
    if (pose.lid > 0.9f)  // the lash line of the shut eye
        for (int x = int(cx - r + 3); x <= int(cx + r - 3); ++x)
            c.Put(x, int(cy + 3 + std::cos((x - cx) / r * 1.4f) * 2.0f), kFleshInk);
    c.Outline(kFleshInk, false);
}

void PaintEyeShot(Canvas& c, int, int) {
    Bolt(c, 4, 7.8f, 3.4f, 0.5f, {{190, 30, 80}, {255, 90, 120}, {255, 180, 180}, {255, 250, 240}});
}

// ---- Skull -----------------------------------------------------------------

namespace {

const Ramp kBone = {{120, 96, 88}, {172, 150, 124}, {214, 200, 168}, {240, 232, 206}, {255, 252, 238}};
const Rgb kBoneInk{62, 34, 44};
const Ramp kGhostFire = {{20, 110, 60}, {40, 180, 80}, {120, 240, 110}, {220, 255, 200}};

}  // namespace

void PaintSkull(Canvas& c, int frame, int frames) {
    const float t = static_cast<float>(frame) / frames;
    const int jaw = static_cast<int>(std::lround(4.0f * (0.5f - 0.5f * std::cos(2 * kPi * t))));
    // Ghost-fire streaming out behind it as it flies left: tongues of flame
    // that ripple back along the skull's wake.
    struct Tongue {
        float y, length, width, phase;
    };
    const Tongue tongues[] = {{10, 16, 4.0f, 0.0f}, {19, 19, 5.5f, 2.1f}, {28, 15, 4.0f, 4.2f}};
    for (int layer = 0; layer < 3; ++layer)
        for (const Tongue& tg : tongues) {
            const float shrink = 1 - layer * 0.3f;
            c.Fill([&](float x, float y) {
                       const float along = (x - 21) / (tg.length * shrink);
                       if (along < 0 || along > 1) return false;
                       const float mid = tg.y + std::sin(along * 5 - t * 2 * kPi + tg.phase) * 2.5f * along;
                       return std::fabs(y - mid) < tg.width * shrink * (1 - along * along) + 0.4f;
                   },
                   kGhostFire[layer]);
        }
    const float cx = 15, cy = 17;
    // Cranium, cheeks and the upper teeth.
    c.Fill([&](float x, float y) {
               return InEllipse(x, y, cx + 1, cy, 13.0f, 12.5f) ||
                      (y > cy && y < 31.5f && x > cx - 9.5f && x < cx + 10.5f && InEllipse(x, y, cx + 0.5f, cy + 4, 11.5f, 12.0f));
           },
           [&](float x, float y) { return RampAt(kBone, 0.1f + 0.9f * SphereLight(x, y, cx, cy - 2, 14, 14)); });
    // The jaw, hinged under the cheeks, drops as it chatters.
    const float jy = 31.5f + jaw;
    if (jaw > 0)  // the dark of the open mouth
        c.Fill([&](float x, float y) { return x > cx - 7 && x < cx + 8 && y >= 29 && y < jy + 1; }, Rgb{70, 14, 30});
    c.Fill([&](float x, float y) { return x > cx - 8 && x < cx + 9 && y >= jy && y < jy + 7 && InEllipse(x, y, cx + 0.5f, jy + 1, 8.3f, 6.4f); },
           [&](float x, float y) { return RampAt(kBone, 0.1f + 0.8f * SphereLight(x, y, cx - 2, jy, 10, 7)); });
    // Teeth, upper row fixed to the skull, lower row riding the jaw.
    for (int x = int(cx) - 6; x <= int(cx) + 7; ++x) {
        const bool gap = (x - int(cx) + 6) % 3 == 2;
        for (int y = 29; y <= 31; ++y) c.Put(x, y, gap ? kBone[1] : (y == 29 ? kBone[4] : kBone[3]));
        for (int y = int(jy); y <= int(jy) + 1; ++y) c.Put(x, y, gap ? kBone[1] : kBone[3]);
    }
    // Eye sockets, a little turned towards the way it flies.
    const float glow = 0.6f + 0.4f * std::cos(2 * kPi * t);
    for (float ex : {cx - 6.0f, cx + 4.5f}) {
        c.Fill([&](float x, float y) { return InEllipse(x, y, ex, 19, 4.3f, 4.6f); }, Rgb{56, 16, 34});
        const Ramp eye = {{150, 20, 20}, {230, 60, 20}, {255, 150, 40}, {255, 240, 170}};
        c.Fill([&](float x, float y) { return InEllipse(x, y, ex - 0.5f, 19.5f, 1.4f + glow * 1.2f, 1.5f + glow * 1.2f); },
               [&](float x, float y) { return RampAt(eye, glow + 0.2f - std::hypot(x - ex + 0.5f, y - 19.5f) * 0.3f); });
    }
    // The nose hole and a crack across the crown.
    DrawPixelMap(c, int(cx) - 2, 24, {"#..#", "####", ".##."}, {{'#', {56, 16, 34}}});
    DrawPixelMap(c, int(cx) - 3, 6, {"#...", ".#..", ".##.", "...#"}, {{'#', kBone[0]}});
    c.Outline(kBoneInk, false);
}

void PaintSkullShot(Canvas& c, int, int) {
    // Ghost-fire ball flying down-left, its tail licking up-right.
    c.Fill([](float x, float y) { return SegmentDistance(x, y, 3.6f, 6.4f, 8.0f, 2.0f) < 2.8f - 1.6f * Clamp01((x - 3.6f) / 4.4f); },
           kGhostFire[1]);
    c.Fill([](float x, float y) { return SegmentDistance(x, y, 3.6f, 6.4f, 7.0f, 3.0f) < 1.8f - 0.9f * Clamp01((x - 3.6f) / 3.4f); },
           kGhostFire[2]);
    Pellet(c, 4, 6, 3.2f, 3.2f, {kGhostFire[1], kGhostFire[2], kGhostFire[3], {255, 255, 255}});
}

// ---- Rocket ----------------------------------------------------------------

void PaintRocket(Canvas& c, int frame, int) {
    const Ramp hull = {{90, 96, 120}, {150, 156, 176}, {206, 210, 222}, {240, 242, 248}};
    const Ramp red = {{110, 16, 24}, {180, 30, 30}, {230, 60, 40}, {255, 130, 90}};
    auto cylinder = [](float x, float left, float right) {
        const float u = (x - left) / (right - left);
        return 1.0f - std::fabs(u - 0.35f) * 1.6f;
    };
    // Exhaust flame trailing up from the tail; each frame it licks differently.
    struct Flame {
        float length, sway;
    };
    const Flame flames[] = {{11.5f, 0.0f}, {9.0f, 0.8f}, {12.5f, -0.7f}};
    const Flame& f = flames[frame % 3];
    const Ramp fire = {{220, 50, 20}, {255, 130, 20}, {255, 210, 60}, {255, 255, 210}};
    for (int i = 0; i < 4; ++i) {
        const float k = 1.0f - i * 0.22f;
        c.Fill([&](float x, float y) {
                   const float top = 12.5f - f.length * k;
                   if (y < top || y > 13) return false;
                   const float v = (y - top) / (13 - top);  // 0 at the tip
                   const float half = 3.6f * k * std::sqrt(v);
                   return std::fabs(x - 8 - f.sway * (1 - v)) < half;
               },
               fire[i]);
    }
    // Nozzle.
    c.Fill([](float x, float y) { return x > 5 && x < 11 && y > 11 && y < 14.5f; },
           [&](float x, float) { return RampAt(hull, cylinder(x, 5, 11) * 0.5f); });
    // Fins flaring out at the tail.
    c.Fill([](float x, float y) {
               const float out = std::fabs(x - 8);
               return y > 13 && y < 23 && out < 7 && y > 13 + (out - 3.5f) * 1.2f && y < 23 - out * 0.9f;
           },
           [&](float x, float) { return RampAt(red, x < 8 ? 0.7f : 0.35f); });
    // Body.
    c.Fill([](float x, float y) { return x > 4.5f && x < 11.5f && y > 14 && y < 34; },
           [&](float x, float y) {
               if (y > 24 && y < 27) return RampAt(red, cylinder(x, 4.5f, 11.5f));  // band
               return RampAt(hull, cylinder(x, 4.5f, 11.5f));
           });
    // Nose cone pointing at the ground.
    c.Fill([](float x, float y) { return y >= 34 && y < 43.5f && std::fabs(x - 8) < 3.5f * std::sqrt((43.5f - y) / 9.5f); },
           [&](float x, float) { return RampAt(red, cylinder(x, 4.5f, 11.5f)); });
    // A porthole and a hazard tick.
    c.Put(7, 19, {60, 160, 220});
    c.Put(8, 19, {140, 220, 255});
    c.Put(7, 20, {40, 110, 180});
    c.Put(8, 20, {60, 160, 220});
    c.Outline({56, 20, 36}, false);
}

// ---- Saucer ----------------------------------------------------------------

void PaintSaucer(Canvas& c, int frame, int frames) {
    const Ramp metal = {{78, 84, 110}, {120, 128, 156}, {168, 176, 200}, {210, 216, 232}, {245, 248, 255}};
    const Ramp glass = {{20, 90, 120}, {40, 150, 180}, {110, 220, 230}, {220, 255, 255}};
    const float cx = 28;
    // Glass dome with its pilot.
    c.Fill([&](float x, float y) { return InEllipse(x, y, cx, 11, 11, 9.5f) && y < 11.5f; },
           [&](float x, float y) { return RampAt(glass, 0.1f + 0.9f * SphereLight(x, y, cx, 9, 11, 9.5f)); });
    c.Fill([&](float x, float y) { return InEllipse(x, y, cx + 1.5f, 8.5f, 3.6f, 3.2f) || (y > 8 && y < 11.5f && std::fabs(x - cx - 1.5f) < 2.4f); },
           [&](float x, float) { return x < cx + 1 ? Rgb{150, 230, 90} : Rgb{90, 180, 60}; });
    c.Put(int(cx + 2), 8, {20, 40, 20});
    c.Put(int(cx + 4), 8, {20, 40, 20});
    c.Put(int(cx - 5), 5, {255, 255, 255});
    c.Put(int(cx - 4), 4, {255, 255, 255});
    // The disc.
    c.Fill([&](float x, float y) { return InEllipse(x, y, cx, 14.5f, 26.6f, 5.6f); },
           [&](float x, float y) {
               if (y < 12) return RampAt(metal, 0.35f + 0.5f * (1 - std::fabs(x - cx + 6) / 30));
               if (y < 13) return metal[4];
               if (y < 14) return metal[3];
               if (y < 16.5f) return metal[0];  // the band the lights sit in
               return RampAt(metal, 0.45f - (y - 16.5f) * 0.12f - std::fabs(x - cx) / 80);
           });
    // Underside hull with the tractor glow, pulsing.
    const float pulse = 0.5f + 0.5f * std::cos(2 * kPi * frame / frames);
    c.Fill([&](float x, float y) { return InEllipse(x, y, cx, 18.5f, 13.0f, 3.5f) && y > 18; },
           [&](float, float y) { return RampAt(metal, 0.2f - (y - 18) * 0.05f); });
    c.Fill([&](float x, float y) { return InEllipse(x, y, cx, 20.5f, 6.0f + pulse, 1.8f); },
           [&](float x, float) { return RampAt(glass, 0.6f + 0.4f * pulse - std::fabs(x - cx) * 0.06f); });
    // Rim lights chasing round the disc.
    for (int i = 0; i < 6; ++i) {
        const int lx = 7 + i * 8;
        const int age = (frame - i + 12) % 6;  // 0: lit now, 1: just passed
        const Rgb bulb = age == 0 ? Rgb{255, 255, 210} : age == 1 ? Rgb{255, 190, 60} : Rgb{190, 70, 40};
        c.Put(lx, 14, bulb);
        c.Put(lx + 1, 14, Scale(bulb, 0.85f));
        c.Put(lx, 15, Scale(bulb, 0.85f));
        c.Put(lx + 1, 15, Scale(bulb, 0.7f));
        if (age == 0) {  // the lit bulb spills light onto the rim
            c.Put(lx - 1, 15, {255, 200, 80});
            c.Put(lx + 2, 15, {255, 200, 80});
            c.Put(lx, 16, {255, 170, 60});
            c.Put(lx + 1, 16, {255, 170, 60});
        }
    }
    c.Outline({36, 34, 72}, false);
}

void PaintSaucerShot(Canvas& c, int, int) {
    Pellet(c, 4, 4, 3.6f, 3.6f, {{120, 200, 30}, {190, 250, 60}, {240, 255, 170}, {255, 255, 255}});
}

// ---- Helicopter ------------------------------------------------------------

namespace {

const Ramp kOlive = {{44, 62, 34}, {72, 98, 44}, {106, 132, 58}, {146, 170, 82}, {196, 210, 130}};
const Rgb kOliveInk{26, 38, 22};

// A downward gun: a pod on the skid with its barrel; x is its left column.
void HelicopterGun(Canvas& c, int x) {
    c.Fill([&](float px, float py) { return px > x + 0.5f && px < x + 5.5f && py > 30 && py < 34.5f; },
           [&](float px, float) { return RampAt(kOlive, px < x + 3 ? 0.6f : 0.3f); });
    c.Fill([&](float px, float py) { return px > x + 1.5f && px < x + 4.5f && py > 34 && py < 38; },
           [&](float px, float) { return px < x + 3 ? Rgb{120, 126, 140} : Rgb{78, 82, 96}; });
}

}  // namespace

void PaintHelicopter(Canvas& c, int frame, int) {
    // Tail boom and fin.
    const std::vector<std::pair<float, float>> boom = {{36, 13}, {36, 24}, {10, 19.5f}, {10, 15.5f}};
    c.Fill([&](float x, float y) { return InPolygon(x, y, boom); },
           [&](float, float y) { return RampAt(kOlive, 0.85f - (y - 13) * 0.06f); });
    const std::vector<std::pair<float, float>> fin = {{6, 8}, {11, 8}, {16, 16}, {14, 21}, {8, 20}};
    c.Fill([&](float x, float y) { return InPolygon(x, y, fin); },
           [&](float x, float) { return RampAt(kOlive, x < 10 ? 0.7f : 0.45f); });
    // Fuselage.
    c.Fill([&](float x, float y) {
               return InEllipse(x, y, 52, 20, 21, 9.5f) || InEllipse(x, y, 68, 21.5f, 13, 7.5f);
           },
           [&](float x, float y) { return RampAt(kOlive, 0.1f + 0.9f * SphereLight(x, y, 56, 17, 26, 12)); });
    // Canopy glass at the nose.
    const Ramp glass = {{30, 90, 110}, {60, 150, 170}, {130, 210, 225}, {220, 250, 255}};
    c.Fill([&](float x, float y) { return InEllipse(x, y, 70, 19, 9.5f, 5.5f) && y < 21 && x > 63; },
           [&](float x, float y) { return RampAt(glass, 0.2f + 0.8f * SphereLight(x, y, 70, 17, 9, 5)); });
    // Engine housing and rotor mast.
    c.Fill([](float x, float y) { return InEllipse(x, y, 50, 11.5f, 10, 3.5f) && y > 9; },
           [](float x, float) { return RampAt(kOlive, x < 48 ? 0.75f : 0.5f); });
    c.Fill([](float x, float y) { return x > 48 && x < 52 && y > 6 && y < 10; }, kOlive[1]);
    // Insignia: a red band and a star on the flank.
    c.Fill([](float x, float y) { return x > 38 && x < 41.5f && y > 13 && y < 28 && InEllipse(x, y, 52, 20, 21, 9.5f); }, Rgb{190, 40, 36});
    DrawPixelMap(c, 48, 19, {"..w..", "wwwww", ".www.", "w...w"}, {{'w', {240, 230, 200}}});
    // Skids on struts, guns at both ends.
    c.Fill([](float x, float y) { return ((x > 40 && x < 42) || (x > 62 && x < 64)) && y > 27 && y < 32; }, kOlive[0]);
    c.Fill([](float x, float y) { return x > 2 && x < 72 && y > 31.5f && y < 33.5f; },
           [](float, float y) { return y < 32.5f ? kOlive[2] : kOlive[0]; });
    c.Fill([](float x, float y) { return x > 71 && x < 76 && y > 29.5f + (x - 71) * -0.0f && y < 33.5f - (x - 71) * 0.6f; }, kOlive[1]);
    HelicopterGun(c, 0);
    HelicopterGun(c, 64);
    // Nav light at the tail blinks every other frame.
    c.Put(7, 14, frame % 2 == 0 ? Rgb{255, 80, 60} : Rgb{130, 30, 30});
    c.Put(7, 15, frame % 2 == 0 ? Rgb{255, 160, 120} : Rgb{100, 24, 30});
    // Tail rotor: a spinning cross, a quarter turn per two frames.
    const float ta = frame * kPi / 4;
    for (int k = -4; k <= 4; ++k) {
        for (float a : {ta, ta + kPi / 2}) {
            const int x = static_cast<int>(std::lround(8 + k * std::cos(a)));
            const int y = static_cast<int>(std::lround(12 + k * std::sin(a)));
            if (!c.Opaque(x, y) || c.At(x, y) == kOlive[4]) c.Put(x, y, std::abs(k) < 2 ? kOlive[0] : Rgb{170, 176, 160});
        }
    }
    c.Outline(kOliveInk, false);
    // Main rotor, drawn after the outline as a thin blade with its own edge.
    // Seen from the side a turning pair of blades shortens and lengthens.
    struct Blades {
        int left, right;  // reach of the visible blades from the hub
    };
    const Blades blades[] = {{44, 34}, {20, 30}, {8, 8}, {30, 20}};
    const Blades& b = blades[frame % 4];
    const int hub = 50;
    for (int x = 4; x <= 82; x += 2)  // the blur of the disc
        if (!c.Opaque(x, 5)) c.Put(x, 5, {96, 110, 100});
    for (int x = hub - b.left; x <= hub + b.right; ++x) {
        if (x < 1 || x > 82) continue;
        c.Put(x, 4, {70, 80, 70});
        c.Put(x, 5, x < hub ? Rgb{200, 208, 190} : Rgb{160, 170, 150});
        c.Put(x, 6, {40, 50, 40});
    }
    c.FillRect(hub - 2, 3, 4, 4, kOlive[1]);
    c.Put(hub - 2, 3, kOlive[3]);
}

void PaintHelicopterShot(Canvas& c, int, int) {
    Bolt(c, 3, 8.5f, 2.6f, 0.5f, {{200, 120, 20}, {255, 200, 40}, {255, 255, 190}});
}

// ---- Satellite -------------------------------------------------------------

void PaintSatellite(Canvas& frame_canvas, int frame, int frames) {
    // Painted two rows high, then lowered so the emitters sit near the bottom edge.
    Canvas c(frame_canvas.Width(), frame_canvas.Height());
    const Ramp gold = {{120, 70, 10}, {180, 120, 20}, {225, 170, 40}, {250, 215, 90}, {255, 245, 180}};
    const Ramp cells = {{24, 36, 100}, {36, 70, 170}, {56, 110, 215}, {80, 150, 240}, {170, 215, 255}};
    const Ramp metal = {{80, 84, 104}, {130, 136, 156}, {190, 196, 212}};
    const float shimmer = -10.0f + 50.0f * frame / frames;  // a glint sweeping the panels
    // Struts from the body to the panels.
    c.Fill([](float x, float y) { return x > 10 && x < 31 && y > 18 && y < 20.5f; },
           [&](float, float y) { return RampAt(metal, y < 19.5f ? 0.9f : 0.3f); });
    // Solar panels: a grid of cells in a frame.
    for (float left : {1.5f, 29.5f}) {
        c.Fill([&](float x, float y) { return x > left && x < left + 11 && y > 13 && y < 25.5f; },
               [&](float x, float y) {
                   const int lx = static_cast<int>(x - left), ly = static_cast<int>(y - 13);
                   if (lx == 0 || ly == 0 || lx == 10 || ly == 12) return metal[1];
                   if (lx % 3 == 0 || ly % 4 == 0) return cells[0];
                   const float glint = std::fabs((x + y) - shimmer - 14);
                   if (glint < 1.5f) return cells[4];
                   return RampAt(cells, 0.5f + 0.45f * (1 - (y - 13) / 12) - (x - left) * 0.02f);
               });
    }
    // Gold-foil body, crinkled.
    c.Fill([](float x, float y) { return x > 14 && x < 27 && y > 8 && y < 28; },
           [&](float x, float y) {
               const float crinkle = Fbm(x * 0.5f, y * 0.5f, 19, 2);
               const float side = x < 17 ? 0.25f : x > 24 ? -0.25f : 0.0f;
               return RampAt(gold, 0.3f + crinkle * 0.55f + side);
           });
    c.Fill([](float x, float y) { return x > 15 && x < 26 && y > 15 && y < 17; }, gold[0]);  // seam
    // Dish on top, looking ahead.
    c.Fill([](float x, float y) { return InEllipse(x, y, 27, 6, 4.5f, 2.6f) && y > x - 23; },
           [&](float x, float) { return RampAt(metal, x < 27 ? 1.0f : 0.5f); });
    c.Fill([](float x, float y) { return SegmentDistance(x, y, 24, 9, 26, 6.5f) < 0.8f; }, metal[0]);
    // Antenna and its beacon, blinking once per pass.
    c.Fill([](float x, float y) { return x > 18 && x < 19.5f && y > 3 && y < 9; }, metal[2]);
    const float beacons[] = {1.0f, 0.6f, 0.15f, 0.0f, 0.15f};
    const float blink = beacons[frame % 5];
    const Rgb beacon = blink > 0.8f ? Rgb{255, 240, 220} : blink > 0.4f ? Rgb{255, 90, 70} : blink > 0.1f ? Rgb{180, 40, 40} : Rgb{110, 30, 34};
    c.FillRect(17, 1, 3, 3, Scale(beacon, 0.75f));
    c.Put(18, 2, beacon);
    if (blink > 0.8f) {
        c.Put(18, 0, {255, 120, 90});
        c.Put(16, 2, {255, 120, 90});
        c.Put(20, 2, {255, 120, 90});
    }
    // Four emitters underneath, charged with a pulsing glow.
    const float charge = 0.5f + 0.5f * std::sin(2 * kPi * frame / frames);
    const Ramp beam = {{40, 120, 200}, {80, 200, 255}, {200, 250, 255}};
    for (int ex : {0, 13, 25, 38}) {
        const float top = ex == 0 || ex == 38 ? 25 : 27.5f;
        c.Fill([&](float x, float y) { return x > ex + 0.5f && x < ex + 3.5f && y > top && y < 29.5f; },
               [&](float x, float) { return RampAt(metal, x < ex + 2 ? 0.9f : 0.4f); });
        c.Fill([&](float x, float y) { return x > ex - 0.5f && x < ex + 4.5f && y > 29 && y < 30.5f; }, metal[0]);  // nozzle lip
        c.Fill([&](float x, float y) { return x > ex + 0.5f && x < ex + 3.5f && y > 30 && y < 31.5f; },
               [&](float, float) { return RampAt(beam, charge + 0.2f); });
    }
    frame_canvas.Blit(c, 0, 2);
    frame_canvas.Outline({34, 28, 66}, false);
}

void PaintSatelliteShot(Canvas& c, int, int) {
    c.Fill([](float x, float y) { return InEllipse(x, y, 3, 5, 2.9f, 4.9f); }, Rgb{60, 140, 255});
    c.Fill([](float x, float y) { return InEllipse(x, y, 3, 5, 1.9f, 4.0f); }, Rgb{140, 220, 255});
    c.Fill([](float x, float y) { return InEllipse(x, y, 3, 5.5f, 0.9f, 3.2f); }, Rgb{255, 255, 255});
}

// ---- Warship ---------------------------------------------------------------

namespace {

const Ramp kSlate = {{56, 60, 84}, {84, 90, 120}, {118, 124, 156}, {158, 164, 192}, {204, 208, 228}};
const Rgb kSlateInk{30, 28, 52};

// A gun turret hanging under the hull; x is the barrel's left column.
void ShipCannon(Canvas& c, int x) {
    c.Fill([&](float px, float py) { return InEllipse(px, py, x + 4, 35, 7, 5) && py > 34; },
           [&](float px, float py) { return RampAt(kSlate, 0.2f + 0.7f * SphereLight(px, py, x + 3, 35, 7, 5)); });
    c.Fill([&](float px, float py) { return px > x + 1.5f && px < x + 6.5f && py > 38 && py < 44; },
           [&](float px, float) { return RampAt(kSlate, px < x + 4 ? 0.8f : 0.35f); });
    c.Fill([&](float px, float py) { return px > x + 0.5f && px < x + 7.5f && py > 43.5f && py < 46.5f; },
           [&](float px, float) { return RampAt(kSlate, px < x + 4 ? 0.6f : 0.2f); });
    c.Put(x + 3, 45, {255, 150, 60});
    c.Put(x + 4, 45, {255, 150, 60});
}

}  // namespace

void PaintShip(Canvas& c, int frame, int frames) {
    const float t = static_cast<float>(frame) / frames;
    // Engine exhaust flickering off the stern, three nozzles out of step.
    const Ramp exhaust = {{40, 60, 200}, {60, 130, 255}, {150, 210, 255}, {240, 255, 255}};
    const float nozzle_y[] = {17.5f, 24.5f, 31.5f};
    for (int e = 0; e < 3; ++e) {
        const float ey = nozzle_y[e];
        const float len = (e == 1 ? 13 : 10) + 3 * std::sin(2 * kPi * t * 2 + e * 2.1f);
        for (int i = 0; i < 4; ++i) {
            const float k = 1 - i * 0.22f;
            c.Fill([&](float x, float y) {
                       const float tail = 14 - len * k;
                       if (x < tail || x > 15) return false;
                       const float u = (x - tail) / (15 - tail);
                       return std::fabs(y - ey) < 2.9f * k * std::sqrt(u);
                   },
                   exhaust[i]);
        }
    }
    // Tail fins above and below the stern.
    const std::vector<std::pair<float, float>> dorsal = {{18, 16}, {22, 4}, {30, 4}, {40, 16}};
    const std::vector<std::pair<float, float>> ventral = {{18, 33}, {38, 33}, {30, 42}, {23, 42}};
    c.Fill([&](float x, float y) { return InPolygon(x, y, dorsal); },
           [&](float x, float y) { return RampAt(kSlate, 0.85f - (y - 4) * 0.03f - (x > 33 ? 0.2f : 0.0f)); });
    c.Fill([&](float x, float y) { return InPolygon(x, y, ventral); },
           [&](float x, float) { return RampAt(kSlate, x < 26 ? 0.45f : 0.25f); });
    c.Fill([](float x, float y) { return x > 21 && x < 31 && y > 6 && y < 8; }, Rgb{220, 70, 50});  // fin stripe
    // Stern block holding the nozzles.
    c.Fill([](float x, float y) { return x > 13 && x < 26 && y > 13 && y < 36; },
           [](float x, float y) {
               const float ny = std::fmod(y - 14, 7.0f);
               if (x < 16 && ny > 1 && ny < 6) return Rgb{200, 240, 255};  // nozzle glow
               return RampAt(kSlate, 0.55f - (y - 13) * 0.015f - (x < 17 ? 0.25f : 0.0f));
           });
    // The hull: a light upper deck over a dark keel, a prow cutting ahead.
    const std::vector<std::pair<float, float>> deck = {{24, 14}, {66, 11}, {96, 14}, {118, 24}, {24, 24}};
    const std::vector<std::pair<float, float>> keel = {{24, 24}, {118, 24}, {104, 31}, {88, 36.5f}, {24, 36.5f}};
    c.Fill([&](float x, float y) { return InPolygon(x, y, deck); },
           [&](float x, float y) {
               const bool seam = static_cast<int>(x) % 14 == 0 && x < 100;
               const float light = 0.98f - (y - 11) * 0.03f - (seam ? 0.2f : 0.0f);
               return RampAt(kSlate, light);
           });
    c.Fill([&](float x, float y) { return InPolygon(x, y, keel); },
           [&](float x, float y) {
               if (y < 25.5f) return Rgb{236, 80, 54};  // the red waterline stripe
               if (y < 26.5f) return Rgb{160, 40, 44};
               const bool seam = static_cast<int>(x) % 14 == 7;
               return RampAt(kSlate, 0.42f - (y - 26) * 0.025f - (seam ? 0.12f : 0.0f));
           });
    // A highlight running down the prow's upper edge.
    for (int x = 96; x <= 116; ++x) c.Put(x, static_cast<int>(14 + (x - 96) * 10.0f / 22.0f) + 1, kSlate[4]);
    // Armour plates and vents on the deck.
    c.Fill([](float x, float y) { return x > 30 && x < 56 && y > 16 && y < 21; },
           [](float x, float y) { return (static_cast<int>(x) % 4 == 0) ? kSlate[1] : (y < 17 ? kSlate[4] : kSlate[3]); });
    DrawPixelMap(c, 100, 19, {"oo.", ".oo", "oo."}, {{'o', {255, 170, 60}}});  // chevron on the prow
    // The bridge tower with its lit windows.
    const std::vector<std::pair<float, float>> bridge = {{58, 13}, {63, 4}, {82, 4}, {92, 13}};
    c.Fill([&](float x, float y) { return InPolygon(x, y, bridge); },
           [&](float x, float y) { return RampAt(kSlate, 0.95f - (y - 4) * 0.05f - (x > 85 ? 0.25f : 0.0f)); });
    for (int x = 65; x <= 83; x += 3) {
        c.Put(x, 8, {255, 225, 130});
        c.Put(x + 1, 8, {255, 190, 80});
    }
    c.Fill([](float x, float y) { return x > 70 && x < 72 && y > 0.5f && y < 4.5f; }, kSlate[3]);  // mast
    c.Put(71, 1, frame % 4 < 2 ? Rgb{255, 90, 70} : Rgb{130, 40, 40});
    // Portholes along the keel; a running light chases from stern to bow.
    for (int i = 0; i < 12; ++i) {
        const int x = 30 + i * 6;
        const int age = ((frame * 2 - i) % frames + frames) % frames;
        const Rgb lamp = age == 0 ? Rgb{255, 255, 220} : age == 1 ? Rgb{255, 200, 90} : Rgb{190, 120, 60};
        c.Put(x, 29, lamp);
        c.Put(x + 1, 29, Scale(lamp, 0.8f));
    }
    // A beacon on the prow that pulses.
    const float pulse = 0.5f + 0.5f * std::cos(2 * kPi * t);
    c.Put(112, 23, Mix(Rgb{120, 40, 40}, Rgb{255, 120, 90}, pulse));
    c.Put(113, 23, Mix(Rgb{120, 40, 40}, Rgb{255, 200, 170}, pulse));
    ShipCannon(c, 20);
    ShipCannon(c, 80);
    c.Outline(kSlateInk, false);
}

void PaintShipShot(Canvas& c, int, int) {
    Bolt(c, 4, 11.0f, 3.8f, 0.5f, {{200, 50, 20}, {255, 120, 30}, {255, 200, 80}, {255, 250, 220}});
}

// The game's own bold bitmap alphabet and the lettered pictures: the title,
// GAME OVER, YOU WIN, PAUSE and the bonus pop-ups. Glyphs are drawn on a
// 9-row grid with two-cell strokes; when scaled up, convex corners are cut and
// inner corners filled at 45 degrees so the big letters read as chunky
// arcade type rather than blocks.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "images_art.h"

namespace {

constexpr int kGlyphRows = 9;

struct Glyph {
    char letter;
    const char* rows[kGlyphRows];
};

const Glyph glyphs[] = {
    {'A', {".#####.", "#######", "##...##", "#######", "#######", "##...##", "##...##", "##...##", "##...##"}},
    {'B', {"######.", "#######", "##...##", "######.", "######.", "##...##", "##...##", "#######", "######."}},
    {'D', {"######.", "#######", "##...##", "##...##", "##...##", "##...##", "##...##", "#######", "######."}},
    {'E', {"#######", "#######", "##.....", "######.", "######.", "##.....", "##.....", "#######", "#######"}},
    {'G', {".######", "#######", "##.....", "##.....", "##..###", "##..###", "##...##", "#######", ".######"}},
    {'H', {"##...##", "##...##", "##...##", "#######", "#######", "##...##", "##...##", "##...##", "##...##"}},
    {'I', {"######", "######", "..##..", "..##..", "..##..", "..##..", "..##..", "######", "######"}},
    {'L', {"##....", "##....", "##....", "##....", "##....", "##....", "##....", "######", "######"}},
    {'M', {"##....##", "###..###", "########", "##.##.##", "##.##.##", "##....##", "##....##", "##....##", "##....##"}},
    {'N', {"##...##", "###..##", "####.##", "#######", "##.####", "##..###", "##...##", "##...##", "##...##"}},
    {'O', {".#####.", "#######", "##...##", "##...##", "##...##", "##...##", "##...##", "#######", ".#####."}},
    {'P', {"######.", "#######", "##...##", "##...##", "#######", "######.", "##.....", "##.....", "##....."}},
    {'R', {"######.", "#######", "##...##", "##...##", "######.", "#####..", "##.###.", "##..###", "##...##"}},
    {'S', {".######", "#######", "##.....", "######.", ".######", ".....##", ".....##", "#######", "######."}},
    {'T', {"########", "########", "...##...", "...##...", "...##...", "...##...", "...##...", "...##...", "...##..."}},
    {'U', {"##...##", "##...##", "##...##", "##...##", "##...##", "##...##", "##...##", "#######", ".#####."}},
    {'V', {"##...##", "##...##", "##...##", "##...##", "##...##", "###.###", ".#####.", "..###..", "...#..."}},
    {'W', {"##....##", "##....##", "##....##", "##....##", "##.##.##", "##.##.##", "########", "###..###", "##....##"}},
    {'Y', {"##....##", "##....##", "###..###", ".######.", "..####..", "...##...", "...##...", "...##...", "...##..."}},
};

constexpr float kSpaceCells = 4.0f;   // width of a word gap
constexpr float kGapCells = 1.0f;     // between letters

const Glyph* FindGlyph(char c) {
    for (const Glyph& g : glyphs)
        if (g.letter == c) return &g;
    return nullptr;
}

int GlyphWidth(const Glyph& g) { return static_cast<int>(std::strlen(g.rows[0])); }

bool Cell(const Glyph& g, int x, int y) {
    if (x < 0 || y < 0 || y >= kGlyphRows || x >= GlyphWidth(g)) return false;
    return g.rows[y][x] == '#';
}

// Is the point (u, v), in cells of the glyph, inside the chamfered letter?
bool InGlyph(const Glyph& g, float u, float v) {
    const int gx = static_cast<int>(std::floor(u)), gy = static_cast<int>(std::floor(v));
    const float fx = u - gx, fy = v - gy;
    // The quadrant of the cell the point lies in picks the corner to test.
    const int sx = fx < 0.5f ? -1 : 1, sy = fy < 0.5f ? -1 : 1;
    const float cx = sx < 0 ? fx : 1 - fx, cy = sy < 0 ? fy : 1 - fy;  // distance to that corner's sides
    const bool side_x = Cell(g, gx + sx, gy), side_y = Cell(g, gx, gy + sy);
    const bool diagonal = Cell(g, gx + sx, gy + sy);
    if (Cell(g, gx, gy)) {
        // Convex corner: both neighbours towards it empty.
        if (!side_x && !side_y && !diagonal) return cx + cy >= 0.5f;
        return true;
    }
    // Inner corner: both neighbours filled, fill the elbow.
    if (side_x && side_y) return cx + cy < 0.5f;
    return false;
}

class Mask {
public:
    Mask(int w, int h) : w_(w), h_(h), bits_(w * h, 0) {}
    bool Get(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_ && bits_[y * w_ + x]; }
    void Set(int x, int y) {
        if (x >= 0 && y >= 0 && x < w_ && y < h_) bits_[y * w_ + x] = 1;
    }
    int Width() const { return w_; }
    int Height() const { return h_; }
    Mask Dilated(int radius) const {
        Mask out(w_, h_);
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x) {
                if (!Get(x, y)) continue;
                for (int dy = -radius; dy <= radius; ++dy)
                    for (int dx = -radius; dx <= radius; ++dx)
                        if (dx * dx + dy * dy <= radius * radius + radius) out.Set(x + dx, y + dy);
            }
        return out;
    }

private:
    int w_, h_;
    std::vector<uint8_t> bits_;
};

struct LetterStyle {
    Ramp face;            // stepped gradient, top of the letters to their foot
    Rgb outline;          // dark ink around the letters
    int outline_px;
    Rgb rim;              // bright outer edge so the ink reads on the night sky
    int rim_px;
    Rgb shadow;           // drop shadow colour
    int shadow_px;        // drop shadow offset, down and right
    float aspect;         // glyph cell height over width
    float slant;          // italic lean, cells per row
    float wave;           // letters bob up and down by this many cells
};

// Where the text landed, for pictures that decorate around their letters.
struct TextLayout {
    float left, top, cell_w, cell_h;
    std::vector<float> starts;  // first cell of each character
    std::vector<int> widths;    // cells of each character
};

float TextCells(const std::string& text, std::vector<float>* starts, std::vector<int>* widths) {
    float u = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (i > 0) u += kGapCells;
        if (starts) starts->push_back(u);
        if (text[i] == ' ') {
            if (widths) widths->push_back(0);
            u += kSpaceCells - kGapCells;
            continue;
        }
        const Glyph* g = FindGlyph(text[i]);
        const int w = g ? GlyphWidth(*g) : 0;
        if (widths) widths->push_back(w);
        u += w;
    }
    return u;
}

// Letters the text into the box (x, y, w, h) of the canvas, centred, as big
// as fits. Returns false if the alphabet lacks a letter.
bool Letter(Canvas& canvas, const std::string& text, const LetterStyle& style, int box_x, int box_y,
            int box_w, int box_h, TextLayout* layout_out) {
    for (char c : text)
        if (c != ' ' && !FindGlyph(c)) {
            std::fprintf(stderr, "lettering: no glyph for '%c'\n", c);
            return false;
        }
    TextLayout layout;
    const float cells = TextCells(text, &layout.starts, &layout.widths);
    const int margin = style.outline_px + style.rim_px;
    const float lean = style.slant * kGlyphRows;
    const float avail_w = box_w - 2 * margin - style.shadow_px;
    const float avail_h = box_h - 2 * margin - style.shadow_px;
    float cell_w = avail_w / (cells + lean);
    const float rows = kGlyphRows + 2 * style.wave;
    float cell_h = std::min(avail_h / rows, cell_w * style.aspect);
    cell_w = std::min(cell_w, cell_h / style.aspect * 1.15f);
    layout.cell_w = cell_w;
    layout.cell_h = cell_h;
    const float text_w = (cells + lean) * cell_w, text_h = kGlyphRows * cell_h;
    layout.left = std::floor(box_x + margin + (avail_w - text_w) / 2);
    layout.top = std::floor(box_y + margin + (avail_h - text_h) / 2);
    std::vector<float> bob;
    for (size_t i = 0; i < text.size(); ++i) bob.push_back(style.wave * std::sin(i * 1.3f + 0.4f));

    const int w = canvas.Width(), h = canvas.Height();
    Mask face(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            for (size_t i = 0; i < text.size(); ++i) {
                if (text[i] == ' ') continue;
                const float v = (y + 0.5f - layout.top) / cell_h - bob[i];
                if (v < 0 || v >= kGlyphRows) continue;
                const float u = (x + 0.5f - layout.left) / cell_w - style.slant * (kGlyphRows - v);
                const float lu = u - layout.starts[i];
                if (lu < -1 || lu > layout.widths[i] + 1) continue;
                if (InGlyph(*FindGlyph(text[i]), lu, v)) face.Set(x, y);
            }
        }
    const Mask ink = face.Dilated(style.outline_px);
    const Mask rim = ink.Dilated(style.rim_px);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (rim.Get(x - style.shadow_px, y - style.shadow_px)) canvas.Put(x, y, style.shadow);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (ink.Get(x, y)) canvas.Put(x, y, style.outline);
            else if (rim.Get(x, y)) canvas.Put(x, y, style.rim);
        }
    const int bevel = std::max(1, static_cast<int>(std::lround(cell_w * 0.4f)));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!face.Get(x, y)) continue;
            const float t = (y + 0.5f - layout.top + style.wave * cell_h) / (text_h + 2 * style.wave * cell_h);
            const Rgb base = RampAt(style.face, t);
            bool top = false, left = false, bottom = false, right = false;
            for (int k = 1; k <= bevel; ++k) {
                top = top || !face.Get(x, y - k);
                left = left || !face.Get(x - k, y);
                bottom = bottom || !face.Get(x, y + k);
                right = right || !face.Get(x + k, y);
            }
            Rgb c = base;
            if (top) c = Mix(base, Rgb{255, 255, 255}, 0.55f);
            else if (bottom) c = Mix(base, style.outline, 0.45f);
            else if (left) c = Mix(base, Rgb{255, 255, 255}, 0.3f);
            else if (right) c = Mix(base, style.outline, 0.3f);
            canvas.Put(x, y, c);
        }
    if (layout_out) *layout_out = layout;
    return true;
}

// A four-pointed twinkle, the sparkle used around celebratory lettering.
void Twinkle(Canvas& canvas, int cx, int cy, int arm, Rgb core, Rgb glow) {
    for (int k = -arm; k <= arm; ++k) {
        const Rgb c = std::abs(k) <= arm / 3 ? core : glow;
        canvas.Put(cx + k, cy, c);
        canvas.Put(cx, cy + k, c);
    }
    if (arm >= 3) {
        canvas.Put(cx - 1, cy - 1, glow);
        canvas.Put(cx + 1, cy - 1, glow);
        canvas.Put(cx - 1, cy + 1, glow);
        canvas.Put(cx + 1, cy + 1, glow);
    }
}

const Ramp kGoldFace = {{255, 250, 200}, {255, 232, 120}, {255, 200, 60},
                        {250, 160, 30},  {235, 115, 20},  {200, 70, 20}};
const Ramp kRedFace = {{255, 210, 190}, {255, 150, 120}, {245, 90, 70},
                       {215, 45, 45},   {170, 25, 40},   {120, 15, 35}};
const Ramp kIceFace = {{240, 255, 255}, {170, 240, 255}, {100, 205, 255},
                       {60, 160, 240},  {40, 110, 210},  {30, 70, 170}};
const Ramp kLeafFace = {{235, 255, 210}, {170, 250, 140}, {100, 230, 90},
                        {50, 195, 70},   {30, 150, 60},   {20, 105, 55}};
// The 80s chrome: sky blues down to a white horizon, then a sunset below.
const Ramp kChromeFace = {{70, 110, 220},  {110, 160, 245}, {170, 210, 255}, {230, 245, 255},
                          {60, 30, 80},    {130, 50, 90},   {210, 90, 70},   {250, 160, 60},
                          {255, 225, 130}};

void PopUp(Canvas& canvas, const char* text, const Ramp& face, Rgb rim) {
    const LetterStyle style{face, {30, 14, 40}, 2, rim, 1, {16, 8, 28}, 2, 1.15f, 0.08f, 0.0f};
    Letter(canvas, text, style, 0, 0, canvas.Width(), canvas.Height(), nullptr);
}

}  // namespace

void PaintGameOver(Canvas& canvas, int, int) {
    const LetterStyle style{kRedFace, {40, 8, 24}, 3, {255, 190, 120}, 2, {20, 6, 20}, 4, 1.45f, 0.0f, 0.0f};
    Letter(canvas, "GAME OVER", style, 0, 0, canvas.Width(), canvas.Height(), nullptr);
}

void PaintYouWin(Canvas& canvas, int, int) {
    const LetterStyle style{kGoldFace, {60, 20, 10}, 3, {255, 255, 230}, 2, {40, 14, 40}, 5, 1.35f, 0.1f, 0.6f};
    TextLayout layout;
    Letter(canvas, "YOU WIN", style, 24, 14, canvas.Width() - 48, canvas.Height() - 28, &layout);
    // Sparkles burst around the words.
    struct Spark {
        int x, y, arm;
    };
    const Spark sparks[] = {{14, 22, 7}, {40, 140, 5}, {440, 30, 6}, {448, 128, 8},
                            {228, 10, 4}, {120, 150, 4}, {330, 150, 5}, {8, 90, 4}};
    for (const Spark& s : sparks) Twinkle(canvas, s.x, s.y, s.arm, {255, 255, 255}, {255, 220, 90});
    // Confetti drifts in the open sky around the letters.
    const Rgb confetti[] = {{255, 90, 120}, {90, 220, 255}, {140, 255, 120}, {255, 230, 90}, {190, 140, 255}};
    Rng rng(2024);
    for (int placed = 0, tries = 0; placed < 44 && tries < 2000; ++tries) {
        const int x = rng.Int(3, canvas.Width() - 7), y = rng.Int(3, canvas.Height() - 7);
        const int len = rng.Int(2, 3);
        const bool upright = rng.Int(0, 1) == 1;
        const Rgb c = confetti[rng.Int(0, 4)];
        bool clear = true;
        for (int dy = -2; dy <= 4 && clear; ++dy)
            for (int dx = -2; dx <= 4 && clear; ++dx) clear = !canvas.Opaque(x + dx, y + dy);
        if (!clear) continue;
        for (int k = 0; k < len; ++k) {
            canvas.Put(upright ? x : x + k, upright ? y + k : y, c);
            canvas.Put(upright ? x + 1 : x + k, upright ? y + k : y + 1, Scale(c, 0.7f));
        }
        ++placed;
    }
}

void PaintPauseText(Canvas& canvas, int, int) {
    const LetterStyle style{kIceFace, {14, 20, 60}, 3, {210, 240, 255}, 1, {8, 10, 30}, 3, 1.4f, 0.0f, 0.0f};
    Letter(canvas, "PAUSE", style, 0, 0, canvas.Width(), canvas.Height(), nullptr);
}

void PaintPowerText(Canvas& canvas, int, int) { PopUp(canvas, "POWER", kGoldFace, {255, 240, 200}); }
void PaintSpeedText(Canvas& canvas, int, int) { PopUp(canvas, "SPEED", kIceFace, {220, 250, 255}); }
void PaintHealthText(Canvas& canvas, int, int) { PopUp(canvas, "HEALTH", kLeafFace, {230, 255, 220}); }

void PaintRingedOrb(Canvas& canvas, float o_cx, float o_cy, float o_r, Rgb ink, Rgb glow, int rim,
                    int glow_px) {
    const float tilt = -0.35f, ct = std::cos(tilt), st = std::sin(tilt);
    auto ring_at = [&](float x, float y, float grow) {
        const float dx = x - o_cx, dy = y - o_cy;
        const float u = dx * ct + dy * st, v = -dx * st + dy * ct;
        const float d = std::sqrt((u / (o_r * 1.62f)) * (u / (o_r * 1.62f)) + (v / (o_r * 0.36f)) * (v / (o_r * 0.36f)));
        return std::pair<float, float>{d, v + grow};
    };
    auto in_ring = [&](float x, float y, float pad) {
        const float d = ring_at(x, y, 0).first;
        return d > 0.74f - pad * 0.06f && d <= 1.0f + pad * 0.06f;
    };
    auto ring_colour = [&](float x, float y) {
        const float d = ring_at(x, y, 0).first;
        static const Ramp ring = {{150, 90, 200}, {220, 140, 230}, {255, 200, 240}};
        return RampAt(ring, (d - 0.74f) / 0.26f);
    };
    // Back of the ring, then the orb, then the front of the ring over it.
    canvas.Fill([&](float x, float y) { return in_ring(x, y, 1) && ring_at(x, y, 0).second < 0; }, ink);
    canvas.Fill([&](float x, float y) { return in_ring(x, y, 0) && ring_at(x, y, 0).second < 0; }, ring_colour);
    const float ink_r = o_r + rim, glow_r = ink_r + glow_px;
    canvas.Fill([&](float x, float y) { return InEllipse(x, y, o_cx, o_cy, glow_r, glow_r); }, glow);
    canvas.Fill([&](float x, float y) { return InEllipse(x, y, o_cx, o_cy, ink_r, ink_r); }, ink);
    canvas.Fill([&](float x, float y) { return InEllipse(x, y, o_cx, o_cy, o_r, o_r); },
                [&](float x, float y) {
                    const float nx = (x - o_cx) / o_r, ny = (y - o_cy) / o_r;
                    const float nz = std::sqrt(std::max(0.0f, 1 - nx * nx - ny * ny));
                    const float light = Clamp01(0.1f + 0.9f * (-0.45f * nx - 0.5f * ny + 0.74f * nz));
                    static const Ramp orb = {{20, 40, 120}, {30, 80, 190}, {40, 140, 235},
                                             {80, 200, 255}, {170, 240, 255}, {250, 255, 255}};
                    // Bands of weather across the orb, like a gas giant.
                    const float band = std::sin(ny * 9.0f + std::sin(nx * 4.0f) * 0.8f);
                    return RampAt(orb, light + (band > 0.55f ? 0.12f : 0.0f));
                });
    canvas.Fill([&](float x, float y) { return in_ring(x, y, 1) && ring_at(x, y, 0).second >= 0 && !in_ring(x, y, 0); }, ink);
    canvas.Fill([&](float x, float y) { return in_ring(x, y, 0) && ring_at(x, y, 0).second >= 0; }, ring_colour);
}

void PaintTitle(Canvas& canvas, int, int) {
    const int w = canvas.Width();
    // A striped sunset disc rises behind the word, the arcade way.
    const float sx = 178, sy = 66, sr = 52;
    const Ramp sun = {{255, 240, 150}, {255, 214, 110}, {255, 176, 90}, {255, 136, 100}, {245, 96, 130}, {220, 70, 150}};
    canvas.Fill([&](float x, float y) {
                    if (!InEllipse(x, y, sx, sy, sr, sr) || y > 100) return false;
                    // Slits widen towards the horizon.
                    const float from_top = (y - (sy - sr)) / (100 - (sy - sr));
                    if (from_top < 0.45f) return true;
                    const float period = 7.0f, gap = 1.0f + (from_top - 0.45f) * 7.0f;
                    return std::fmod(100 - y, period) >= gap;
                },
                [&](float, float y) { return RampAt(sun, (y - (sy - sr)) / (100 - (sy - sr))); });
    const Rgb ink{26, 12, 50}, glow{255, 120, 200};
    const LetterStyle style{kChromeFace, ink, 3, glow, 1, {14, 6, 34}, 3, 1.55f, 0.12f, 0.0f};
    TextLayout layout;
    Letter(canvas, "RBALUNE", style, 80, 40, w - 84, 96, &layout);

    // The O is a ringed orb, the game's namesake.
    const float o_r = kGlyphRows * layout.cell_h / 2 + 3;
    const float o_cx = 12 + o_r, o_cy = layout.top + kGlyphRows * layout.cell_h / 2;
    PaintRingedOrb(canvas, o_cx, o_cy, o_r, ink, glow, 3, 1);

    // Gleams on the orb and around the title.
    Twinkle(canvas, static_cast<int>(o_cx - o_r * 0.42f), static_cast<int>(o_cy - o_r * 0.45f), 3,
            {255, 255, 255}, {200, 245, 255});
    Twinkle(canvas, 20, 20, 5, {255, 255, 255}, {255, 150, 210});
    Twinkle(canvas, 292, 26, 4, {255, 255, 255}, {160, 220, 255});
    Twinkle(canvas, 250, 10, 2, {255, 255, 255}, {160, 220, 255});
    Twinkle(canvas, 108, 16, 3, {255, 255, 255}, {255, 150, 210});
}

void PaintIcon(Canvas& canvas, int, int) {
    // The title's orb on its own, for the desktop. Every size is painted
    // afresh, its outlines and gleam in proportion, so small icons stay crisp.
    const int size = canvas.Width();
    const float c = size / 2.0f;
    // The smallest has no room for the glow around the outline.
    const int rim = std::max(1, (size * 3 + 32) / 64), glow = size < 32 ? 0 : std::max(1, rim / 3);
    const int gleam = size * 3 / 64;
    PaintRingedOrb(canvas, c, c, size * (size < 32 ? 0.3f : 0.27f), {26, 12, 50}, {255, 120, 200},
                   rim, glow);
    if (gleam > 0)
        Twinkle(canvas, static_cast<int>(c * 0.7f), static_cast<int>(c * 0.66f), gleam,
                {255, 255, 255}, {200, 245, 255});
}

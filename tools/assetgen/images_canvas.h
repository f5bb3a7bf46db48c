// The painter's toolbox: an RGB canvas whose unpainted pixels become the
// colour key, stepped colour ramps, deterministic noise and the BMP writer.
// Everything here is hard-edged: nothing is ever blended against the key.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct Rgb {
    uint8_t r, g, b;
};

inline bool operator==(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

// The colour key every overlay is drawn with.
constexpr Rgb kKey{255, 0, 255};

Rgb Mix(Rgb a, Rgb b, float t);
Rgb Scale(Rgb c, float factor);  // darker below 1, lighter above (clamped)

// A short list of colours from dark to light; shading picks one band, so
// gradients come out stepped like a hand-drawn palette.
using Ramp = std::vector<Rgb>;
Rgb RampAt(const Ramp& ramp, float t);
// Like RampAt, but pixels near a band boundary are checkered with the next
// band (4x4 ordered dither).
Rgb RampDither(const Ramp& ramp, float t, int x, int y);
float Bayer4(int x, int y);  // 0..1 threshold for ordered dithering

class Canvas {
public:
    Canvas(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    bool Opaque(int x, int y) const { return Inside(x, y) && on_[Index(x, y)] != 0; }
    Rgb At(int x, int y) const { return Opaque(x, y) ? px_[Index(x, y)] : kKey; }

    void Put(int x, int y, Rgb c);
    void Erase(int x, int y);
    void FillRect(int x, int y, int w, int h, Rgb c);
    // Paints every pixel whose centre is inside the shape with the colour the
    // shader picks for it; coordinates are pixel centres (x + 0.5, y + 0.5).
    void Fill(const std::function<bool(float, float)>& inside,
              const std::function<Rgb(float, float)>& shader);
    void Fill(const std::function<bool(float, float)>& inside, Rgb c);
    // Rings every painted shape with a 1-pixel border in the given colour;
    // with diagonals the border also fills the outer corners.
    void Outline(Rgb c, bool diagonals);
    // Copies the painted pixels of src with its top-left corner at (x, y).
    void Blit(const Canvas& src, int x, int y);
    int OpaqueCount() const;

    // Writes a 24-bit bottom-up BI_RGB Windows bitmap; unpainted pixels
    // become the colour key.
    bool WriteBmp(const std::string& path) const;
    // Writes an RGBA PNG, unpainted pixels fully transparent: for the desktop,
    // which does not know the colour key.
    bool WritePng(const std::string& path) const;

private:
    int Index(int x, int y) const { return y * width_ + x; }
    int width_, height_;
    std::vector<Rgb> px_;
    std::vector<uint8_t> on_;
};

// Deterministic randomness: splitmix64 with a fixed seed per picture.
class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint64_t Next();
    float Unit();                        // [0, 1)
    float Range(float lo, float hi);     // [lo, hi)
    int Int(int lo, int hi);             // [lo, hi]

private:
    uint64_t state_;
};

uint32_t Hash2(int x, int y, uint32_t seed);
float ValueNoise(float x, float y, uint32_t seed);          // 0..1, smooth
float Fbm(float x, float y, uint32_t seed, int octaves);    // 0..1

// Shape tests on pixel-centre coordinates.
bool InEllipse(float x, float y, float cx, float cy, float rx, float ry);
bool InPolygon(float x, float y, const std::vector<std::pair<float, float>>& pts);
float SegmentDistance(float x, float y, float ax, float ay, float bx, float by);
float Clamp01(float v);

// Lambert light on an ellipsoid bulging towards the viewer, lit from the
// upper left: 0 in its shadow, 1 at its brightest.
float SphereLight(float x, float y, float cx, float cy, float rx, float ry);

// Small hand-placed details: each character of the rows names a colour of
// the palette, '.' leaves the pixel alone.
struct Ink {
    char key;
    Rgb colour;
};
void DrawPixelMap(Canvas& canvas, int x, int y, const std::vector<const char*>& rows,
                  const std::vector<Ink>& palette);

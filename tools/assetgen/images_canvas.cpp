#include "images_canvas.h"

#include "assetgen.h"

#include <algorithm>
#include <cmath>

namespace {

uint8_t ClampByte(float v) {
    return static_cast<uint8_t>(std::lround(std::min(255.0f, std::max(0.0f, v))));
}

void PutLe16(std::vector<uint8_t>& out, uint32_t v) { PutLittleEndian(out, v, 2); }
void PutLe32(std::vector<uint8_t>& out, uint32_t v) { PutLittleEndian(out, v, 4); }

}  // namespace

Rgb Mix(Rgb a, Rgb b, float t) {
    return {ClampByte(a.r + (b.r - a.r) * t), ClampByte(a.g + (b.g - a.g) * t),
            ClampByte(a.b + (b.b - a.b) * t)};
}

Rgb Scale(Rgb c, float factor) {
    return {ClampByte(c.r * factor), ClampByte(c.g * factor), ClampByte(c.b * factor)};
}

float Clamp01(float v) { return std::min(1.0f, std::max(0.0f, v)); }

Rgb RampAt(const Ramp& ramp, float t) {
    const int n = static_cast<int>(ramp.size());
    const int i = std::min(n - 1, std::max(0, static_cast<int>(std::floor(Clamp01(t) * n))));
    return ramp[i];
}

float Bayer4(int x, int y) {
    static const int m[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return (m[y & 3][x & 3] + 0.5f) / 16.0f;
}

Rgb RampDither(const Ramp& ramp, float t, int x, int y) {
    const int n = static_cast<int>(ramp.size());
    const float f = Clamp01(t) * (n - 1);
    const int i = static_cast<int>(std::floor(f));
    const float frac = f - i;
    const int pick = frac > Bayer4(x, y) ? i + 1 : i;
    return ramp[std::min(n - 1, std::max(0, pick))];
}

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), px_(width * height, kKey), on_(width * height, 0) {}

void Canvas::Put(int x, int y, Rgb c) {
    if (!Inside(x, y)) return;
    px_[Index(x, y)] = c;
    on_[Index(x, y)] = 1;
}

void Canvas::Erase(int x, int y) {
    if (!Inside(x, y)) return;
    px_[Index(x, y)] = kKey;
    on_[Index(x, y)] = 0;
}

void Canvas::FillRect(int x, int y, int w, int h, Rgb c) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) Put(i, j, c);
}

void Canvas::Fill(const std::function<bool(float, float)>& inside,
                  const std::function<Rgb(float, float)>& shader) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const float fx = x + 0.5f, fy = y + 0.5f;
            if (inside(fx, fy)) Put(x, y, shader(fx, fy));
        }
}

void Canvas::Fill(const std::function<bool(float, float)>& inside, Rgb c) {
    Fill(inside, [c](float, float) { return c; });
}

void Canvas::Outline(Rgb c, bool diagonals) {
    std::vector<uint8_t> ring(on_.size(), 0);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            if (Opaque(x, y)) continue;
            bool near = Opaque(x - 1, y) || Opaque(x + 1, y) || Opaque(x, y - 1) || Opaque(x, y + 1);
            if (diagonals)
                near = near || Opaque(x - 1, y - 1) || Opaque(x + 1, y - 1) ||
                       Opaque(x - 1, y + 1) || Opaque(x + 1, y + 1);
            ring[Index(x, y)] = near;
        }
    for (int i = 0; i < width_ * height_; ++i)
        if (ring[i]) {
            px_[i] = c;
            on_[i] = 1;
        }
}

void Canvas::Blit(const Canvas& src, int x, int y) {
    for (int j = 0; j < src.Height(); ++j)
        for (int i = 0; i < src.Width(); ++i)
            if (src.Opaque(i, j)) Put(x + i, y + j, src.At(i, j));
}

int Canvas::OpaqueCount() const {
    return static_cast<int>(std::count(on_.begin(), on_.end(), 1));
}

bool Canvas::WriteBmp(const std::string& path) const {
    const uint32_t row_bytes = (static_cast<uint32_t>(width_) * 3 + 3) & ~3u;
    const uint32_t image_bytes = row_bytes * height_;
    std::vector<uint8_t> out;
    out.reserve(54 + image_bytes);
    out.push_back('B');
    out.push_back('M');
    PutLe32(out, 54 + image_bytes);  // file size
    PutLe32(out, 0);                 // reserved
    PutLe32(out, 54);                // pixel data offset
    PutLe32(out, 40);                // BITMAPINFOHEADER
    PutLe32(out, width_);
    PutLe32(out, height_);           // positive: bottom-up rows
    PutLe16(out, 1);                 // planes
    PutLe16(out, 24);                // bits per pixel
    PutLe32(out, 0);                 // BI_RGB
    PutLe32(out, image_bytes);
    PutLe32(out, 2835);              // 72 dpi
    PutLe32(out, 2835);
    PutLe32(out, 0);                 // palette colours
    PutLe32(out, 0);                 // important colours
    for (int y = height_ - 1; y >= 0; --y) {
        for (int x = 0; x < width_; ++x) {
            const Rgb c = At(x, y);
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
        }
        for (uint32_t pad = width_ * 3; pad < row_bytes; ++pad) out.push_back(0);
    }
    return WriteAssetFile(path, out);
}

namespace {

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutBe32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    PutBe32(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBe32(out, Crc32(out.data() + start, out.size() - start));
}

}  // namespace

bool Canvas::WritePng(const std::string& path) const {
    // The scanlines, each behind filter byte 0, in a zlib stream of stored
    // (uncompressed) deflate blocks: an icon is small.
    std::vector<uint8_t> raw;
    for (int y = 0; y < height_; ++y) {
        raw.push_back(0);
        for (int x = 0; x < width_; ++x) {
            const Rgb c = At(x, y);
            const bool on = Opaque(x, y);
            raw.insert(raw.end(), {on ? c.r : uint8_t(0), on ? c.g : uint8_t(0), on ? c.b : uint8_t(0),
                                   on ? uint8_t(255) : uint8_t(0)});
        }
    }
    std::vector<uint8_t> z = {0x78, 0x01};
    for (size_t at = 0; at < raw.size() || at == 0;) {
        const size_t n = std::min<size_t>(65535, raw.size() - at);
        const bool last = at + n == raw.size();
        z.push_back(last ? 1 : 0);
        PutLittleEndian(z, static_cast<uint32_t>(n), 2);
        PutLittleEndian(z, static_cast<uint32_t>(~n & 0xFFFF), 2);
        z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                 raw.begin() + static_cast<std::ptrdiff_t>(at + n));
        at += n;
        if (last) break;
    }
    uint32_t a = 1, b = 0;  // Adler-32 of the raw scanlines
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBe32(z, (b << 16) | a);

    std::vector<uint8_t> header;
    PutBe32(header, static_cast<uint32_t>(width_));
    PutBe32(header, static_cast<uint32_t>(height_));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter, no interlace
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", z);
    PutChunk(png, "IEND", {});
    return WriteAssetFile(path, png);
}

uint64_t Rng::Next() {
    uint64_t z = (state_ += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

float Rng::Unit() { return static_cast<float>(Next() >> 40) / static_cast<float>(1u << 24); }

float Rng::Range(float lo, float hi) { return lo + (hi - lo) * Unit(); }

int Rng::Int(int lo, int hi) {
    return lo + static_cast<int>(Next() % static_cast<uint64_t>(hi - lo + 1));
}

uint32_t Hash2(int x, int y, uint32_t seed) {
    uint32_t h = seed * 0x27d4eb2du ^ static_cast<uint32_t>(x) * 0x85ebca6bu ^
                 static_cast<uint32_t>(y) * 0xc2b2ae35u;
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    h *= 0x297a2d39u;
    h ^= h >> 15;
    return h;
}

float ValueNoise(float x, float y, uint32_t seed) {
    const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    const float fx = x - ix, fy = y - iy;
    const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    auto corner = [&](int dx, int dy) {
        return (Hash2(ix + dx, iy + dy, seed) & 0xffff) / 65535.0f;
    };
    const float top = corner(0, 0) + (corner(1, 0) - corner(0, 0)) * sx;
    const float bottom = corner(0, 1) + (corner(1, 1) - corner(0, 1)) * sx;
    return top + (bottom - top) * sy;
}

float Fbm(float x, float y, uint32_t seed, int octaves) {
    float sum = 0, amp = 0.5f, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * ValueNoise(x, y, seed + i * 101u);
        norm += amp;
        x *= 2.03f;
        y *= 2.03f;
        amp *= 0.5f;
    }
    return sum / norm;
}

bool InEllipse(float x, float y, float cx, float cy, float rx, float ry) {
    const float dx = (x - cx) / rx, dy = (y - cy) / ry;
    return dx * dx + dy * dy <= 1.0f;
}

bool InPolygon(float x, float y, const std::vector<std::pair<float, float>>& pts) {
    bool in = false;
    for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
        const auto [xi, yi] = pts[i];
        const auto [xj, yj] = pts[j];
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
    }
    return in;
}

float SegmentDistance(float x, float y, float ax, float ay, float bx, float by) {
    const float vx = bx - ax, vy = by - ay;
    const float len2 = vx * vx + vy * vy;
    const float t = len2 > 0 ? Clamp01(((x - ax) * vx + (y - ay) * vy) / len2) : 0.0f;
    const float dx = x - (ax + t * vx), dy = y - (ay + t * vy);
    return std::sqrt(dx * dx + dy * dy);
}

float SphereLight(float x, float y, float cx, float cy, float rx, float ry) {
    const float nx = (x - cx) / rx, ny = (y - cy) / ry;
    const float nz = std::sqrt(std::max(0.0f, 1 - nx * nx - ny * ny));
    return Clamp01(-0.5f * nx - 0.6f * ny + 0.62f * nz);
}

void DrawPixelMap(Canvas& canvas, int x, int y, const std::vector<const char*>& rows,
                  const std::vector<Ink>& palette) {
    for (size_t j = 0; j < rows.size(); ++j)
        for (size_t i = 0; rows[j][i]; ++i)
            for (const Ink& ink : palette)
                if (ink.key == rows[j][i]) canvas.Put(x + static_cast<int>(i), y + static_cast<int>(j), ink.colour);
}

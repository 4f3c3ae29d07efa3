#include "media/raster.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "data/sjis.h"
#include "platform/font.h"

namespace kiv {

namespace {

using i64 = int64_t;
using i128 = __int128;

constexpr uint32_t kRgbMask = 0x00FFFFFF;
constexpr i64 kMaxShapeSide = 65536;

bool Usable(const Surface& s) {
    return s.Width > 0 && s.Height > 0 && s.Pixels.size() == size_t(s.Width) * size_t(s.Height);
}

inline uint32_t ApplyRop(Rop rop, uint32_t s, uint32_t d) {
    switch (rop) {
        case Rop::SRCCOPY: return s;
        case Rop::SRCAND: return s & d;
        case Rop::SRCPAINT: return s | d;
        case Rop::NOTSRCCOPY: return ~s & kRgbMask;
        case Rop::SRCINVERT: return s ^ d;
        case Rop::MERGEPAINT: return (~s | d) & kRgbMask;
    }
    return d;  // an operation this raster does not know leaves the destination alone
}

// d[i] = op(d[i], s[i]) over a row, four pixels at a time where it can.
template <class Op>
void CombineRow(uint32_t* __restrict d, const uint32_t* __restrict s, size_t n, Op op) {
    using Quad = uint32_t __attribute__((vector_size(16)));
    size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        Quad a, b;
        std::memcpy(&a, d + i, sizeof a);
        std::memcpy(&b, s + i, sizeof b);
        a = op(a, b);
        std::memcpy(d + i, &a, sizeof a);
    }
    for (; i < n; ++i) d[i] = op(d[i], s[i]);
}

// One row of a same-size copy between surfaces of the same kind (the full-screen copies of
// every frame go through here).
void RopRow(Rop rop, uint32_t* d, const uint32_t* s, size_t n) {
    switch (rop) {
        case Rop::SRCCOPY: std::memcpy(d, s, n * sizeof(uint32_t)); break;
        case Rop::SRCAND: CombineRow(d, s, n, [](auto a, auto b) { return a & b; }); break;
        case Rop::SRCPAINT: CombineRow(d, s, n, [](auto a, auto b) { return a | b; }); break;
        case Rop::NOTSRCCOPY: CombineRow(d, s, n, [](auto, auto b) { return ~b & kRgbMask; }); break;
        case Rop::SRCINVERT: CombineRow(d, s, n, [](auto a, auto b) { return a ^ b; }); break;
        case Rop::MERGEPAINT: CombineRow(d, s, n, [](auto a, auto b) { return (~b | a) & kRgbMask; }); break;
    }
}

// Source pixel -> the destination's kind of pixel.
struct Conversion {
    enum Kind { None, ColorToMono, MonoToColor } kind = None;
    uint32_t srcBk = 0;  // colour -> mono: this colour gives 1
    uint32_t zero = 0;   // mono -> colour: bit 0
    uint32_t one = 0;    // mono -> colour: bit 1

    // A whole row at once, in loops simple enough to vectorise.
    void ConvertRow(const uint32_t* __restrict s, uint32_t* __restrict out, size_t n) const {
        if (kind == ColorToMono) {
            for (size_t i = 0; i < n; ++i) out[i] = (s[i] & kRgbMask) == srcBk ? kRgbMask : 0;
        } else if (kind == MonoToColor) {
            for (size_t i = 0; i < n; ++i) out[i] = s[i] ? one : zero;
        } else {
            for (size_t i = 0; i < n; ++i) out[i] = s[i] & kRgbMask;
        }
    }

    uint32_t operator()(uint32_t v) const {
        switch (kind) {
            case ColorToMono: return (v & kRgbMask) == srcBk ? kRgbMask : 0;
            case MonoToColor: return v ? one : zero;
            case None: break;
        }
        return v & kRgbMask;
    }
};

// One visible destination line and the source lines that feed it (positions, clipped).
struct AxisEntry {
    int d;
    int lo, hi;       // lowest and highest source position of the run
    int first, last;  // the run's first and last source position in stretching order
};

i64 FloorDiv(i128 a, i128 b) {  // b > 0
    i128 q = a / b;
    if ((a % b != 0) && (a < 0)) --q;
    return static_cast<i64>(q);
}

// First source offset of destination offset d when S source lines shrink into D (S > D):
// source offset s lands on floor(((2s+1)D - 1) / 2S).
i64 RunStart(i64 d, i64 D, i64 S) {
    i128 num = i128(2) * S * d + 1;
    i128 q = (num + D - 1) / D;  // smallest 2s+1 with (2s+1)D >= 2Sd+1
    return static_cast<i64>(q / 2);
}

// Maps one axis of a stretching copy. The mapping always uses the whole (unclipped) extents;
// only lines inside both surfaces are kept.
void MapAxis(i64 dOrg, i64 dExt, int dSize, i64 sOrg, i64 sExt, int sSize, std::vector<AxisEntry>& out) {
    out.clear();
    if (dExt == 0 || sExt == 0) return;
    if (dExt < 0 && sExt < 0) {
        // Both reversed: an unmirrored copy of the normalised spans (what Windows does).
        dOrg += dExt;
        dExt = -dExt;
        sOrg += sExt;
        sExt = -sExt;
    }
    const bool dMirror = dExt < 0, sMirror = sExt < 0;
    const i64 D = dMirror ? -dExt : dExt;
    const i64 S = sMirror ? -sExt : sExt;

    // A negative extent w at origin x covers x+w+1 .. x, walked from x downwards.
    i64 dFirst, dEnd, sFirst, sEnd;
    if (!dMirror) {
        dFirst = std::max<i64>(0, -dOrg);
        dEnd = std::min<i64>(D, dSize - dOrg);
    } else {
        dFirst = std::max<i64>(0, dOrg - dSize + 1);
        dEnd = std::min<i64>(D, dOrg + 1);
    }
    if (!sMirror) {
        sFirst = std::max<i64>(0, -sOrg);
        sEnd = std::min<i64>(S, sSize - sOrg);
    } else {
        sFirst = std::max<i64>(0, sOrg - sSize + 1);
        sEnd = std::min<i64>(S, sOrg + 1);
    }
    if (dFirst >= dEnd || sFirst >= sEnd) return;

    // Shrinking into one line reads one line fewer: 2 -> 1 keeps line 0 alone.
    const i64 Seff = (D == 1 && S > 1) ? S - 1 : S;
    out.reserve(size_t(dEnd - dFirst));
    for (i64 d = dFirst; d < dEnd; ++d) {
        i64 a, b;
        if (D >= Seff) {
            a = b = FloorDiv(i128(2 * d + 1) * Seff - 1, i128(2) * D);
        } else {
            a = RunStart(d, D, Seff);
            b = RunStart(d + 1, D, Seff) - 1;
        }
        a = std::max(a, sFirst);
        b = std::min(b, sEnd - 1);
        if (a > b) continue;
        i64 pa = sMirror ? sOrg - a : sOrg + a;
        i64 pb = sMirror ? sOrg - b : sOrg + b;
        AxisEntry e;
        e.d = static_cast<int>(dMirror ? dOrg - d : dOrg + d);
        e.first = static_cast<int>(pa);
        e.last = static_cast<int>(pb);
        e.lo = static_cast<int>(std::min(pa, pb));
        e.hi = static_cast<int>(std::max(pa, pb));
        out.push_back(e);
    }
}

// The source positions [first, end) one axis of a copy can read: the source extent as MapAxis
// walks it (both extents non-zero), clipped to the surface; empty when nothing is inside.
void SourceSpan(i64 dExt, i64 sOrg, i64 sExt, int sSize, i64& first, i64& end) {
    if (sExt > 0) {
        first = sOrg, end = sOrg + sExt;
    } else if (dExt < 0) {
        first = sOrg + sExt, end = sOrg;  // both reversed: the normalised span
    } else {
        first = sOrg + sExt + 1, end = sOrg + 1;  // mirrored, walked from sOrg downwards
    }
    first = std::max<i64>(first, 0);
    end = std::min<i64>(end, sSize);
}

void StretchCopyWith(Surface& dst, Rect dr, const Surface& srcIn, Rect sr, Rop rop, ColorRef srcBk, ColorRef dstText,
                     ColorRef dstBk) {
    if (!Usable(dst) || !Usable(srcIn)) return;
    i64 dx = dr.Left, dy = dr.Top, dw = i64(dr.Right) - dr.Left, dh = i64(dr.Bottom) - dr.Top;
    i64 sx = sr.Left, sy = sr.Top, sw = i64(sr.Right) - sr.Left, sh = i64(sr.Bottom) - sr.Top;
    if (dw == 0 || dh == 0 || sw == 0 || sh == 0) return;

    // A copy within one surface behaves as if the source were read first. Only the part of the
    // source rectangle inside the surface is ever read, so only that part is set aside, and the
    // source origin moves with it (clipping against the part gives the same lines as against
    // the whole surface).
    Surface window;
    const Surface* srcP = &srcIn;
    if (&dst == &srcIn) {
        i64 x0, x1, y0, y1;
        SourceSpan(dw, sx, sw, srcIn.Width, x0, x1);
        SourceSpan(dh, sy, sh, srcIn.Height, y0, y1);
        if (x0 >= x1 || y0 >= y1) return;
        window.Width = int(x1 - x0);
        window.Height = int(y1 - y0);
        window.Monochrome = srcIn.Monochrome;
        window.Pixels.resize(size_t(window.Width) * size_t(window.Height));
        for (i64 y = y0; y < y1; ++y) {
            const uint32_t* s = srcIn.Row(int(y)) + x0;
            std::copy(s, s + window.Width, window.Row(int(y - y0)));
        }
        sx -= x0;
        sy -= y0;
        srcP = &window;
    }
    const Surface& src = *srcP;

    Conversion conv;
    if (!src.Monochrome && dst.Monochrome) {
        conv.kind = Conversion::ColorToMono;
        conv.srcBk = PixelFromColorRef(srcBk) & kRgbMask;
    } else if (src.Monochrome && !dst.Monochrome) {
        conv.kind = Conversion::MonoToColor;
        conv.zero = PixelFromColorRef(dstText) & kRgbMask;
        conv.one = PixelFromColorRef(dstBk) & kRgbMask;
    }

    if (dw == sw && dh == sh && dw > 0 && dh > 0) {
        // Same size, unmirrored: offsets map one to one.
        i64 x0 = std::max<i64>({0, -dx, -sx});
        i64 x1 = std::min<i64>({dw, dst.Width - dx, src.Width - sx});
        i64 y0 = std::max<i64>({0, -dy, -sy});
        i64 y1 = std::min<i64>({dh, dst.Height - dy, src.Height - sy});
        if (x0 >= x1 || y0 >= y1) return;
        size_t n = size_t(x1 - x0);
        std::vector<uint32_t> converted(conv.kind == Conversion::None ? 0 : n);
        for (i64 y = y0; y < y1; ++y) {
            uint32_t* d = dst.Row(int(dy + y)) + (dx + x0);
            const uint32_t* s = src.Row(int(sy + y)) + (sx + x0);
            if (conv.kind != Conversion::None) {
                conv.ConvertRow(s, converted.data(), n);
                s = converted.data();
            }
            RopRow(rop, d, s, n);
        }
        return;
    }

    std::vector<AxisEntry> cols, rows;
    MapAxis(dx, dw, dst.Width, sx, sw, src.Width, cols);
    MapAxis(dy, dh, dst.Height, sy, sh, src.Height, rows);
    if (cols.empty() || rows.empty()) return;

    const bool andLines = dst.Stretch == StretchMode::BlackOnWhite;
    int cLo = cols.front().lo, cHi = cols.front().hi;
    for (const AxisEntry& c : cols) {
        cLo = std::min(cLo, c.lo);
        cHi = std::max(cHi, c.hi);
    }
    std::vector<uint32_t> line(size_t(cHi - cLo + 1));
    for (const AxisEntry& r : rows) {
        // The source lines of this destination row, merged: ANDed, or only the first one.
        if (andLines) {
            const uint32_t* s = src.Row(r.lo) + cLo;
            std::copy(s, s + line.size(), line.begin());
            for (int y = r.lo + 1; y <= r.hi; ++y) {
                const uint32_t* t = src.Row(y) + cLo;
                for (size_t i = 0; i < line.size(); ++i) line[i] &= t[i];
            }
        } else {
            const uint32_t* s = src.Row(r.first) + cLo;
            std::copy(s, s + line.size(), line.begin());
        }
        uint32_t* d = dst.Row(r.d);
        for (const AxisEntry& c : cols) {
            uint32_t v;
            if (andLines) {
                v = line[size_t(c.lo - cLo)];
                for (int x = c.lo + 1; x <= c.hi; ++x) v &= line[size_t(x - cLo)];
            } else {
                v = line[size_t(c.last - cLo)];
            }
            d[c.d] = ApplyRop(rop, conv(v), d[c.d]) & kRgbMask;
        }
    }
}

// The background colour a canvas gives its device: the brush colour, or black for a clear
// brush (whose colour reads as palette index 0).
ColorRef CanvasBkColor(const Surface& s) { return s.Brush == BrushStyle::Clear ? 0 : s.BrushColor; }

// Fills [l, r) x [t, b), clipped.
void FillBox(Surface& s, i64 l, i64 t, i64 r, i64 b, uint32_t v) {
    l = std::max<i64>(l, 0);
    t = std::max<i64>(t, 0);
    r = std::min<i64>(r, s.Width);
    b = std::min<i64>(b, s.Height);
    if (l >= r || t >= b) return;
    for (i64 y = t; y < b; ++y) std::fill(s.Row(int(y)) + l, s.Row(int(y)) + r, v);
}

inline void Plot(Surface& s, i64 x, i64 y, uint32_t v) {
    if (x >= 0 && y >= 0 && x < s.Width && y < s.Height) s.Row(int(y))[x] = v;
}

// Calls plot(x, y) for each pixel of the line from (x0, y0) up to, not including, (x1, y1),
// limited to major coordinates in [lo, hi). Where the ideal line passes half-way between two
// pixels the smaller minor coordinate wins, so a line and its reverse cover the same pixels.
template <class F>
void WalkLine(i64 x0, i64 y0, i64 x1, i64 y1, i64 loX, i64 hiX, i64 loY, i64 hiY, F&& plot) {
    const i64 dx = x1 - x0, dy = y1 - y0;
    if (dx == 0 && dy == 0) return;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const i64 m0 = xMajor ? x0 : y0, k0 = xMajor ? y0 : x0;
    const i64 dm = xMajor ? dx : dy, dk = xMajor ? dy : dx;
    const i64 lo = xMajor ? loX : loY, hi = xMajor ? hiX : hiY;
    const i64 n = std::llabs(dm), ak = std::llabs(dk);
    i64 iFirst, iEnd;
    if (dm > 0) {
        iFirst = std::max<i64>(0, lo - m0);
        iEnd = std::min<i64>(n, hi - m0);
    } else {
        iFirst = std::max<i64>(0, m0 - hi + 1);
        iEnd = std::min<i64>(n, m0 - lo + 1);
    }
    for (i64 i = iFirst; i < iEnd; ++i) {
        i128 p2 = i128(2) * i * ak;
        i64 off = dk >= 0 ? i64((p2 + n - 1) / (i128(2) * n)) : -i64((p2 + n) / (i128(2) * n));
        i64 m = dm > 0 ? m0 + i : m0 - i;
        if (xMajor)
            plot(m, k0 + off);
        else
            plot(k0 + off, m);
    }
}

void NormaliseBox(i64& l, i64& t, i64& r, i64& b) {
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
}

void RectangleBox(Surface& s, i64 l, i64 t, i64 r, i64 b) {
    NormaliseBox(l, t, r, b);
    i64 w = r - l, h = b - t;
    if (w == 0 || h == 0 || (w == 1 && h == 1)) return;
    if (s.Brush == BrushStyle::Solid && w > 2 && h > 2)
        FillBox(s, l + 1, t + 1, r - 1, b - 1, DeviceColor(s, s.BrushColor));
    uint32_t pen = DeviceColor(s, s.PenColor);
    FillBox(s, l, t, r, t + 1, pen);
    FillBox(s, l, b - 1, r, b, pen);
    FillBox(s, l, t, l + 1, b, pen);
    FillBox(s, r - 1, t, r, b, pen);
}

int SaturateInt(i64 v) { return static_cast<int>(std::clamp<i64>(v, INT_MIN, INT_MAX)); }

int FontPixelHeight(const Surface& s) {
    i64 h = std::llabs(i64(s.Font.Height));
    return static_cast<int>(std::clamp<i64>(h, 1, 256));
}

}  // namespace

void StretchCopy(Surface& dst, Rect dstRect, const Surface& src, Rect srcRect, Rop rop) {
    StretchCopyWith(dst, dstRect, src, srcRect, rop, src.BkColor, dst.TextColor, dst.BkColor);
}

void CanvasCopyRect(Surface& dst, Rect dstRect, const Surface& src, Rect srcRect) {
    StretchCopyWith(dst, dstRect, src, srcRect, dst.CopyMode, CanvasBkColor(src), dst.Font.Color, CanvasBkColor(dst));
}

void FillRectangle(Surface& s, Rect rect) {
    if (!Usable(s) || s.Brush == BrushStyle::Clear) return;
    FillBox(s, rect.Left, rect.Top, rect.Right, rect.Bottom, DeviceColor(s, s.BrushColor));
}

void Rectangle(Surface& s, int l, int t, int r, int b) {
    if (!Usable(s)) return;
    RectangleBox(s, l, t, r, b);
}

void Ellipse(Surface& s, int l, int t, int r, int b) {
    if (!Usable(s)) return;
    i64 L = l, T = t, R = r, B = b;
    NormaliseBox(L, T, R, B);
    const i64 W = R - L, H = B - T;
    if (W <= 2 || H <= 2) {
        RectangleBox(s, L, T, R, B);
        return;
    }
    if (W > kMaxShapeSide || H > kMaxShapeSide) return;

    // The first quadrant (right and lower half of the box), from the middle of the right side
    // to the middle of the bottom, in steps of at most one pixel on each axis.
    std::vector<std::pair<i64, i64>> quadrant;
    {
        const i64 a = W - 1, bb = H - 1;
        i64 x = a, y = H / 2;
        i64 ddx = 4 * bb * bb * (1 - a);
        i64 ddy = 4 * a * a * (1 + bb % 2);
        i64 err = ddx + ddy + a * a * (bb % 2);
        for (i64 guard = 0; x >= W / 2 && guard <= W + H + 4; ++guard) {
            quadrant.emplace_back(x, y);
            i64 e2 = 2 * err;
            if (e2 >= ddx) {
                --x;
                ddx += 8 * bb * bb;
                err += ddx;
            }
            if (e2 <= ddy) {
                ++y;
                ddy += 8 * a * a;
                err += ddy;
            }
        }
    }
    if (quadrant.empty()) return;

    // Mirror into a closed loop: right-middle, bottom, left-middle, top, back to the start.
    std::vector<std::pair<i64, i64>> loop;
    loop.reserve(quadrant.size() * 4);
    const size_t q = quadrant.size();
    for (size_t i = 0; i < q; ++i) loop.emplace_back(L + quadrant[i].first, T + quadrant[i].second);
    for (size_t i = q; i-- > 0;) loop.emplace_back(L + W - 1 - quadrant[i].first, T + quadrant[i].second);
    for (size_t i = 0; i < q; ++i) loop.emplace_back(L + W - 1 - quadrant[i].first, T + H - 1 - quadrant[i].second);
    for (size_t i = q; i-- > 0;) loop.emplace_back(L + quadrant[i].first, T + H - 1 - quadrant[i].second);

    std::vector<std::pair<i64, i64>> outline;
    const i64 far = i64(1) << 40;
    for (size_t i = 0; i < loop.size(); ++i) {
        const auto& p0 = loop[i];
        const auto& p1 = loop[(i + 1) % loop.size()];
        WalkLine(p0.first, p0.second, p1.first, p1.second, -far, far, -far, far,
                 [&](i64 x, i64 y) { outline.emplace_back(x, y); });
    }

    if (s.Brush == BrushStyle::Solid) {
        // The brush fills each row between the outline's outermost pixels.
        std::vector<i64> rowMin(size_t(H), far), rowMax(size_t(H), -far);
        for (const auto& [x, y] : outline) {
            i64 row = y - T;
            if (row < 0 || row >= H) continue;
            rowMin[size_t(row)] = std::min(rowMin[size_t(row)], x);
            rowMax[size_t(row)] = std::max(rowMax[size_t(row)], x);
        }
        uint32_t brush = DeviceColor(s, s.BrushColor);
        for (i64 row = 0; row < H; ++row) {
            if (rowMax[size_t(row)] - rowMin[size_t(row)] < 2) continue;
            FillBox(s, rowMin[size_t(row)] + 1, T + row, rowMax[size_t(row)], T + row + 1, brush);
        }
    }
    uint32_t pen = DeviceColor(s, s.PenColor);
    for (const auto& [x, y] : outline) Plot(s, x, y, pen);
}

void MoveTo(Surface& s, int x, int y) {
    s.PenX = x;
    s.PenY = y;
}

void LineTo(Surface& s, int x, int y) {
    if (Usable(s)) {
        uint32_t pen = DeviceColor(s, s.PenColor);
        WalkLine(s.PenX, s.PenY, x, y, 0, s.Width, 0, s.Height, [&](i64 px, i64 py) { Plot(s, px, py, pen); });
    }
    s.PenX = x;
    s.PenY = y;
}

ColorRef GetPixel(const Surface& s, int x, int y) {
    if (!Usable(s) || x < 0 || y < 0 || x >= s.Width || y >= s.Height) return kClrInvalid;
    return ColorRefFromPixel(s.Row(y)[x] & kRgbMask);
}

void SetPixel(Surface& s, int x, int y, ColorRef c) {
    if (!Usable(s)) return;
    Plot(s, x, y, DeviceColor(s, c));
}

void TextOut(Surface& s, FontRenderer& font, int x, int y, const std::string& sjisBytes) {
    const int h = FontPixelHeight(s);
    TextRun run = font.Render(SjisToUtf8(sjisBytes), h, s.Font.Italic);
    if (Usable(s)) {
        if (s.Brush == BrushStyle::Solid)
            FillBox(s, x, y, i64(x) + run.Width, i64(y) + run.Height, DeviceColor(s, s.BrushColor));
        uint32_t ink = DeviceColor(s, s.Font.Color);
        const bool hasInk = run.Ink.size() == size_t(run.Width) * size_t(run.Height);
        for (int ry = 0; hasInk && ry < run.Height; ++ry) {
            i64 py = i64(y) + ry;
            if (py < 0 || py >= s.Height) continue;
            for (int rx = 0; rx < run.Width; ++rx)
                if (run.Ink[size_t(ry) * size_t(run.Width) + size_t(rx)]) Plot(s, i64(x) + rx, py, ink);
        }
    }
    s.PenX = SaturateInt(i64(x) + run.Width);
    s.PenY = y;
}

int TextWidth(const Surface& s, FontRenderer& font, const std::string& sjisBytes) {
    return font.Measure(SjisToUtf8(sjisBytes), FontPixelHeight(s), s.Font.Italic);
}

}  // namespace kiv

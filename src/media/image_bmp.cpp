#include "media/image_bmp.h"

#include <algorithm>
#include <climits>
#include <iterator>

namespace kiv {

namespace {

uint32_t Le16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t Le32(const uint8_t* p) { return Le16(p) | Le16(p + 2) << 16; }

// What the file's headers promise, checked against the file's real length.
bool CheckHeader(const uint8_t* data, size_t size, int maxSide, int64_t maxPixels, std::string& error) {
    if (size < 14 + 12 || data[0] != 'B' || data[1] != 'M') {
        error = "not a bitmap file";
        return false;
    }
    const uint32_t offBits = Le32(data + 10);
    const uint32_t infoSize = Le32(data + 14);
    int64_t width, height;
    uint32_t bits, compression = 0, planes;
    if (infoSize == 12) {
        width = Le16(data + 18);
        height = Le16(data + 20);
        planes = Le16(data + 22);
        bits = Le16(data + 24);
    } else if (infoSize >= 40 && infoSize <= 124 && size >= 14 + size_t(infoSize)) {
        width = int32_t(Le32(data + 18));
        height = int32_t(Le32(data + 22));
        planes = Le16(data + 26);
        bits = Le16(data + 28);
        compression = Le32(data + 30);
    } else {
        error = "unknown bitmap header";
        return false;
    }
    const int64_t rows = height < 0 ? -height : height;
    if (width <= 0 || rows == 0) {
        error = "picture of no size";
        return false;
    }
    if (width > maxSide || rows > maxSide || width * rows > maxPixels) {
        error = "picture of " + std::to_string(width) + " x " + std::to_string(rows) + " pixels is too large";
        return false;
    }
    if (planes != 1 || !(bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32)) {
        error = "unsupported bitmap format";
        return false;
    }
    const bool rle = (compression == 1 && bits == 8) || (compression == 2 && bits == 4);
    const bool plain = compression == 0 || (compression == 3 && (bits == 16 || bits == 32));
    if (!rle && !plain) {
        error = "unsupported bitmap compression";
        return false;
    }
    if (offBits > size) {
        error = "file is cut short";
        return false;
    }
    if (rle && uint64_t(size) < uint64_t(width) * uint64_t(rows) / 256) {
        // A run codes at most 255 pixels in two bytes and a line ends with two more, so a file
        // written line by line is far longer; one this short only claims a size to be allocated.
        error = "file too short for a run-length picture of " + std::to_string(width) + " x " + std::to_string(rows) +
                " pixels";
        return false;
    }
    if (plain) {
        const uint64_t stride = ((uint64_t(width) * bits + 31) / 32) * 4;
        uint64_t start = offBits;
        if (start == 0) {
            const uint64_t colours = bits <= 8 ? (uint64_t(1) << bits) : 0;
            start = 14 + uint64_t(infoSize) + colours * (infoSize == 12 ? 3 : 4);
        }
        if (start + stride * uint64_t(rows) > size) {
            error = "file is cut short";
            return false;
        }
    }
    return true;
}

// The file as a stream, read the way the pictures were always read: a seek past the end stops
// at the end, and a field cut short by the end keeps the bytes that are there.
class ByteStream {
public:
    ByteStream(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    void Seek(uint64_t at) { pos_ = size_t(std::min<uint64_t>(at, size_)); }
    void Skip(size_t n) { pos_ += std::min(n, size_ - pos_); }
    bool Byte(uint8_t& v) {
        if (pos_ >= size_) return false;
        v = data_[pos_++];
        return true;
    }
    uint32_t Le32Partial() {
        uint32_t v = 0;
        for (int k = 0; k < 4 && pos_ < size_; ++k) v |= uint32_t(data_[pos_++]) << (8 * k);
        return v;
    }
    // The next n bytes, or null (and the stream at its end) when fewer are left.
    const uint8_t* Take(size_t n) {
        if (size_ - pos_ < n) {
            pos_ = size_;
            return nullptr;
        }
        const uint8_t* p = data_ + pos_;
        pos_ += n;
        return p;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// The header fields the pixels depend on (the file has passed CheckHeader).
struct Header {
    uint32_t OffBits = 0;
    uint32_t InfoSize = 0;
    int Width = 0;
    int Height = 0;
    bool TopDown = false;
    int Bits = 0;
    uint32_t Compression = 0;
    uint32_t ColoursUsed = 0;
    uint32_t Masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha, as the file gives them
};

Header ReadHeader(const uint8_t* data, size_t size) {
    Header h;
    h.OffBits = Le32(data + 10);
    h.InfoSize = Le32(data + 14);
    if (h.InfoSize == 12) {
        h.Width = int(Le16(data + 18));
        h.Height = int(Le16(data + 20));
        h.Bits = int(Le16(data + 24));
        return h;
    }
    h.Width = int32_t(Le32(data + 18));
    const int32_t height = int32_t(Le32(data + 22));
    h.TopDown = height < 0;
    h.Height = h.TopDown ? -height : height;  // within maxSide, so never INT32_MIN
    h.Bits = int(Le16(data + 28));
    h.Compression = Le32(data + 30);
    h.ColoursUsed = Le32(data + 46);
    // The masks follow a 40-byte header in place of a colour table, and sit inside the longer
    // headers at the same place; the 64-byte OS/2 header has none.
    if (h.Compression == 3 && h.InfoSize != 64) {
        ByteStream s(data, size);
        s.Seek(54);
        for (int k = 0; k < 3; ++k) h.Masks[k] = s.Le32Partial();
        if (h.InfoSize >= 56) h.Masks[3] = s.Le32Partial();
    }
    return h;
}

struct MaskSet {
    uint32_t R, G, B, A;
};

// The layouts of 16 and 32 bits a picture may have; any other set of masks is refused.
constexpr MaskSet k16BitLayouts[] = {
    {0x7C00, 0x03E0, 0x001F, 0x0000}, {0x001F, 0x03E0, 0x7C00, 0x0000}, {0x0F00, 0x00F0, 0x000F, 0xF000},
    {0xF000, 0x0F00, 0x00F0, 0x000F}, {0x000F, 0x00F0, 0x0F00, 0xF000}, {0x00F0, 0x0F00, 0xF000, 0x000F},
    {0x7C00, 0x03E0, 0x001F, 0x8000}, {0xF800, 0x07C0, 0x003E, 0x0001}, {0x001F, 0x03E0, 0x7C00, 0x8000},
    {0x003E, 0x07C0, 0xF800, 0x0001}, {0xF800, 0x07E0, 0x001F, 0x0000}, {0x001F, 0x07E0, 0xF800, 0x0000},
};
constexpr MaskSet k32BitLayouts[] = {
    {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00000000}, {0xFF000000, 0x00FF0000, 0x0000FF00, 0x00000000},
    {0x000000FF, 0x0000FF00, 0x00FF0000, 0x00000000}, {0x0000FF00, 0x00FF0000, 0xFF000000, 0x00000000},
    {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000}, {0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF},
    {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000}, {0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF},
    {0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000},
};
constexpr MaskSet kRgb565 = {0xF800, 0x07E0, 0x001F, 0};
constexpr MaskSet kRgb888 = {0x00FF0000, 0x0000FF00, 0x000000FF, 0};

// The channel masks a 16-, 24- or 32-bit picture is read with. Without masks in the file the
// defaults are 5-5-5 and 8-8-8; with them, a set of the table, except that no red mask at all
// (or the 6-5-5 layout 0x3F, 0x7C0, 0xF800) has always meant 5-6-5 at 16 bits and 8-8-8 at 32.
bool ChannelMasks(const Header& h, MaskSet& out) {
    if (h.Compression == 0) {
        out = h.Bits == 16 ? MaskSet{0x7C00, 0x03E0, 0x001F, 0} : kRgb888;
        return true;
    }
    const MaskSet file = {h.Masks[0], h.Masks[1], h.Masks[2], h.Masks[3]};
    if (file.R == 0) {
        out = h.Bits == 16 ? kRgb565 : kRgb888;
        return true;
    }
    auto same = [&](const MaskSet& m) { return m.R == file.R && m.G == file.G && m.B == file.B && m.A == file.A; };
    if (h.Bits == 16 && same(MaskSet{0x003F, 0x07C0, 0xF800, 0})) {
        out = kRgb565;
        return true;
    }
    const MaskSet* begin = h.Bits == 16 ? std::begin(k16BitLayouts) : std::begin(k32BitLayouts);
    const MaskSet* end = h.Bits == 16 ? std::end(k16BitLayouts) : std::end(k32BitLayouts);
    const MaskSet* found = std::find_if(begin, end, same);
    if (found == end) return false;
    out = *found;
    return true;
}

// One channel of a pixel widened to 8 bits by repeating its bits; wider channels keep their
// top 8 bits.
class Channel {
public:
    explicit Channel(uint32_t mask) : mask_(mask) {
        if (mask == 0) return;
        while (!((mask >> shift_) & 1)) ++shift_;
        while (shift_ + bits_ < 32 && ((mask >> (shift_ + bits_)) & 1)) ++bits_;
    }
    uint32_t Of(uint32_t pixel) const {
        if (mask_ == 0) return 0;
        const uint32_t v = (pixel & mask_) >> shift_;
        if (bits_ >= 8) return v >> (bits_ - 8);
        uint32_t out = 0;
        int have = 0;
        while (have < 8) {
            out = (out << bits_) | v;
            have += bits_;
        }
        return out >> (have - 8);
    }

private:
    uint32_t mask_;
    int shift_ = 0;
    int bits_ = 0;
};

bool DecodeDirect(const uint8_t* data, size_t size, const Header& h, BmpPixels& out, std::string& error) {
    MaskSet masks;
    if (!ChannelMasks(h, masks)) {
        error = "unsupported bitmap channel masks";
        return false;
    }
    const Channel red(masks.R), green(masks.G), blue(masks.B);
    const size_t bytes = size_t(h.Bits) / 8;
    const size_t stride = (size_t(h.Width) * bytes + 3) & ~size_t(3);
    ByteStream s(data, size);
    s.Seek(h.OffBits);
    for (int r = 0; r < h.Height; ++r) {
        const uint8_t* row = s.Take(stride);
        if (!row) {
            error = "file is cut short";
            return false;
        }
        uint32_t* dst = out.Pixels.data() + size_t(h.TopDown ? r : h.Height - 1 - r) * size_t(h.Width);
        for (int x = 0; x < h.Width; ++x) {
            const uint8_t* p = row + size_t(x) * bytes;
            uint32_t v = 0;
            for (size_t k = 0; k < bytes; ++k) v |= uint32_t(p[k]) << (8 * k);
            dst[x] = red.Of(v) << 16 | green.Of(v) << 8 | blue.Of(v);
        }
    }
    return true;
}

// The colour table: as many entries as the header says (all 256 when it says 0 or more than
// 256, whatever the depth), from just after the header; bytes past the end of the file read as
// 0xFF.
std::vector<uint32_t> ReadColourTable(const uint8_t* data, size_t size, const Header& h) {
    uint32_t count = h.ColoursUsed;
    if (count == 0 || count > 256) count = 256;
    std::vector<uint32_t> colours(count);
    ByteStream s(data, size);
    s.Seek(14 + uint64_t(h.InfoSize));
    for (uint32_t& c : colours) {
        uint8_t b = 0xFF, g = 0xFF, r = 0xFF, unused = 0;
        s.Byte(b);
        s.Byte(g);
        s.Byte(r);
        if (h.InfoSize != 12) s.Byte(unused);
        c = uint32_t(r) << 16 | uint32_t(g) << 8 | b;
    }
    return colours;
}

// Colour indices of the picture in rows of `pitch` bytes, bottom row last, as the run-length
// codes leave them: every row starts at index 0; the codes begin at the bottom row (for top-down
// files too); a run past the right edge goes on into the padding and then into the start of the
// row below, one below the bottom row is lost; a move may leave the picture for good. The column
// is a 32-bit count that wraps between runs (not within one), so 2^32 pixels along one line
// come round to the row again, as they always did.
class IndexPlane {
public:
    IndexPlane(int width, int height)
        : pitch_((int64_t(width) + 3) & ~int64_t(3)),
          total_(pitch_ * height),
          indices_(size_t(total_), 0),
          row_(total_ - pitch_) {}

    // n pixels alternately a and b, from a.
    void Run(int n, uint8_t a, uint8_t b) {
        const int64_t first = row_ + int32_t(column_);
        column_ += uint32_t(n);
        const int64_t lo = std::max<int64_t>(first, 0), hi = std::min<int64_t>(first + n, total_);
        for (int64_t p = lo; p < hi; ++p) indices_[size_t(p)] = ((p - first) & 1) ? b : a;
    }
    // n pixels as given.
    void Literal(const uint8_t* v, int n) {
        const int64_t first = row_ + int32_t(column_);
        column_ += uint32_t(n);
        const int64_t lo = std::max<int64_t>(first, 0), hi = std::min<int64_t>(first + n, total_);
        for (int64_t p = lo; p < hi; ++p) indices_[size_t(p)] = v[p - first];
    }
    void EndLine() {
        column_ = 0;
        row_ -= pitch_;
    }
    void Move(int right, int up) {
        column_ += uint32_t(right);
        row_ -= int64_t(up) * pitch_;
    }
    int64_t Pitch() const { return pitch_; }
    std::vector<uint8_t>& Indices() { return indices_; }

private:
    int64_t pitch_, total_;
    std::vector<uint8_t> indices_;
    int64_t row_;
    uint32_t column_ = 0;
};

// The run-length codes: a count and a pixel byte (two alternating pixels at 4 bits); 0 0 ends a
// line, 0 1 the picture, 0 2 dx dy moves right and up; 0 n gives n pixels as they are, padded to
// an even number of bytes. The data must end with 0 1.
bool ReadRuns(const uint8_t* data, size_t size, const Header& h, IndexPlane& plane, std::string& error) {
    const bool rle8 = h.Compression == 1;
    ByteStream s(data, size);
    s.Seek(h.OffBits);
    uint8_t count, pixel;
    for (;;) {
        if (!s.Byte(count)) break;
        if (count) {
            if (!s.Byte(pixel)) break;
            if (rle8)
                plane.Run(count, pixel, pixel);
            else
                plane.Run(count, pixel >> 4, pixel & 0x0F);
            continue;
        }
        if (!s.Byte(count)) break;
        if (count == 0) {
            plane.EndLine();
        } else if (count == 1) {
            return true;
        } else if (count == 2) {
            uint8_t dx, dy;
            if (!s.Byte(dx)) break;
            if (!s.Byte(dy)) break;
            plane.Move(dx, dy);
        } else {
            const size_t bytes = rle8 ? count : (count + 1u) / 2;
            uint8_t literal[256];
            bool whole = true;
            for (size_t i = 0; i < bytes && whole; ++i) {
                if (!(whole = s.Byte(pixel))) break;
                if (rle8) {
                    literal[i] = pixel;
                } else {
                    literal[2 * i] = pixel >> 4;
                    literal[2 * i + 1] = pixel & 0x0F;
                }
            }
            uint8_t pad;
            if (!whole || ((bytes & 1) && !s.Byte(pad))) break;
            plane.Literal(literal, count);
        }
    }
    error = "damaged bitmap: the run-length data ends before the end of the picture";
    return false;
}

// Rows of 1, 4 or 8 bits; every index must be inside the colour table.
bool ReadIndexRows(const uint8_t* data, size_t size, const Header& h, size_t colours, IndexPlane& plane,
                   std::string& error) {
    ByteStream s(data, size);
    s.Seek(h.OffBits);
    const size_t pitch = size_t(plane.Pitch());
    std::vector<uint8_t>& indices = plane.Indices();
    const size_t fileStride = ((size_t(h.Width) * size_t(h.Bits) + 31) / 32) * 4;
    const size_t used = (size_t(h.Width) * size_t(h.Bits) + 7) / 8;
    for (int r = 0; r < h.Height; ++r) {
        uint8_t* row = indices.data() + size_t(h.TopDown ? r : h.Height - 1 - r) * pitch;
        if (h.Bits == 8) {
            const uint8_t* src = s.Take(pitch);
            if (!src) {
                error = "file is cut short";
                return false;
            }
            std::copy(src, src + pitch, row);
        } else {
            const uint8_t* src = s.Take(used);
            if (!src) {
                error = "file is cut short";
                return false;
            }
            const int perByte = 8 / h.Bits;
            for (int x = 0; x < h.Width; ++x) {
                const int shift = 8 - h.Bits * (x % perByte + 1);
                row[x] = uint8_t((src[x / perByte] >> shift) & ((1 << h.Bits) - 1));
            }
            s.Skip(fileStride - used);  // the padding of the row may be cut short
        }
        for (int x = 0; x < h.Width; ++x)
            if (row[x] >= colours) {
                error = "damaged bitmap: a colour index outside the colour table";
                return false;
            }
    }
    return true;
}

bool DecodeIndexed(const uint8_t* data, size_t size, const Header& h, BmpPixels& out, std::string& error) {
    const std::vector<uint32_t> colours = ReadColourTable(data, size, h);
    IndexPlane plane(h.Width, h.Height);
    const bool rle = h.Compression == 1 || h.Compression == 2;
    if (rle ? !ReadRuns(data, size, h, plane, error) : !ReadIndexRows(data, size, h, colours.size(), plane, error))
        return false;
    // Run-length pixels are not checked against the table: an index past its end gets its last colour.
    const std::vector<uint8_t>& indices = plane.Indices();
    const size_t pitch = size_t(plane.Pitch()), last = colours.size() - 1;
    for (int y = 0; y < h.Height; ++y)
        for (int x = 0; x < h.Width; ++x)
            out.Pixels[size_t(y) * size_t(h.Width) + size_t(x)] =
                colours[std::min<size_t>(indices[size_t(y) * pitch + size_t(x)], last)];
    return true;
}

}  // namespace

bool DecodeBmp(const uint8_t* data, size_t size, int maxSide, int64_t maxPixels, BmpPixels& out, std::string& error) {
    out = BmpPixels{};
    if (!data || !CheckHeader(data, size, maxSide, maxPixels, error)) return false;
    if (size > size_t(INT32_MAX)) {
        error = "file is too large";
        return false;
    }
    const Header h = ReadHeader(data, size);
    out.Width = h.Width;
    out.Height = h.Height;
    out.Pixels.resize(size_t(h.Width) * size_t(h.Height));
    const bool ok = h.Bits <= 8 ? DecodeIndexed(data, size, h, out, error) : DecodeDirect(data, size, h, out, error);
    if (!ok) out = BmpPixels{};
    return ok;
}

}  // namespace kiv

#include "media/image_jpeg.h"

#include <csetjmp>
#include <cstddef>
#include <cstring>

#include <jpeglib.h>
// jerror.h after jpeglib.h: the message codes tell a damaged scan from harmless noise.
#include <jerror.h>

namespace kiv {

namespace {

// Plain data only: libjpeg leaves a failing call by longjmp, which must not skip destructors.
struct JpegSession {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr mgr;
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
    bool damaged;
    char message[JMSG_LENGTH_MAX];
};

JpegSession* SessionOf(j_common_ptr c) {
    // mgr is not the first member, so find the session from the decompressor it serves.
    return reinterpret_cast<JpegSession*>(reinterpret_cast<char*>(c) - offsetof(JpegSession, cinfo));
}

[[noreturn]] void ErrorExit(j_common_ptr c) {
    JpegSession* s = SessionOf(c);
    c->err->format_message(c, s->message);
    std::longjmp(s->jump, 1);
}

void OutputNothing(j_common_ptr) {}

// Real pictures have a dozen scans at most; thousands of them only make the decoder work on
// and on (a few hundred kilobytes can keep it busy for seconds).
constexpr int kMaxScans = 300;

void WatchScans(j_common_ptr c) {
    auto* d = reinterpret_cast<j_decompress_ptr>(c);
    if (d->input_scan_number <= kMaxScans) return;
    JpegSession* s = SessionOf(c);
    std::strcpy(s->message, "too many scans");
    std::longjmp(s->jump, 1);
}

// The warnings after which part of the picture was never decoded.
bool LosesScanData(int code) {
    switch (code) {
        case JWRN_JPEG_EOF:
        case JWRN_HIT_MARKER:
        case JWRN_MUST_RESYNC:
        case JWRN_HUFF_BAD_CODE:
        case JWRN_ARITH_BAD_CODE:
        case JWRN_NOT_SEQUENTIAL: return true;
        default: return false;
    }
}

// Whether the file is long enough to hold the scan data of a picture of the header's size.
// Every 8 x 8 block costs at least one bit for its DC term and, in a sequential Huffman scan,
// one more for its AC terms: width * height / 256 bytes. A progressive file codes the AC terms
// of many blocks at once, so only the DC bit counts there, and the rare arithmetic-coded file
// is held to the same. A tiny file that claims a huge picture is thus refused before the
// decoder's buffers are allocated.
bool PlausibleFileSize(const jpeg_decompress_struct& ci, size_t size) {
    const uint64_t pixels = uint64_t(ci.image_width) * ci.image_height;
    const uint64_t need = (ci.progressive_mode || ci.arith_code) ? pixels / 512 : pixels / 256;
    return uint64_t(size) >= need;
}

void EmitMessage(j_common_ptr c, int level) {
    if (level >= 0) return;  // trace output
    JpegSession* s = SessionOf(c);
    ++c->err->num_warnings;
    // A file cut mid-scan or with broken entropy data only warns, and the rest comes out grey:
    // that picture is damaged. Other warnings (an unknown JFIF revision, an odd Adobe transform
    // code, a bad ICC marker, stray bytes between markers) leave every pixel decoded.
    if (!LosesScanData(c->err->msg_code)) return;
    if (!s->damaged) c->err->format_message(c, s->message);
    s->damaged = true;
}

// Adobe writes CMYK inverted (0 = full ink), others plainly.
uint32_t CmykToPixel(const JSAMPLE* p, bool inverted) {
    unsigned c = p[0], m = p[1], y = p[2], k = p[3];
    if (!inverted) {
        c = 255 - c;
        m = 255 - m;
        y = 255 - y;
        k = 255 - k;
    }
    unsigned r = (c * k + 127) / 255, g = (m * k + 127) / 255, b = (y * k + 127) / 255;
    return (r << 16) | (g << 8) | b;
}

// Decodes into out; returns 0 or a short reason. Everything it allocates belongs to libjpeg or
// to out, so a longjmp out of it leaks nothing.
const char* Decode(JpegSession* s, const uint8_t* data, size_t size, Surface& out) {
    jpeg_decompress_struct* ci = &s->cinfo;
    jpeg_mem_src(ci, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(ci, TRUE) != JPEG_HEADER_OK) return "no picture in the file";
    if (ci->image_width == 0 || ci->image_height == 0) return "picture of no size";
    if (ci->image_width > unsigned(kMaxSurfaceSide) || ci->image_height > unsigned(kMaxSurfaceSide) ||
        int64_t(ci->image_width) * ci->image_height > kMaxSurfacePixels)
        return "picture too large";
    if (!PlausibleFileSize(*ci, size)) return "file too short for the picture size in its header";
    const bool cmyk = ci->jpeg_color_space == JCS_CMYK || ci->jpeg_color_space == JCS_YCCK;
    ci->out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
    jpeg_start_decompress(ci);
    const int w = int(ci->output_width), h = int(ci->output_height);
    if (w <= 0 || h <= 0 || w > kMaxSurfaceSide || h > kMaxSurfaceSide) return "picture of a bad size";
    out = CreateSurface(w, h);
    JSAMPARRAY cmykRow =
        cmyk ? (*ci->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(ci), JPOOL_IMAGE, JDIMENSION(w) * 4, 1)
             : nullptr;
    while (ci->output_scanline < ci->output_height) {
        uint32_t* row = out.Row(int(ci->output_scanline));
        if (cmyk) {
            if (jpeg_read_scanlines(ci, cmykRow, 1) != 1) return "damaged picture";
            for (int x = 0; x < w; ++x)
                row[x] = CmykToPixel(cmykRow[0] + 4 * static_cast<ptrdiff_t>(x), ci->saw_Adobe_marker);
        } else {
            // BGRX bytes are 0xXXRRGGBB words on a little-endian machine.
            JSAMPROW target = reinterpret_cast<JSAMPROW>(row);
            if (jpeg_read_scanlines(ci, &target, 1) != 1) return "damaged picture";
            for (int x = 0; x < w; ++x) row[x] &= 0x00FFFFFF;
        }
    }
    if (s->damaged) return nullptr;  // reported by the caller with libjpeg's own words
    jpeg_finish_decompress(ci);
    return nullptr;
}

bool Run(JpegSession* s, const uint8_t* data, size_t size, Surface& out, std::string& error) {
    s->cinfo.err = jpeg_std_error(&s->mgr);
    s->mgr.error_exit = ErrorExit;
    s->mgr.output_message = OutputNothing;
    s->mgr.emit_message = EmitMessage;
    s->progress.progress_monitor = WatchScans;
    s->damaged = false;
    s->message[0] = '\0';
    if (setjmp(s->jump)) {
        jpeg_destroy_decompress(&s->cinfo);
        out = Surface{};
        error = s->message[0] ? s->message : "damaged picture";
        return false;
    }
    jpeg_create_decompress(&s->cinfo);
    s->cinfo.progress = &s->progress;
    const char* why = Decode(s, data, size, out);
    jpeg_destroy_decompress(&s->cinfo);
    if (why || s->damaged) {
        out = Surface{};
        error = why ? why : s->message;
        return false;
    }
    return true;
}

}  // namespace

bool DecodeJpeg(const uint8_t* data, size_t size, Surface& out, std::string& error) {
    static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "BGRX rows are read as 0x00RRGGBB words");
    out = Surface{};
    if (!data || size == 0) {
        error = "empty file";
        return false;
    }
    JpegSession session;
    std::memset(&session, 0, sizeof session);
    return Run(&session, data, size, out, error);
}

}  // namespace kiv

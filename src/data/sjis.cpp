#include "data/sjis.h"

#include <errno.h>
#include <iconv.h>

namespace kiv {

namespace {

// Converts with iconv, replacing what does not convert, one input byte at a time.
std::string Convert(const char* to, const char* from, std::string_view in, std::string_view replacement) {
    iconv_t cd = iconv_open(to, from);
    // iconv_open fails with (iconv_t)-1.
    // NOLINTNEXTLINE(performance-no-int-to-ptr)
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
    std::string out;
    out.reserve(in.size() * 2);
    char* src = const_cast<char*>(in.data());
    size_t left = in.size();
    char buf[256];
    while (left > 0) {
        char* dst = buf;
        size_t room = sizeof buf;
        size_t r = iconv(cd, &src, &left, &dst, &room);
        out.append(buf, static_cast<size_t>(dst - buf));
        if (r == static_cast<size_t>(-1)) {
            if (errno == E2BIG) continue;
            if (errno == EINVAL) break;  // a character cut at the end
            out.append(replacement);
            ++src;
            --left;
        }
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    iconv_close(cd);
    return out;
}

}  // namespace

size_t FirstInvalidSjisByte(std::string_view sjis) {
    iconv_t cd = iconv_open("UTF-8", "CP932");
    // iconv_open fails with (iconv_t)-1.
    // NOLINTNEXTLINE(performance-no-int-to-ptr)
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string_view::npos;
    char* src = const_cast<char*>(sjis.data());
    size_t left = sjis.size();
    size_t bad = std::string_view::npos;
    char buf[256];
    while (left > 0) {
        char* dst = buf;
        size_t room = sizeof buf;
        if (iconv(cd, &src, &left, &dst, &room) != static_cast<size_t>(-1) || errno == E2BIG) continue;
        bad = static_cast<size_t>(src - sjis.data());  // EILSEQ, or EINVAL: cut at the end
        break;
    }
    iconv_close(cd);
    return bad;
}

std::string SjisToUtf8(std::string_view sjis) { return Convert("UTF-8", "CP932", sjis, "\xEF\xBF\xBD"); }

std::string Utf8ToSjis(std::string_view utf8) { return Convert("CP932", "UTF-8", utf8, "?"); }

}  // namespace kiv

#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kiv {

// Shift-JIS (code page 932) bytes as UTF-8. A byte that does not convert becomes U+FFFD, and a
// double-byte character cut at the end is dropped, so any input gives valid UTF-8.
std::string SjisToUtf8(std::string_view sjis);

// The 0-based offset of the first byte that does not start a valid Shift-JIS (code page 932)
// character, a double-byte character cut at the end included; npos when every byte is valid.
size_t FirstInvalidSjisByte(std::string_view sjis);

// UTF-8 as code page 932 bytes; characters with no Shift-JIS form become '?'.
std::string Utf8ToSjis(std::string_view utf8);

// True when byte b starts a double-byte Shift-JIS character.
inline bool IsSjisLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

}  // namespace kiv

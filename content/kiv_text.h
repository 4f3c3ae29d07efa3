#pragma once

#include <string>

namespace kiv::demo {

// UTF-8 to Shift-JIS (code page 932); throws when a character has no Shift-JIS form.
std::string ToShiftJis(const std::string& utf8);

// The whole Kiv.txt of the demo: 213 lines, CR LF, Shift-JIS. Throws when a text does not fit.
std::string BuildKivText();

}  // namespace kiv::demo

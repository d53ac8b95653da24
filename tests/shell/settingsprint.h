#pragma once

// Readable test names for table cases: texts with control characters,
// non-ASCII bytes or blanks are printed escaped.

#include <cstdio>
#include <string>

namespace pellix::testing {

inline std::string PrintableText(const char* text) {
    if (!text)
        return "(none)";
    std::string out = "\"";
    for (const char* p = text; *p; ++p) {
        const auto b = static_cast<unsigned char>(*p);
        if (b > 0x20 && b < 0x7f && b != '\\' && b != '"') {
            out += *p;
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", b);
            out += hex;
        }
    }
    return out + "\"";
}

} // namespace pellix::testing

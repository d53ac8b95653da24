// Display over arbitrary doubles, modes, digit counts and separators.

#include "engine/zuncalc.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 14) {
        return 0;
    }
    pellix::TZunCalc z(1);
    std::memcpy(&z.Stack[0], data, sizeof(double));
    z.Mode = static_cast<pellix::TZunMode>(data[8]);
    std::int32_t fixLen = 0;
    std::memcpy(&fixLen, data + 9, sizeof fixLen);
    z.FixLen = fixLen;
    z.Regional = (data[13] & 1) ? pellix::Separators{",", "."} : pellix::Separators{".", ""};
    const std::string text = z.Display();
    // FIX shows at most 12 integer digits with groups, 9 decimals and a sign;
    // the longest form is an ENG mantissa of 1000 with 9 decimals and E-324.
    if (text.size() > 40) {
        std::abort();
    }
    return 0;
}

// Text-to-number conversions over arbitrary text and separators.

#include "engine/faults.h"
#include "engine/textnumber.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    // First byte picks the separators, the rest is the text.
    static const pellix::Separators kSeps[] = {{".", ","},      {",", "."},           {".", ""},
                                               {",", "\u202f"}, {"\u066b", "\u066c"}, {".", "."}};
    const pellix::Separators& sep = kSeps[data[0] % std::size(kSeps)];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    try {
        const double v = pellix::NumberOfText(text, sep);
        if (!std::isfinite(v)) {
            std::abort(); // readable values beyond the range must raise overflow
        }
    } catch (const pellix::EOverflow&) {
    }
    try {
        (void)pellix::PlainNumber(text, sep.Decimal);
    } catch (const pellix::EOverflow&) {
    }
    if (const auto v = pellix::PasteNumber(text, sep.Decimal)) {
        if (!(std::fabs(*v) <= 1.7e308)) {
            std::abort();
        }
    }
    return 0;
}

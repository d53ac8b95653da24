#pragma once

#include <string>

namespace pellix {

// The regional number separators, UTF-8 encoded. Decimal is one character;
// Thousands is one character or empty (no grouping).
struct Separators {
    std::string Decimal = ".";
    std::string Thousands = ",";

    friend bool operator==(const Separators&, const Separators&) = default;
};

} // namespace pellix

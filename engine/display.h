#pragma once

#include "separators.h"

#include <cstdint>
#include <string>

namespace pellix {

// Number forms of the display. n is the digit count (FixLen).
std::string FixedForm(double x, int n, const Separators& sep);
std::string ScientificForm(double x, int n, const Separators& sep);
std::string EngineeringForm(double x, int n);

// Exponent of the engineering form: a multiple of three.
std::int32_t EngExponent(double x);

} // namespace pellix

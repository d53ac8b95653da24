#pragma once

#include <stdexcept>
#include <string>

namespace pellix {

// Floating-point faults of the calculator. Each carries the exact text that the
// fault handler shows when the fault is not turned into an error text of its own.
class EMathError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class EZeroDivide : public EMathError {
public:
    EZeroDivide() : EMathError("Gleitkommadivision durch Null") {}
};

class EOverflow : public EMathError {
public:
    EOverflow() : EMathError("Gleitkomma\u00fcberlauf") {}
};

class EInvalidOp : public EMathError {
public:
    EInvalidOp() : EMathError("Ung\u00fcltige Gleitkommaoperation") {}
};

} // namespace pellix

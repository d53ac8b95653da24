#pragma once

#include "faults.h"
#include "separators.h"

#include <array>
#include <cstdint>
#include <string>

namespace pellix {

// Ordinals are stored in the settings file; never reorder.
enum TZunMode : std::uint8_t { zunFix = 0, zunSci = 1, zunEng = 2 };
enum TZunTrigMode : std::uint8_t { zunDeg = 0, zunRad = 1, zunGrad = 2 };

enum TZunOperation : std::uint8_t {
    zunAdd,
    zunSub,
    zunMul,
    zunDiv,
    zunEnter,
    zunPwr,
    zunPwr10,
    zunInv,
    zunSin,
    zunInvSin,
    zunCos,
    zunInvCos,
    zunTan,
    zunInvTan,
    zunExc,
    zunLn,
    zunLog10,
    zunCHS,
    zunExp,
    zunSqr,
    zunAbs,
    zunInt,
    zunFrac,
    zunSum,
    zunSqrt,
    zunStackDown,
    zunStackUp,
    zunLastX,
    zunRandom,
    zunToRad,
    zunToDeg,
    zunFact,
    zunPC,
    zundPC,
    zunToPol,
    zunToRect,
    zunToHMS,
    zunToH,
};
inline constexpr int ZunOperationCount = zunToH + 1;

// Error texts that ExecOp leaves in FError.
inline constexpr const char* SDivideByZero = "Divide by 0";
inline constexpr const char* SOverflow = "Overflow";
inline constexpr const char* SLnZero = "ln(0)";
inline constexpr const char* SLogZero = "log(0)";

inline constexpr double Pi = 3.141592653589793;

// The calculator's arithmetic state. All fields are public: the entry machine,
// the settings file and the clipboard read and write them directly.
class TZunCalc {
public:
    TZunCalc();                                // seeds the random generator from the clock
    explicit TZunCalc(std::uint32_t randSeed); // deterministic seed

    std::string FError;             // pending error text (UTF-8), shown once by Display
    std::array<double, 4> Stack{};  // X, Y, Z, T
    bool Input = true;              // false while a number is being keyed in
    TZunMode Mode = zunFix;         // may hold any byte when read from a file
    TZunTrigMode TrigMode = zunDeg; // likewise
    std::int32_t FixLen = 9;        // any value; Display clamps what it uses
    std::array<double, 10> Reg{};   // storage registers 0 to 9
    double LastX = 0;               // X before the most recent operation
    std::uint32_t RandSeed = 0;     // state of the random generator
    Separators Regional;            // separators of the display text
    // Registers the user stored into since the settings were read: their
    // stored texts are theirs no longer, whatever the value.
    std::array<bool, 10> RegStored{};

    void Push(double x);
    double Pop();

    // Runs one operation. Division by zero and overflow end it with an error
    // text in FError; EInvalidOp (and anything else) is passed on to the caller.
    void ExecOp(TZunOperation op);

    // The text for the display: FError once, else X in the current format.
    std::string Display();

private:
    void Run(TZunOperation op);
};

} // namespace pellix

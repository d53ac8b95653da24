#pragma once

// The engine's part of the settings file: the keys of section "ZunMain" that
// hold the calculator's state, read and written with the settings file's
// value notations. Shared by pellix-keys and the window's settings file.

#include "inidocument.h"
#include "zuncalc.h"

#include <string>
#include <string_view>

namespace pellix {

inline constexpr std::string_view SettingsSection = "ZunMain";

// "Zun.Stack[i]" and "Zun.Reg[i]".
std::string StackKey(std::size_t index);
std::string RegKey(std::size_t index);

// Reads Zun.Mode, Zun.TrigMode (low 8 bits as the ordinal, whatever its
// value), Zun.FixLen, Zun.LastX, Zun.Stack[0..3] and Zun.Reg[0..9] into calc,
// each with the field's current value as the default. Floats are read in the
// notation of decimalSep.
void ReadEngineKeys(const TIniDocument& doc, TZunCalc& calc, std::string_view decimalSep);

// Writes the same keys in this order: Zun.Mode, Zun.TrigMode, Zun.FixLen,
// Zun.LastX, Zun.Stack[0..3], Zun.Reg[0..9].
void WriteEngineKeys(TIniDocument& doc, const TZunCalc& calc, std::string_view decimalSep);

} // namespace pellix

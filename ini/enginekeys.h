#pragma once

// The calculator's part of the settings file: the keys of section "ZunMain"
// that hold the engine's state, read and written with the settings file's
// value notations. Shared by pellix-keys and the window's settings file. A
// template over the engine type, so that this module needs no engine.

#include "inidocument.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace pellix {

inline constexpr std::string_view SettingsSection = "ZunMain";
inline constexpr std::string_view ModeKey = "Zun.Mode";
inline constexpr std::string_view TrigModeKey = "Zun.TrigMode";
inline constexpr std::string_view FixLenKey = "Zun.FixLen";
inline constexpr std::string_view LastXKey = "Zun.LastX";

// "Zun.Stack[i]" and "Zun.Reg[i]": the index in decimal without leading zeros.
inline std::string IndexedKey(std::string_view name, std::size_t index) {
    std::string key(name);
    key += '[';
    key += std::to_string(index);
    key += ']';
    return key;
}
inline std::string StackKey(std::size_t index) {
    return IndexedKey("Zun.Stack", index);
}
inline std::string RegKey(std::size_t index) {
    return IndexedKey("Zun.Reg", index);
}

// Zun.Mode and Zun.TrigMode (low 8 bits as the ordinal, whatever its value)
// and Zun.FixLen, each with the field's current value as the default.
template <typename Calc>
void ReadEngineModes(const TIniDocument& doc, Calc& calc) {
    const auto s = SettingsSection;
    calc.Mode = static_cast<decltype(calc.Mode)>(doc.ReadLowByte(s, ModeKey, calc.Mode));
    calc.TrigMode =
        static_cast<decltype(calc.TrigMode)>(doc.ReadLowByte(s, TrigModeKey, calc.TrigMode));
    calc.FixLen = doc.ReadInteger(s, FixLenKey, calc.FixLen);
}

// Zun.LastX, Zun.Stack[0..3] and Zun.Reg[0..9], read in the notation of
// decimalSep, each with the field's current value as the default.
template <typename Calc>
void ReadEngineValues(const TIniDocument& doc, Calc& calc, std::string_view decimalSep) {
    const auto s = SettingsSection;
    calc.LastX = doc.ReadFloat(s, LastXKey, calc.LastX, decimalSep);
    for (std::size_t i = 0; i < calc.Stack.size(); ++i) {
        calc.Stack[i] = doc.ReadFloat(s, StackKey(i), calc.Stack[i], decimalSep);
    }
    for (std::size_t i = 0; i < calc.Reg.size(); ++i) {
        calc.Reg[i] = doc.ReadFloat(s, RegKey(i), calc.Reg[i], decimalSep);
    }
}

template <typename Calc>
void WriteEngineModes(TIniDocument& doc, const Calc& calc) {
    const auto s = SettingsSection;
    doc.WriteInteger(s, ModeKey, static_cast<std::int32_t>(calc.Mode));
    doc.WriteInteger(s, TrigModeKey, static_cast<std::int32_t>(calc.TrigMode));
    doc.WriteInteger(s, FixLenKey, calc.FixLen);
}

template <typename Calc>
void WriteEngineValues(TIniDocument& doc, const Calc& calc, std::string_view decimalSep) {
    const auto s = SettingsSection;
    doc.WriteFloat(s, LastXKey, calc.LastX, decimalSep);
    for (std::size_t i = 0; i < calc.Stack.size(); ++i) {
        doc.WriteFloat(s, StackKey(i), calc.Stack[i], decimalSep);
    }
    for (std::size_t i = 0; i < calc.Reg.size(); ++i) {
        doc.WriteFloat(s, RegKey(i), calc.Reg[i], decimalSep);
    }
}

// All engine keys, in the order of the settings file.
template <typename Calc>
void ReadEngineKeys(const TIniDocument& doc, Calc& calc, std::string_view decimalSep) {
    ReadEngineModes(doc, calc);
    ReadEngineValues(doc, calc, decimalSep);
}

template <typename Calc>
void WriteEngineKeys(TIniDocument& doc, const Calc& calc, std::string_view decimalSep) {
    WriteEngineModes(doc, calc);
    WriteEngineValues(doc, calc, decimalSep);
}

} // namespace pellix

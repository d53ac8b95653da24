#pragma once

// The calculator's part of the settings file: the keys of section "ZunMain"
// that hold the engine's state, read and written with the settings file's
// value notations. Shared by pellix-keys and the window's settings file. A
// template over the engine type, so that this module needs no engine.

#include "inidocument.h"
#include "ininotation.h"
#include "kepttexts.h"

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

// Highest ordinals of Zun.Mode and Zun.TrigMode and the range of Zun.FixLen.
inline constexpr std::uint8_t HighestMode = 2;     // FIX, SCI, ENG
inline constexpr std::uint8_t HighestTrigMode = 2; // degrees, radians, grads
inline constexpr std::int32_t LowestFixLen = 0;
inline constexpr std::int32_t HighestFixLen = 9;

// Zun.Mode and Zun.TrigMode (the low 8 bits as the ordinal) and Zun.FixLen,
// each with the field's current value as the default, which also replaces a
// value outside its range. Texts that do not read are noted in kept.
template <typename Calc>
void ReadEngineModes(const TIniDocument& doc, Calc& calc, TKeptTexts& kept) {
    const auto s = SettingsSection;
    calc.Mode =
        static_cast<decltype(calc.Mode)>(kept.ReadOrdinal(doc, s, ModeKey, calc.Mode, HighestMode));
    calc.TrigMode = static_cast<decltype(calc.TrigMode)>(
        kept.ReadOrdinal(doc, s, TrigModeKey, calc.TrigMode, HighestTrigMode));
    calc.FixLen = kept.Read(doc, s, FixLenKey, calc.FixLen, [](std::string_view text) {
        auto v = IniIntegerOf(text);
        if (v && (*v < LowestFixLen || *v > HighestFixLen))
            v.reset();
        return v;
    });
}

// Zun.LastX, Zun.Stack[0..3] and Zun.Reg[0..9], read in the notation of
// decimalSep, each with the field's current value as the default.
template <typename Calc>
void ReadEngineValues(const TIniDocument& doc, Calc& calc, std::string_view decimalSep,
                      TKeptTexts& kept) {
    const auto s = SettingsSection;
    calc.LastX = kept.ReadFloat(doc, s, LastXKey, calc.LastX, decimalSep);
    for (std::size_t i = 0; i < calc.Stack.size(); ++i) {
        calc.Stack[i] = kept.ReadFloat(doc, s, StackKey(i), calc.Stack[i], decimalSep);
    }
    for (std::size_t i = 0; i < calc.Reg.size(); ++i) {
        calc.Reg[i] = kept.ReadFloat(doc, s, RegKey(i), calc.Reg[i], decimalSep);
    }
}

// The writers leave the texts kept from the load alone (see TKeptTexts).
template <typename Calc>
void WriteEngineModes(TIniDocument& doc, const Calc& calc, TKeptTexts& kept) {
    const auto s = SettingsSection;
    kept.WriteInteger(doc, s, ModeKey, static_cast<std::int32_t>(calc.Mode));
    kept.WriteInteger(doc, s, TrigModeKey, static_cast<std::int32_t>(calc.TrigMode));
    kept.WriteInteger(doc, s, FixLenKey, calc.FixLen);
}

template <typename Calc>
void WriteEngineValues(TIniDocument& doc, const Calc& calc, std::string_view decimalSep,
                       TKeptTexts& kept) {
    const auto s = SettingsSection;
    kept.WriteFloat(doc, s, LastXKey, calc.LastX, decimalSep);
    for (std::size_t i = 0; i < calc.Stack.size(); ++i) {
        kept.WriteFloat(doc, s, StackKey(i), calc.Stack[i], decimalSep);
    }
    for (std::size_t i = 0; i < calc.Reg.size(); ++i) {
        kept.WriteFloat(doc, s, RegKey(i), calc.Reg[i], decimalSep);
    }
}

// All engine keys, in the order of the settings file.
template <typename Calc>
void ReadEngineKeys(const TIniDocument& doc, Calc& calc, std::string_view decimalSep,
                    TKeptTexts& kept) {
    ReadEngineModes(doc, calc, kept);
    ReadEngineValues(doc, calc, decimalSep, kept);
}

template <typename Calc>
void ReadEngineKeys(const TIniDocument& doc, Calc& calc, std::string_view decimalSep) {
    TKeptTexts unused;
    ReadEngineKeys(doc, calc, decimalSep, unused);
}

template <typename Calc>
void WriteEngineKeys(TIniDocument& doc, const Calc& calc, std::string_view decimalSep,
                     TKeptTexts& kept) {
    WriteEngineModes(doc, calc, kept);
    WriteEngineValues(doc, calc, decimalSep, kept);
}

template <typename Calc>
void WriteEngineKeys(TIniDocument& doc, const Calc& calc, std::string_view decimalSep) {
    TKeptTexts none;
    WriteEngineKeys(doc, calc, decimalSep, none);
}

} // namespace pellix

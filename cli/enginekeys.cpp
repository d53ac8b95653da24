#include "enginekeys.h"

namespace pellix {

namespace {

constexpr std::string_view ModeKey = "Zun.Mode";
constexpr std::string_view TrigModeKey = "Zun.TrigMode";
constexpr std::string_view FixLenKey = "Zun.FixLen";
constexpr std::string_view LastXKey = "Zun.LastX";

std::string IndexedKey(std::string_view name, std::size_t index) {
    std::string key(name);
    key += '[';
    key += std::to_string(index);
    key += ']';
    return key;
}

} // namespace

std::string StackKey(std::size_t index) {
    return IndexedKey("Zun.Stack", index);
}
std::string RegKey(std::size_t index) {
    return IndexedKey("Zun.Reg", index);
}

void ReadEngineKeys(const TIniDocument& doc, TZunCalc& calc, std::string_view decimalSep) {
    const auto s = SettingsSection;
    calc.Mode = static_cast<TZunMode>(doc.ReadLowByte(s, ModeKey, calc.Mode));
    calc.TrigMode = static_cast<TZunTrigMode>(doc.ReadLowByte(s, TrigModeKey, calc.TrigMode));
    calc.FixLen = doc.ReadInteger(s, FixLenKey, calc.FixLen);
    calc.LastX = doc.ReadFloat(s, LastXKey, calc.LastX, decimalSep);
    for (std::size_t i = 0; i < calc.Stack.size(); ++i)
        calc.Stack[i] = doc.ReadFloat(s, StackKey(i), calc.Stack[i], decimalSep);
    for (std::size_t i = 0; i < calc.Reg.size(); ++i)
        calc.Reg[i] = doc.ReadFloat(s, RegKey(i), calc.Reg[i], decimalSep);
}

void WriteEngineKeys(TIniDocument& doc, const TZunCalc& calc, std::string_view decimalSep) {
    const auto s = SettingsSection;
    doc.WriteInteger(s, ModeKey, calc.Mode);
    doc.WriteInteger(s, TrigModeKey, calc.TrigMode);
    doc.WriteInteger(s, FixLenKey, calc.FixLen);
    doc.WriteFloat(s, LastXKey, calc.LastX, decimalSep);
    for (std::size_t i = 0; i < calc.Stack.size(); ++i)
        doc.WriteFloat(s, StackKey(i), calc.Stack[i], decimalSep);
    for (std::size_t i = 0; i < calc.Reg.size(); ++i)
        doc.WriteFloat(s, RegKey(i), calc.Reg[i], decimalSep);
}

} // namespace pellix

#include "kepttexts.h"

#include "ininotation.h"

#include <algorithm>
#include <bit>

namespace pellix {

namespace {

bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) {
            return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        };
        return lower(x) == lower(y);
    });
}

} // namespace

double TKeptTexts::ReadFloat(const TIniDocument& doc, std::string_view section,
                             std::string_view key, double def, std::string_view decimalSep) {
    return Read(doc, section, key, def,
                [decimalSep](std::string_view text) { return IniFloatOf(text, decimalSep); });
}

std::uint8_t TKeptTexts::ReadOrdinal(const TIniDocument& doc, std::string_view section,
                                     std::string_view key, std::uint8_t def, std::uint8_t highest) {
    return Read(doc, section, key, def, [highest](std::string_view text) {
        std::optional<std::uint8_t> ordinal;
        if (const auto v = IniIntegerOf(text)) {
            const auto low = static_cast<std::uint8_t>(*v & 0xFF);
            if (low <= highest)
                ordinal = low;
        }
        return ordinal;
    });
}

void TKeptTexts::WriteInteger(TIniDocument& doc, std::string_view section, std::string_view key,
                              std::int32_t value) {
    if (!Keeps(key, value))
        doc.WriteInteger(section, key, value);
}

void TKeptTexts::WriteFloat(TIniDocument& doc, std::string_view section, std::string_view key,
                            double value, std::string_view decimalSep) {
    if (!Keeps(key, value))
        doc.WriteFloat(section, key, value, decimalSep);
}

bool TKeptTexts::Keeps(std::string_view key, double value) {
    const auto it = std::find_if(FKeys.begin(), FKeys.end(),
                                 [key](const TKept& k) { return SameName(k.Key, key); });
    if (it == FKeys.end())
        return false;
    // Bit for bit, so that -0 for 0 counts as a new value.
    if (std::bit_cast<std::uint64_t>(it->Taken) == std::bit_cast<std::uint64_t>(value))
        return true;
    FKeys.erase(it);
    return false;
}

void TKeptTexts::Forget(std::string_view key) {
    std::erase_if(FKeys, [key](const TKept& k) { return SameName(k.Key, key); });
}

void TKeptTexts::Note(std::string_view key, double taken) {
    if (std::none_of(FKeys.begin(), FKeys.end(),
                     [key](const TKept& k) { return SameName(k.Key, key); }))
        FKeys.push_back({std::string(key), taken});
}

} // namespace pellix

#pragma once

#include "inidocument.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pellix {

// Stored texts that did not read when the settings were loaded. The program
// runs with a default in their place, but the text stays in the file until
// the program's value of that key differs from the default it took: then the
// user gave the key a value of their own. Keys are of one section.
class TKeptTexts {
public:
    // The value of key parsed by parse (text -> std::optional<T>), or def when
    // the key is missing or empty. A present text that parse refuses is noted
    // together with def.
    template <typename T, typename Parse>
    T Read(const TIniDocument& doc, std::string_view section, std::string_view key, T def,
           Parse parse) {
        const auto text = doc.ReadString(section, key);
        if (!text || text->empty())
            return def;
        if (const std::optional<T> v = parse(*text))
            return *v;
        Note(key, static_cast<double>(def));
        return def;
    }

    double ReadFloat(const TIniDocument& doc, std::string_view section, std::string_view key,
                     double def, std::string_view decimalSep);
    // An integer of which only the low 8 bits count, accepted up to highest.
    std::uint8_t ReadOrdinal(const TIniDocument& doc, std::string_view section,
                             std::string_view key, std::uint8_t def, std::uint8_t highest);

    // Writers of TIniDocument that leave a kept text alone while value is
    // still the default taken in its place; a key given another value is
    // written and forgotten.
    void WriteInteger(TIniDocument& doc, std::string_view section, std::string_view key,
                      std::int32_t value);
    void WriteFloat(TIniDocument& doc, std::string_view section, std::string_view key, double value,
                    std::string_view decimalSep);

    // Whether the stored text of key stays at a store of value (see above).
    bool Keeps(std::string_view key, double value);

    // Ends the keeping of key's text: the user gave it a value of their own.
    void Forget(std::string_view key);

    bool Empty() const { return FKeys.empty(); }
    void Clear() { FKeys.clear(); }

private:
    struct TKept {
        std::string Key;
        double Taken = 0;
    };
    void Note(std::string_view key, double taken);

    std::vector<TKept> FKeys;
};

} // namespace pellix

#include "settingsschema.h"

#include "ini/ininotation.h"

#include <array>
#include <limits>
#include <type_traits>

namespace pellix {

namespace {

using enum TSettingsNotation;

template <typename Owner, typename T>
Owner OwnerOf(T Owner::*);

template <auto Member>
inline constexpr bool OfWindow = std::is_same_v<decltype(OwnerOf(Member)), TWindowSettings>;

template <auto Member>
auto& FieldOf(const TStoredState& state) {
    if constexpr (OfWindow<Member>)
        return state.Window->*Member;
    else
        return state.Zun.*Member;
}

template <auto Member>
auto& ValueOf(const TStoredState& state, std::size_t index) {
    auto& field = FieldOf<Member>(state);
    if constexpr (requires { field[index]; })
        return field[index];
    else
        return field;
}

template <auto Member>
double Get(const TStoredState& state, std::size_t index) {
    return static_cast<double>(ValueOf<Member>(state, index));
}

// Values come from the notation's reader, so they fit their field; a switch
// is on for every value but 0.
template <auto Member>
void Set(const TStoredState& state, std::size_t index, double value) {
    auto& field = ValueOf<Member>(state, index);
    using T = std::remove_reference_t<decltype(field)>;
    if constexpr (std::is_enum_v<T>)
        field = static_cast<T>(static_cast<std::underlying_type_t<T>>(value));
    else
        field = static_cast<T>(value);
}

template <auto Member>
constexpr TSettingsKey Key(std::string_view name, TSettingsNotation notation,
                           std::int32_t lowest = std::numeric_limits<std::int32_t>::min(),
                           std::int32_t highest = std::numeric_limits<std::int32_t>::max()) {
    using T = std::remove_reference_t<decltype(FieldOf<Member>(std::declval<TStoredState&>()))>;
    constexpr bool indexed = !std::is_scalar_v<T>;
    std::size_t count = 1;
    if constexpr (indexed)
        count = std::tuple_size_v<T>;
    return {.OfWindow = OfWindow<Member>,
            .Section = SettingsSection,
            .Name = name,
            .Count = count,
            .Indexed = indexed,
            .Notation = notation,
            .Lowest = lowest,
            .Highest = highest,
            .Get = &Get<Member>,
            .Set = &Set<Member>};
}

bool RegisterStored(const TStoredState& state, std::size_t index) {
    return state.Zun.RegStored[index];
}

// A row whose keys the user stores into one by one.
constexpr TSettingsKey UserStored(TSettingsKey row,
                                  bool (*stored)(const TStoredState&, std::size_t)) {
    row.UserStored = stored;
    return row;
}

constexpr auto Schema = std::to_array<TSettingsKey>({
    Key<&TWindowSettings::Left>("Left", Integer),
    Key<&TWindowSettings::Top>("Top", Integer),
    Key<&TZunCalc::Mode>("Zun.Mode", Ordinal, 0, 2),         // FIX, SCI, ENG
    Key<&TZunCalc::TrigMode>("Zun.TrigMode", Ordinal, 0, 2), // degrees, radians, grads
    Key<&TZunCalc::FixLen>("Zun.FixLen", Integer, 0, 9),
    Key<&TWindowSettings::Sound>("Sound", Ordinal, 0, 255), // on unless the low 8 bits are 0
    Key<&TZunCalc::LastX>("Zun.LastX", Float),
    Key<&TZunCalc::Stack>("Zun.Stack", Float),
    UserStored(Key<&TZunCalc::Reg>("Zun.Reg", Float), &RegisterStored),
    Key<&TWindowSettings::LastShowAbout>("lastShowAbout", Float),
    Key<&TWindowSettings::StayOnTop>("StayOnTop", Integer), // on unless 0
    Key<&TWindowSettings::TotalScale>("TotalScale", Float),
});

// Calls visit(row, index, key name) for each key the state holds, in the schema's order.
template <typename Visit>
void ForEachKey(const TStoredState& state, Visit visit) {
    for (const TSettingsKey& row : Schema) {
        if (row.OfWindow && state.Window == nullptr)
            continue;
        for (std::size_t i = 0; i < row.Count; ++i)
            visit(row, i, SettingsKeyName(row, i));
    }
}

} // namespace

std::span<const TSettingsKey> SettingsSchema() {
    return Schema;
}

std::string SettingsKeyName(const TSettingsKey& row, std::size_t index) {
    std::string name(row.Name);
    if (row.Indexed) {
        name += '[';
        name += std::to_string(index);
        name += ']';
    }
    return name;
}

void ReadSettings(const TIniDocument& doc, const TStoredState& state, std::string_view decimalSep,
                  TKeptTexts& kept) {
    ForEachKey(state, [&](const TSettingsKey& row, std::size_t i, const std::string& key) {
        const double current = row.Get(state, i);
        double value = current;
        switch (row.Notation) {
        case Integer:
            value = kept.Read(doc, row.Section, key, static_cast<std::int32_t>(current),
                              [&row](std::string_view text) {
                                  auto v = IniIntegerOf(text);
                                  if (v && (*v < row.Lowest || *v > row.Highest))
                                      v.reset();
                                  return v;
                              });
            break;
        case Ordinal:
            value = kept.ReadOrdinal(doc, row.Section, key, static_cast<std::uint8_t>(current),
                                     static_cast<std::uint8_t>(row.Highest));
            break;
        case Float:
            value = kept.ReadFloat(doc, row.Section, key, current, decimalSep);
            break;
        }
        row.Set(state, i, value);
    });
    state.Zun.RegStored = {};
}

void WriteSettings(TIniDocument& doc, const TStoredState& state, std::string_view decimalSep,
                   TKeptTexts& kept) {
    ForEachKey(state, [&](const TSettingsKey& row, std::size_t i, const std::string& key) {
        const double value = row.Get(state, i);
        if (row.UserStored && row.UserStored(state, i))
            kept.Forget(key);
        if (row.Notation == Float)
            kept.WriteFloat(doc, row.Section, key, value, decimalSep);
        else
            kept.WriteInteger(doc, row.Section, key, static_cast<std::int32_t>(value));
    });
}

} // namespace pellix

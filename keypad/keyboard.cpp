#include "keyboard.h"

namespace pellix {

namespace {

constexpr std::size_t TableSize = 0x7B; // values above 0x7A select nothing

// Index into FaceKeys for every value below TableSize, -1 for none.
constexpr std::array<std::int8_t, TableSize> BuildIndex() {
    std::array<std::int8_t, TableSize> index{};
    index.fill(-1);
    for (const KeyboardEntry& e : KeyboardTable) {
        const int i = IndexOfControl(e.Control);
        if (i < 0 || e.Value >= TableSize) {
            throw "keyboard table names an unknown hot spot"; // fails constant evaluation
        }
        index[e.Value] = static_cast<std::int8_t>(i);
    }
    return index;
}

constexpr std::array<std::int8_t, TableSize> KeyboardIndex = BuildIndex();

} // namespace

const FaceKey* KeyToSender(std::uint16_t value) {
    if (value >= TableSize) {
        return nullptr;
    }
    const int i = KeyboardIndex[value];
    return i < 0 ? nullptr : &FaceKeys[static_cast<std::size_t>(i)];
}

} // namespace pellix

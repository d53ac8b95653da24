#pragma once

// The settings file's schema: every key the program stores, in the order of a
// stored file, with its section, its notation and the value it stands for.
// The window and pellix-keys read and write the file through it; pellix-keys,
// which has no window, reads and writes only the engine's keys.

#include "engine/zuncalc.h"
#include "ini/inidocument.h"
#include "ini/kepttexts.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace pellix {

inline constexpr std::string_view SettingsSection = "ZunMain";

// The window's part of the file, as plain values. The window applies them
// after a load and hands in its current ones at a store.
struct TWindowSettings {
    std::int32_t Left = 0; // the window's position in screen pixels, any int
    std::int32_t Top = 0;
    bool Sound = true;         // the key click
    double LastShowAbout = -1; // the most recent start, -1 when none was recorded
    bool StayOnTop = true;     // the window band
    double TotalScale = 1.0;   // the zoom, any double; the window mends it
};

// What a load reads into and a store writes from. Without a window only the
// engine's keys are read and written; other keys of the file stay as they are.
struct TStoredState {
    TZunCalc& Zun;
    TWindowSettings* Window = nullptr;
};

enum class TSettingsNotation : std::uint8_t {
    Integer, // a 32-bit integer, read only from Lowest to Highest
    Ordinal, // an integer of which only the low 8 bits count, read only up to Highest
    Float,   // in the notation of the decimal separator (see ininotation.h)
};

// One row of the schema: a key, or Count keys "Name[0]" to "Name[Count-1]"
// for an array. A key's default is the value it stands for before the load:
// a missing key, or one whose text does not read, leaves that value.
struct TSettingsKey {
    bool OfWindow;
    std::string_view Section;
    std::string_view Name;
    std::size_t Count;
    bool Indexed;
    TSettingsNotation Notation;
    std::int32_t Lowest;
    std::int32_t Highest;
    double (*Get)(const TStoredState& state, std::size_t index);
    void (*Set)(const TStoredState& state, std::size_t index, double value);
    // Whether the user stored into the key since the read (nullptr: no such
    // store); ends a kept text even where the value equals its default.
    bool (*UserStored)(const TStoredState& state, std::size_t index) = nullptr;
};

// The rows in the order of a stored file.
std::span<const TSettingsKey> SettingsSchema();

// The name of a row's key at index: the index in decimal without leading zeros.
std::string SettingsKeyName(const TSettingsKey& row, std::size_t index);

// Reads every key of the state from doc; texts that do not read are noted in
// kept. The user's stores start afresh.
void ReadSettings(const TIniDocument& doc, const TStoredState& state, std::string_view decimalSep,
                  TKeptTexts& kept);

// Writes every key of the state into doc in the schema's order, leaving the
// texts kept from the load alone (see TKeptTexts). A key already in the file
// is replaced where it stands, a new one appended to its section: a fresh
// file holds the keys in the schema's order.
void WriteSettings(TIniDocument& doc, const TStoredState& state, std::string_view decimalSep,
                   TKeptTexts& kept);

} // namespace pellix

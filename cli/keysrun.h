#pragma once

// pellix-keys: the calculator without a window. Presses keys given on the
// command line and prints the display text.

#include "engine/separators.h"
#include "keypad/entry.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace pellix {

// KeysFailed: the --ini file could not be read or written, or the output not.
enum KeysExit : int { KeysOk = 0, KeysFailed = 1, KeysUsageError = 2 };

// One token of the command line.
struct TKeysToken {
    enum class TKind : std::uint8_t { Press, Prefix, Type };
    TKind Kind = TKind::Press;
    int Code = 0;                             // Press: key code
    PrefixSender Sender = PrefixSender::FKey; // Prefix
    std::u16string Text;                      // Type: UTF-16 units to type
    std::string Source;                       // the token as given
};

struct TKeysOptions {
    std::optional<std::string> Decimal; // --decimal=C
    std::optional<std::string> Group;   // --group=S ("" for none)
    std::optional<std::string> Ini;     // --ini=FILE
    bool Trace = false;
    bool State = false;
    bool Help = false;
    std::vector<TKeysToken> Tokens;
};

// Parses the arguments after the program name. Arguments beginning with "--",
// and "-h", are options wherever they stand; all others are tokens. Returns
// the message for an unknown or malformed option or token.
std::variant<TKeysOptions, std::string> ParseKeysArguments(std::span<const std::string> args);

// The help text (usage, tokens, exit codes).
std::string KeysUsage();

// Runs pellix-keys and returns its exit code. environment supplies the
// default separators (the C library's locale in the real program) and is only
// called when an option leaves a separator open. Without a seed the random
// generator starts from the clock, as in the program.
int RunPellixKeys(std::span<const std::string> args, std::ostream& out, std::ostream& err,
                  const std::function<Separators()>& environment,
                  std::optional<std::uint32_t> seed = std::nullopt);

} // namespace pellix

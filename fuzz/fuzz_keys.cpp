// Random key presses and typed characters through the entry machine, with the
// fault handler's rule around each, as the window and the command line do.

#include "keypad/entry.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pellix::TZunCalc z(7);
    pellix::TZunEntry entry(z);
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        const int op = data[i] % 8;
        const std::uint8_t arg = data[i + 1];
        if (op < 5) {
            // Mostly real key codes, sometimes anything.
            const int code = op == 0 ? static_cast<int>(arg) * 257 - 1000 : (arg % 23) + 99;
            entry.Press(op == 1 ? arg % 10 : code == -1 ? 0 : code);
        } else if (op == 5) {
            entry.TypeChar(static_cast<char16_t>(arg));
        } else if (op == 6) {
            entry.lbFClick(arg & 1 ? pellix::PrefixSender::GKey : pellix::PrefixSender::FKey);
        } else {
            z.FixLen = arg % 12 - 1;
        }
        const int prompts = entry.IsFracInput() + entry.IsSTOInput() + entry.IsRCLInput();
        if (prompts > 1 || (entry.IsFPrefix() && entry.IsGPrefix())) {
            std::abort();
        }
    }
    return 0;
}

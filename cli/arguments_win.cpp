#include "arguments.h"

// windows.h first: the other Windows headers build on it.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <utility>

namespace pellix {

std::vector<std::string> ConsoleArguments(int argc, char** argv) {
    (void)argc;
    (void)argv;
    std::vector<std::string> args;
    int count = 0;
    if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i) {
            const int n =
                WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
            std::string utf8(static_cast<size_t>(n > 0 ? n - 1 : 0), '\0');
            if (n > 1) {
                WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, utf8.data(), n, nullptr, nullptr);
            }
            args.push_back(std::move(utf8));
        }
        LocalFree(wide);
    }
    // Lines end in LF and the UTF-8 bytes pass unchanged, as on every platform.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    return args;
}

} // namespace pellix

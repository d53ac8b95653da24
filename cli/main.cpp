#include "keysrun.h"
#include "systemseparators.h"

#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
// windows.h first: the other Windows headers build on it.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#endif

namespace {

// The arguments as UTF-8. Windows hands main() its arguments in the ANSI code
// page, which cannot hold every separator or typed text: there they are taken
// from the wide command line instead.
std::vector<std::string> Arguments(int argc, char** argv) {
#ifdef _WIN32
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
#else
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
#endif
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args = Arguments(argc, argv);
    try {
        return pellix::RunPellixKeys(args, std::cout, std::cerr,
                                     [] { return pellix::SystemSeparators(); });
    } catch (const std::exception& e) {
        std::cerr << "pellix-keys: " << e.what() << '\n';
        return 1;
    }
}

#include "arguments.h"
#include "engine/systemseparators.h"
#include "keysrun.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> args = pellix::ConsoleArguments(argc, argv);
    try {
        return pellix::RunPellixKeys(args, std::cout, std::cerr,
                                     [] { return pellix::SystemSeparators(); });
    } catch (const std::exception& e) {
        std::cerr << "pellix-keys: " << e.what() << '\n';
        return 1;
    }
}

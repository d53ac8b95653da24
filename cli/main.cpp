#include "keysrun.h"
#include "localeseparators.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    try {
        return pellix::RunPellixKeys(args, std::cout, std::cerr, pellix::SeparatorsFromEnvironment);
    } catch (const std::exception& e) {
        std::cerr << "pellix-keys: " << e.what() << '\n';
        return 1;
    }
}

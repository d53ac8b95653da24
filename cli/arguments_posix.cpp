#include "arguments.h"

namespace pellix {

std::vector<std::string> ConsoleArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

} // namespace pellix

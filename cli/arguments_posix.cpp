#include "arguments.h"

#include <csignal>

namespace pellix {

std::vector<std::string> ConsoleArguments(int argc, char** argv) {
    // A closed output pipe fails the write (reported, exit 1) instead of
    // killing the run before it stores.
    std::signal(SIGPIPE, SIG_IGN);
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

} // namespace pellix

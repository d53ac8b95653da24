// Runs pellix-keys once per line of a file, in one process: a line holds the
// arguments of one run, separated by blanks. Writes "#N exit E", then what the
// run printed, for every line. Starting a Windows program under Wine costs a
// large part of a second, so the differential check of the Linux and Windows
// builds runs thousands of key sequences through this instead of the program.
// With a SEED, the random generator of line N starts from SEED + N, so that
// random numbers come out the same on every run and platform; without, from
// the clock, as in the program.
//
//   keys_batch SEQUENCES OUTPUT [SEED]

#include "cli/keysrun.h"

#include <cstdint>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::cerr << "usage: keys_batch SEQUENCES OUTPUT [SEED]\n";
        return 2;
    }
    const std::optional<std::uint32_t> seed =
        argc == 4 ? std::optional(static_cast<std::uint32_t>(std::stoul(argv[3]))) : std::nullopt;
    std::ifstream in(argv[1], std::ios::binary);
    std::ofstream out(argv[2], std::ios::binary); // the same bytes on every platform
    if (!in || !out) {
        std::cerr << "keys_batch: cannot open " << (in ? argv[2] : argv[1]) << '\n';
        return 1;
    }
    const auto noLocale = [] { return pellix::Separators{}; };
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
        std::istringstream words(line);
        std::vector<std::string> args;
        for (std::string w; words >> w;) {
            args.push_back(w);
        }
        std::ostringstream run;
        const auto lineSeed = seed ? std::optional(*seed + static_cast<std::uint32_t>(n)) : seed;
        const int exit = pellix::RunPellixKeys(args, run, run, noLocale, lineSeed);
        out << '#' << n << " exit " << exit << '\n' << run.str();
    }
    return out ? 0 : 1;
}

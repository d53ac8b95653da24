#pragma once

// Whether long double arithmetic really runs with the x87 64-bit significand.
// Some CPU emulators (valgrind among them) compute it like double; the tests
// whose values only the extended format holds are skipped there.
inline bool HasExtendedPrecision() {
    volatile long double one = 1.0L;
    volatile long double tiny = 1.0L / 1152921504606846976.0L; // 2^-60
    return one + tiny != one;
}

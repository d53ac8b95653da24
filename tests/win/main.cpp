// The test program runs like the calculator's GUI thread: COM initialised as a
// single-threaded apartment for the whole run.

#include "shell/win/winshortcut.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const pellix::win::TComApartment com;
    return RUN_ALL_TESTS();
}

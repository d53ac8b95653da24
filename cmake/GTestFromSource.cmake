# GoogleTest and GoogleMock built from a source folder for the target being
# built (Debian's googletest package puts one in /usr/src/googletest): the cross
# build for Windows has no installed GoogleTest of its own. Gives the same
# targets as find_package(GTest): GTest::gtest, GTest::gtest_main, GTest::gmock.

if(NOT EXISTS ${PELLIX_GTEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "PELLIX_GTEST_SOURCE=${PELLIX_GTEST_SOURCE} holds no GoogleTest sources "
                        "(on Debian: apt-get install googletest)")
endif()

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)

# GoogleTest is built with its own warning flags, not with the project's
# (-Werror and -Wconversion are ours to keep); SYSTEM keeps its headers out of
# the warnings of the code that includes them.
get_directory_property(pellix_saved_options COMPILE_OPTIONS)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "")
add_subdirectory(${PELLIX_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "${pellix_saved_options}")
unset(pellix_saved_options)

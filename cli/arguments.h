#pragma once

// How the console hands pellix-keys its arguments and takes its output.

#include <string>
#include <vector>

namespace pellix {

// The arguments after the program's name, as UTF-8, with the standard output
// and error made ready for UTF-8 lines that end in LF. Windows hands main() its
// arguments in the ANSI code page, which cannot hold every separator or typed
// text: there they are taken from the wide command line instead, and both
// streams are switched to binary mode so that no CR is added. Elsewhere the
// arguments are main()'s own and the streams stay as they are, with SIGPIPE
// ignored so that a closed output is a failed write.
std::vector<std::string> ConsoleArguments(int argc, char** argv);

} // namespace pellix

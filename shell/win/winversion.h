#pragma once

// The version resource of an executable.

#include <string>
#include <string_view>

namespace pellix::win {

// The running program's full path.
std::wstring ModuleFileName();

// The value "ProductVersion" of the string table of the file's version
// resource, in the first language its translation list names; empty when the
// file has no version resource or no such value.
std::wstring ProductVersionOf(std::wstring_view file);

} // namespace pellix::win

#pragma once

// Text conversions and system error texts for the Win32 routines.

#include <string>
#include <string_view>

namespace pellix::win {

// UTF-8 to UTF-16 and back; malformed input becomes U+FFFD.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// The system's message text for an HRESULT or Win32 error code, without the
// line break and full stop that end it; "Error 0x8XXXXXXX" when the system has
// no text for the code.
std::wstring SystemErrorText(long code);

} // namespace pellix::win

#include "shell/win/wintext.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace pellix::win {
namespace {

TEST(WinText, Utf8AndUtf16RoundTripEveryPlane) {
    const std::string utf8 = "Pellix \xC3\xA4\xE2\x80\xAF\xF0\x9F\x98\x80";
    const std::wstring utf16 = L"Pellix \u00E4\u202F\U0001F600";
    EXPECT_EQ(Widen(utf8), utf16);
    EXPECT_EQ(Narrow(utf16), utf8);
    EXPECT_EQ(Widen(""), L"");
    EXPECT_EQ(Narrow(L""), "");
}

TEST(WinText, MalformedUtf8BecomesReplacementCharacter) {
    EXPECT_EQ(Widen("a\xFF"
                    "b"),
              L"a\uFFFDb");
}

TEST(WinText, SystemErrorTextHasNoLineBreakOrFullStop) {
    // Wine's message table lacks some COM texts; those fall back to the code.
    for (const long code :
         {static_cast<long>(E_NOINTERFACE), static_cast<long>(REGDB_E_CLASSNOTREG),
          static_cast<long>(ERROR_FILE_NOT_FOUND)}) {
        const std::wstring text = SystemErrorText(code);
        ASSERT_FALSE(text.empty()) << code;
        EXPECT_NE(text.back(), L'.') << Narrow(text);
        EXPECT_EQ(text.find_first_of(L"\r\n"), std::wstring::npos) << Narrow(text);
    }
}

TEST(WinText, SystemErrorTextIsTheSystemsOwn) {
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, ERROR_FILE_NOT_FOUND, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    ASSERT_GT(n, 0u);
    const std::wstring full(buffer, n);
    LocalFree(buffer);
    const std::wstring text = SystemErrorText(ERROR_FILE_NOT_FOUND);
    EXPECT_NE(text.rfind(L"Error 0x", 0), 0u);
    EXPECT_EQ(full.rfind(text, 0), 0u) << Narrow(full); // the same text, without its ending
}

TEST(WinText, CodeWithoutSystemTextIsShownInHex) {
    EXPECT_EQ(SystemErrorText(static_cast<long>(0xA1B2C3D4)), L"Error 0xA1B2C3D4");
}

} // namespace
} // namespace pellix::win

// The window band and the settings-change message, on real (hidden-driver)
// windows of this process.

#include "shell/win/winwindow.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>

namespace pellix::win {
namespace {

int SettingChangesSeen = 0;
int OtherMessagesSeen = 0;
std::uintptr_t Watched = 0;

// Hands every message to the test's predicate as the program's event filter
// does.
LRESULT CALLBACK WatchingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg{};
    msg.hwnd = hwnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    if (IsSettingChangeFor(&msg, Watched))
        ++SettingChangesSeen;
    else if (message == WM_SETTINGCHANGE)
        ++OtherMessagesSeen;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// A borderless top-level window of its own class.
class TTestWindow {
public:
    TTestWindow(int x, int y, int w, int h, bool visible = true) {
        static const ATOM cls = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = WatchingProc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"PellixTestWindow";
            return RegisterClassW(&wc);
        }();
        FHandle = CreateWindowExW(0, reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(cls)),
                                  L"Pellix test", WS_POPUP | (visible ? WS_VISIBLE : 0), x, y, w, h,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~TTestWindow() {
        if (FHandle != nullptr)
            DestroyWindow(FHandle);
    }
    TTestWindow(const TTestWindow&) = delete;
    TTestWindow& operator=(const TTestWindow&) = delete;

    HWND Handle() const { return FHandle; }
    std::uintptr_t Id() const { return reinterpret_cast<std::uintptr_t>(FHandle); }
    RECT Rect() const {
        RECT r{};
        GetWindowRect(FHandle, &r);
        return r;
    }

private:
    HWND FHandle = nullptr;
};

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(WinWindowBand, TopmostAndBackWithoutMovingOrResizing) {
    const TTestWindow window(40, 30, 639, 402);
    ASSERT_NE(window.Handle(), nullptr);
    const RECT before = window.Rect();
    ASSERT_FALSE(IsInTopmostBand(window.Id()));

    EXPECT_TRUE(PutWindowInBand(window.Id(), true));
    EXPECT_TRUE(IsInTopmostBand(window.Id()));
    EXPECT_TRUE(SameRect(window.Rect(), before));

    EXPECT_TRUE(PutWindowInBand(window.Id(), true)); // re-asserting changes nothing
    EXPECT_TRUE(IsInTopmostBand(window.Id()));

    EXPECT_TRUE(PutWindowInBand(window.Id(), false));
    EXPECT_FALSE(IsInTopmostBand(window.Id()));
    EXPECT_TRUE(SameRect(window.Rect(), before));
}

TEST(WinWindowBand, DoesNotActivateTheWindow) {
    const TTestWindow other(0, 0, 100, 100);
    const TTestWindow window(200, 0, 100, 100);
    ASSERT_NE(other.Handle(), nullptr);
    ASSERT_NE(window.Handle(), nullptr);
    SetActiveWindow(other.Handle());
    ASSERT_EQ(GetActiveWindow(), other.Handle());
    PutWindowInBand(window.Id(), true);
    EXPECT_EQ(GetActiveWindow(), other.Handle());
    PutWindowInBand(window.Id(), false);
    EXPECT_EQ(GetActiveWindow(), other.Handle());
}

TEST(WinWindowBand, HiddenWindowStaysHidden) {
    const TTestWindow window(0, 0, 100, 100, false);
    ASSERT_NE(window.Handle(), nullptr);
    PutWindowInBand(window.Id(), true);
    EXPECT_TRUE(IsInTopmostBand(window.Id()));
    EXPECT_FALSE(IsWindowVisible(window.Handle()));
}

TEST(WinSettingChange, BroadcastReachesTheWindowOnce) {
    const TTestWindow window(0, 0, 100, 100);
    ASSERT_NE(window.Handle(), nullptr);
    Watched = window.Id();
    SettingChangesSeen = 0;
    DWORD_PTR result = 0;
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"intl"),
                        SMTO_ABORTIFHUNG, 5000, &result);
    EXPECT_EQ(SettingChangesSeen, 1);
    Watched = 0;
}

TEST(WinSettingChange, OnlyThatMessageForThatWindowCounts) {
    const TTestWindow window(0, 0, 100, 100);
    const TTestWindow other(0, 0, 100, 100);
    MSG msg{};
    msg.hwnd = window.Handle();
    msg.message = WM_SETTINGCHANGE;
    EXPECT_TRUE(IsSettingChangeFor(&msg, window.Id()));
    EXPECT_FALSE(IsSettingChangeFor(&msg, other.Id()));
    EXPECT_FALSE(IsSettingChangeFor(&msg, 0));
    EXPECT_FALSE(IsSettingChangeFor(nullptr, window.Id()));
    msg.message = WM_TIMECHANGE;
    EXPECT_FALSE(IsSettingChangeFor(&msg, window.Id()));
    msg.message = WM_DISPLAYCHANGE;
    EXPECT_FALSE(IsSettingChangeFor(&msg, window.Id()));
}

} // namespace
} // namespace pellix::win

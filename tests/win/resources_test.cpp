// The program's Windows resources (resources/windows/pellix.rc), which this
// test program carries as the calculator does: the click as WAVE 1, the icon
// and the version resource.

#include "shell/win/winsound.h"
#include "shell/win/wintext.h"
#include "shell/win/winversion.h"
#include "tests/common/tempfolder.h"

#include <windows.h>

#include <mmsystem.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>

namespace pellix::win {
namespace {

using pellix::testing::ReadBytes;
using Clock = std::chrono::steady_clock;

std::uint32_t LittleEndian32(std::string_view bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return v;
}

TEST(WinResources, WaveOneIsTheCommittedClick) {
    const std::string_view click = ClickResource();
    ASSERT_EQ(click.size(), 2796u);
    EXPECT_EQ(click.substr(0, 4), "RIFF");
    EXPECT_EQ(LittleEndian32(click, 4), 2788u);
    EXPECT_EQ(click.substr(8, 4), "WAVE");
    EXPECT_EQ(LittleEndian32(click, 24), 11025u); // sample rate
    EXPECT_EQ(std::string(click), ReadBytes(PELLIX_CLICK_WAV));
}

// How long one call takes, in milliseconds.
template <typename F>
long long Milliseconds(F f) {
    const auto start = Clock::now();
    f();
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

TEST(WinResources, ClickPlaysSynchronouslyFromTheResource) {
    bool played = false;
    const long long ms = Milliseconds([&] { played = PlayClickResource(); });
    EXPECT_LT(ms, 3000); // it returns, whatever the device
    if (waveOutGetNumDevs() == 0) {
        EXPECT_FALSE(played) << "played without an output device";
        return;
    }
    EXPECT_TRUE(played);
    // Synchronous: the call returns when the device has played the click. An
    // asynchronous play returns within a millisecond; a loudspeaker takes the
    // click's 125 ms, the null output of the test run about 45 ms.
    EXPECT_GE(ms, 20);
}

TEST(WinResources, ResourceOneIsFoundWithoutTheDefaultSound) {
    if (waveOutGetNumDevs() == 0)
        GTEST_SKIP() << "no audio output device: PlaySoundW fails whatever it finds";
    const HMODULE module = GetModuleHandleW(nullptr);
    EXPECT_TRUE(PlaySoundW(MAKEINTRESOURCEW(1), module, SND_RESOURCE | SND_NODEFAULT));
    EXPECT_FALSE(PlaySoundW(MAKEINTRESOURCEW(2), module, SND_RESOURCE | SND_NODEFAULT));
}

TEST(WinResources, AuxiliaryDeviceCountIsAnswered) {
    EXPECT_EQ(AuxiliaryDeviceCount(), auxGetNumDevs());
    EXPECT_LT(AuxiliaryDeviceCount(), 1000u);
}

TEST(WinResources, ProgramIconIsTheFirstIconWithEverySize) {
    const HMODULE module = GetModuleHandleW(nullptr);
    EXPECT_EQ(ExtractIconExW(ModuleFileName().c_str(), -1, nullptr, nullptr, 0), 1u);
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        HRSRC group = FindResourceW(module, L"IDI_PELLIX", MAKEINTRESOURCEW(14)); // RT_GROUP_ICON
        ASSERT_NE(group, nullptr);
        auto* directory = static_cast<BYTE*>(LockResource(LoadResource(module, group)));
        ASSERT_NE(directory, nullptr);
        const int id = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
        HRSRC image = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(3)); // RT_ICON
        ASSERT_NE(image, nullptr) << size;
        const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, image)));
        const DWORD length = SizeofResource(module, image);
        // Each size is stored as itself: a PNG of that width, or a bitmap
        // header of that width and twice its height (image and mask).
        ASSERT_GE(length, 24u);
        if (std::memcmp(bytes, "\x89PNG", 4) == 0) {
            const std::uint32_t width = (bytes[16] << 24) | (bytes[17] << 16) | (bytes[18] << 8) |
                                        static_cast<std::uint32_t>(bytes[19]);
            EXPECT_EQ(width, static_cast<std::uint32_t>(size));
        } else {
            const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(bytes);
            EXPECT_EQ(header->biWidth, size);
            EXPECT_EQ(header->biHeight, 2 * size);
        }
    }
}

TEST(WinResources, ProductVersionIsTheProjectVersion) {
    EXPECT_EQ(ProductVersionOf(ModuleFileName()), L"1.0.32");
    EXPECT_EQ(ProductVersionOf(ModuleFileName()), Widen(PELLIX_VERSION));
}

TEST(WinResources, FixedVersionNumbersMatchTheProjectVersion) {
    const std::wstring self = ModuleFileName();
    DWORD handle = 0;
    std::string data(GetFileVersionInfoSizeW(self.c_str(), &handle), '\0');
    ASSERT_FALSE(data.empty());
    ASSERT_TRUE(GetFileVersionInfoW(self.c_str(), 0, static_cast<DWORD>(data.size()), data.data()));
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", &value, &length));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwProductVersionMS, (1u << 16) | 0u);
    EXPECT_EQ(fixed->dwProductVersionLS, (32u << 16) | 0u);
    EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
    EXPECT_EQ(fixed->dwFileVersionLS, fixed->dwProductVersionLS);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST(WinResources, FileWithoutVersionResourceHasNoProductVersion) {
    const pellix::testing::TTempFolder dir;
    pellix::testing::WriteBytes(dir / "plain.txt", "no resources");
    EXPECT_EQ(ProductVersionOf((dir / "plain.txt").wstring()), L"");
    EXPECT_EQ(ProductVersionOf((dir / "missing.exe").wstring()), L"");
}

} // namespace
} // namespace pellix::win

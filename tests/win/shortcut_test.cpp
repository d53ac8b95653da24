// The desktop shortcut on Windows, made through the shell's shell-link object:
// each test works in a temporary folder, and only the one test of the desktop
// folder itself (CSIDL 0x10) runs where the desktop is a throwaway folder.

#include "shell/win/winshortcut.h"
#include "shell/win/wintext.h"
#include "shell/win/winversion.h"
#include "tests/common/tempfolder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace pellix::win {
namespace {

namespace fs = std::filesystem;
using pellix::testing::FolderEntries;
using pellix::testing::ReadBytes;
using pellix::testing::TTempFolder;
using pellix::testing::WriteBytes;

const std::wstring Name = L"Pellix";
const std::wstring Description = L"Pellix\r\nhttp://www.pellix.example/";

// No such class is registered.
constexpr std::wstring_view MissingClass = L"{5D1A7C3E-93B2-4C11-8F0E-2A6B4C8D9E01}";
// The standard global interface table: a class that exists but is no shell link.
constexpr std::wstring_view OtherClass = L"{00000323-0000-0000-C000-000000000046}";

std::wstring Folder(const TTempFolder& dir) {
    return dir.Path().wstring();
}

fs::path LinkFile(const TTempFolder& dir) {
    return dir / "Pellix.lnk";
}

TEST(WinShortcutNames, FolderPartKeepsTheTrailingSeparator) {
    EXPECT_EQ(FolderPartOf(L"C:\\Program Files\\Pellix\\pellix.exe"),
              L"C:\\Program Files\\Pellix\\");
    EXPECT_EQ(FolderPartOf(L"C:\\pellix.exe"), L"C:\\");
    EXPECT_EQ(FolderPartOf(L"C:/Pellix/pellix.exe"), L"C:/Pellix/");
    EXPECT_EQ(FolderPartOf(L"C:pellix.exe"), L"C:");
    EXPECT_EQ(FolderPartOf(L"\\\\server\\share\\pellix.exe"), L"\\\\server\\share\\");
    EXPECT_EQ(FolderPartOf(L"pellix.exe"), L"");
}

TEST(WinShortcutNames, FileIsFolderBackslashNameAndLnk) {
    EXPECT_EQ(ShortcutFileName(Name, L"C:\\Users\\ann\\Desktop"),
              L"C:\\Users\\ann\\Desktop\\Pellix.lnk");
    EXPECT_EQ(ShortcutFileName(Name, L"D:\\"), L"D:\\Pellix.lnk");
    EXPECT_EQ(ShortcutFileName(Name, L""), L""); // never the current folder or the root
    EXPECT_EQ(ShortcutFileName(L"", L"C:\\Users\\ann\\Desktop"), L"");
    EXPECT_FALSE(ShortcutExists(Name, L""));
}

TEST(WinShortcut, ToggleCreatesLinkToTheTargetWithItsFolderAndDescription) {
    const TTempFolder dir;
    const std::wstring target = ModuleFileName();
    ASSERT_FALSE(ShortcutExists(Name, Folder(dir)));
    ToggleShortcut(target, Name, Description, Folder(dir));
    EXPECT_TRUE(ShortcutExists(Name, Folder(dir)));
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"Pellix.lnk"});

    const auto link = ReadShortcut(LinkFile(dir).wstring());
    ASSERT_TRUE(link);
    EXPECT_EQ(CompareStringOrdinal(link->Target.c_str(), -1, target.c_str(), -1, TRUE), CSTR_EQUAL)
        << Narrow(link->Target) << " / " << Narrow(target);
    EXPECT_EQ(link->WorkingFolder, FolderPartOf(target));
    EXPECT_EQ(link->WorkingFolder.back(), L'\\');
    EXPECT_EQ(link->Description, Description);
    EXPECT_EQ(link->Arguments, L"");    // nothing else is set
    EXPECT_EQ(link->IconLocation, L""); // the target's own icon
}

TEST(WinShortcut, SecondToggleDeletesTheLink) {
    const TTempFolder dir;
    ToggleShortcut(ModuleFileName(), Name, Description, Folder(dir));
    ASSERT_TRUE(ShortcutExists(Name, Folder(dir)));
    ToggleShortcut(ModuleFileName(), Name, Description, Folder(dir));
    EXPECT_FALSE(ShortcutExists(Name, Folder(dir)));
    EXPECT_TRUE(FolderEntries(dir.Path()).empty());
}

TEST(WinShortcut, ForeignLinkOfThatNameIsDeletedThenOursIsMade) {
    const TTempFolder dir;
    const std::wstring elsewhere = L"C:\\windows\\notepad.exe";
    ToggleShortcut(elsewhere, Name, L"not ours", Folder(dir));
    ASSERT_EQ(ReadShortcut(LinkFile(dir).wstring())->Description, L"not ours");

    ToggleShortcut(ModuleFileName(), Name, Description, Folder(dir));
    EXPECT_FALSE(ShortcutExists(Name, Folder(dir)));
    EXPECT_TRUE(FolderEntries(dir.Path()).empty());

    ToggleShortcut(ModuleFileName(), Name, Description, Folder(dir));
    ASSERT_TRUE(ShortcutExists(Name, Folder(dir)));
    EXPECT_EQ(ReadShortcut(LinkFile(dir).wstring())->Description, Description);
}

TEST(WinShortcut, AnyFileOfThatNameCountsAndIsDeleted) {
    const TTempFolder dir;
    WriteBytes(LinkFile(dir), "not a shell link");
    EXPECT_TRUE(ShortcutExists(Name, Folder(dir)));
    ToggleShortcut(ModuleFileName(), Name, Description, Folder(dir));
    EXPECT_TRUE(FolderEntries(dir.Path()).empty());
}

TEST(WinShortcut, FolderOfThatNameIsNoShortcutAndStays) {
    const TTempFolder dir;
    fs::create_directory(LinkFile(dir));
    EXPECT_FALSE(ShortcutExists(Name, Folder(dir)));
    ToggleShortcut(ModuleFileName(), Name, Description, Folder(dir)); // the save fails silently
    EXPECT_TRUE(fs::is_directory(LinkFile(dir)));
    EXPECT_FALSE(ShortcutExists(Name, Folder(dir)));
}

TEST(WinShortcut, MissingFolderIsNotReported) {
    const TTempFolder dir;
    const std::wstring missing = (dir / "no such folder").wstring();
    EXPECT_NO_THROW(ToggleShortcut(ModuleFileName(), Name, Description, missing));
    EXPECT_FALSE(ShortcutExists(Name, missing));
    EXPECT_TRUE(FolderEntries(dir.Path()).empty());
}

TEST(WinShortcutFirstRun, CreatesTheShortcutWhenNoneExists) {
    const TTempFolder dir;
    PlaceShortcutOnFirstRun(ModuleFileName(), Name, Description, Folder(dir));
    ASSERT_TRUE(ShortcutExists(Name, Folder(dir)));
    EXPECT_EQ(ReadShortcut(LinkFile(dir).wstring())->Description, Description);
}

TEST(WinShortcutFirstRun, NeverDeletesOrReplacesAnExistingOne) {
    const TTempFolder dir;
    WriteBytes(LinkFile(dir), "the user's own file");
    PlaceShortcutOnFirstRun(ModuleFileName(), Name, Description, Folder(dir));
    EXPECT_EQ(ReadBytes(LinkFile(dir)), "the user's own file");

    const TTempFolder ours;
    PlaceShortcutOnFirstRun(ModuleFileName(), Name, Description, Folder(ours));
    PlaceShortcutOnFirstRun(ModuleFileName(), Name, Description,
                            Folder(ours)); // a second first run
    EXPECT_TRUE(ShortcutExists(Name, Folder(ours)));
}

// The fault text: the system's text for the code, ", ClassID: " and the class.
void ExpectFault(std::wstring_view linkClass, HRESULT code, const TTempFolder& dir) {
    try {
        ToggleShortcut(ModuleFileName(), Name, Description, Folder(dir), linkClass);
        ADD_FAILURE() << "no fault for class " << Narrow(linkClass);
    } catch (const EComFault& e) {
        EXPECT_EQ(e.Code(), code);
        EXPECT_EQ(std::string(e.what()),
                  Narrow(SystemErrorText(code)) + ", ClassID: " + Narrow(linkClass));
    }
}

TEST(WinShortcutFault, MissingClassEndsTheToggleBeforeAnythingChanges) {
    const TTempFolder empty;
    ExpectFault(MissingClass, REGDB_E_CLASSNOTREG, empty);
    EXPECT_TRUE(FolderEntries(empty.Path()).empty()); // nothing created

    const TTempFolder full;
    WriteBytes(LinkFile(full), "kept");
    ExpectFault(MissingClass, REGDB_E_CLASSNOTREG, full);
    EXPECT_EQ(ReadBytes(LinkFile(full)), "kept"); // nothing deleted
}

TEST(WinShortcutFault, MissingInterfaceEndsTheToggleBeforeAnythingChanges) {
    const TTempFolder dir;
    WriteBytes(LinkFile(dir), "kept");
    ExpectFault(OtherClass, E_NOINTERFACE, dir);
    EXPECT_EQ(ReadBytes(LinkFile(dir)), "kept");
}

TEST(WinShortcutFault, MessageReadsAsTheSystemTextAndTheClass) {
    const TTempFolder dir;
    try {
        ToggleShortcut(ModuleFileName(), Name, Description, Folder(dir), MissingClass);
        FAIL() << "no fault";
    } catch (const std::exception& e) { // what the application's fault handler sees
        const std::string text = e.what();
        const std::string tail = ", ClassID: {5D1A7C3E-93B2-4C11-8F0E-2A6B4C8D9E01}";
        ASSERT_GT(text.size(), tail.size());
        EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
        EXPECT_EQ(text.find('\n'), std::string::npos);
    }
}

TEST(WinShortcutDesktop, DesktopFolderIsAnExistingFolder) {
    const std::wstring desktop = SpecialFolderPath(CsidlDesktopDirectory);
    ASSERT_FALSE(desktop.empty());
    EXPECT_LE(desktop.size(), static_cast<std::size_t>(MAX_PATH));
    EXPECT_TRUE(fs::is_directory(fs::path(desktop))) << Narrow(desktop);
}

// The desktop folder found through CSIDL 0x10 itself. Only where the desktop
// is a throwaway folder (the Wine test run sets PELLIX_SCRATCH_DESKTOP=1 for
// its temporary prefix and home), never on a user's real desktop.
TEST(WinShortcutDesktop, ToggleOnTheDesktopFolderCreatesAndDeletes) {
    const char* scratch = std::getenv("PELLIX_SCRATCH_DESKTOP");
    if (scratch == nullptr || std::string(scratch) != "1")
        GTEST_SKIP() << "the desktop here may be a user's: set PELLIX_SCRATCH_DESKTOP=1 only for "
                        "a throwaway one";
    const std::wstring desktop = SpecialFolderPath(CsidlDesktopDirectory);
    ASSERT_FALSE(ShortcutExists(Name, desktop)) << "a Pellix.lnk is on the desktop already";

    ToggleShortcut(ModuleFileName(), Name, Description, CsidlDesktopDirectory);
    EXPECT_TRUE(ShortcutExists(Name, CsidlDesktopDirectory));
    const auto link = ReadShortcut(ShortcutFileName(Name, desktop));
    ASSERT_TRUE(link);
    EXPECT_EQ(link->Description, Description);

    ToggleShortcut(ModuleFileName(), Name, Description, CsidlDesktopDirectory);
    EXPECT_FALSE(ShortcutExists(Name, CsidlDesktopDirectory));
    EXPECT_FALSE(ShortcutExists(Name, desktop));
}

} // namespace
} // namespace pellix::win

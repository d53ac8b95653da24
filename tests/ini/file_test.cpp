#include "ini/inifile.h"

#include "tests/common/tempfolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace pellix {
namespace {

namespace fs = std::filesystem;
using testing::FolderEntries;
using testing::ReadBytes;
using testing::TTempFolder;
using testing::WriteBytes;

bool RunningAsRoot() {
#ifdef _WIN32
    return false;
#else
    return ::geteuid() == 0;
#endif
}

TEST(IniFileLoad, MissingFileIsAnEmptyDocument) {
    TTempFolder dir;
    const auto doc = LoadIniFile(dir / "none.ini");
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->Text(), "");
    EXPECT_TRUE(FolderEntries(dir.Path()).empty()); // loading creates nothing
}

TEST(IniFileLoad, ReadsEveryByte) {
    TTempFolder dir;
    std::string bytes = "[s]\r\nk=1\r\n";
    bytes += std::string("\0\xFF\n", 3);
    bytes += std::string(200000, 'x'); // beyond one read buffer
    WriteBytes(dir / "s.ini", bytes);
    const auto doc = LoadIniFile(dir / "s.ini");
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->Text(), bytes);
}

TEST(IniFileLoad, SomethingUnreadableIsNotAnEmptyDocument) {
    TTempFolder dir;
    fs::create_directory(dir / "folder.ini");
    EXPECT_FALSE(LoadIniFile(dir / "folder.ini"));
}

TEST(IniFileLoad, FileWithoutReadPermissionIsNotAnEmptyDocument) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no permission bit that stops reading a file";
#endif
    if (RunningAsRoot())
        GTEST_SKIP() << "permissions do not stop root";
    TTempFolder dir;
    WriteBytes(dir / "s.ini", "[s]\nk=1\n");
    fs::permissions(dir / "s.ini", fs::perms::owner_write);
    EXPECT_FALSE(LoadIniFile(dir / "s.ini"));
}

TEST(IniFileSave, CreatesFileWithExactBytesAndNoLeftovers) {
    TTempFolder dir;
    const std::string bytes("[s]\nk=\0\xFF\n", 10);
    ASSERT_TRUE(SaveIniFile(dir / "s.ini", bytes));
    EXPECT_EQ(ReadBytes(dir / "s.ini"), bytes);
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"s.ini"});
}

TEST(IniFileSave, ReplacesContentAndKeepsPermissions) {
    TTempFolder dir;
    WriteBytes(dir / "s.ini", "old content that is longer than the new one\n");
    fs::permissions(dir / "s.ini",
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
#ifdef _WIN32
    // Windows keeps no permission bits beyond the read-only attribute: the file
    // keeps what it has.
    const fs::perms expected = fs::status(dir / "s.ini").permissions();
#else
    const fs::perms expected =
        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
#endif
    TIniDocument doc;
    doc.WriteString("s", "k", "1");
    ASSERT_TRUE(SaveIniFile(dir / "s.ini", doc));
    EXPECT_EQ(ReadBytes(dir / "s.ini"), "[s]\nk=1\n");
    EXPECT_EQ(fs::status(dir / "s.ini").permissions(), expected);
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"s.ini"});
}

TEST(IniFileSave, ReadOnlyFileStaysUnchanged) {
    TTempFolder dir;
    WriteBytes(dir / "s.ini", "[s]\nk=old\n");
    fs::permissions(dir / "s.ini", fs::perms::owner_read | fs::perms::group_read);
    EXPECT_FALSE(SaveIniFile(dir / "s.ini", "[s]\nk=new\n"));
    EXPECT_EQ(ReadBytes(dir / "s.ini"), "[s]\nk=old\n");
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"s.ini"});
}

TEST(IniFileSave, ReadOnlyFolderFailsCleanly) {
#ifdef _WIN32
    GTEST_SKIP() << "a folder's read-only attribute does not stop writing into it on Windows";
#endif
    if (RunningAsRoot())
        GTEST_SKIP() << "permissions do not stop root";
    TTempFolder dir;
    WriteBytes(dir / "s.ini", "[s]\nk=old\n");
    fs::permissions(dir.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(SaveIniFile(dir / "s.ini", "[s]\nk=new\n"));
    EXPECT_FALSE(SaveIniFile(dir / "new.ini", "[s]\nk=new\n"));
    fs::permissions(dir.Path(), fs::perms::owner_all);
    EXPECT_EQ(ReadBytes(dir / "s.ini"), "[s]\nk=old\n");
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"s.ini"});
}

TEST(IniFileSave, MissingFolderFails) {
    TTempFolder dir;
    EXPECT_FALSE(SaveIniFile(dir / "no" / "s.ini", "x"));
    EXPECT_TRUE(FolderEntries(dir.Path()).empty());
}

TEST(IniFileSave, FolderInPlaceOfFileFails) {
    TTempFolder dir;
    fs::create_directory(dir / "s.ini");
    EXPECT_FALSE(SaveIniFile(dir / "s.ini", "x"));
    EXPECT_TRUE(fs::is_directory(dir / "s.ini"));
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"s.ini"});
}

TEST(IniFileSave, FailedRenameLeavesOldFileAndRemovesTemporary) {
    TTempFolder dir;
    WriteBytes(dir / "s.ini", "[s]\nk=old\n");
    std::string seenInTemp;
    fs::path seenTemp;
    TIniSaveHooks hooks;
    hooks.Rename = [&](const fs::path& temp, const fs::path& target) {
        seenTemp = temp;
        seenInTemp = ReadBytes(temp);
        EXPECT_EQ(target, dir / "s.ini");
        return std::make_error_code(std::errc::io_error);
    };
    EXPECT_FALSE(SaveIniFile(dir / "s.ini", "[s]\nk=new\n", hooks));
    EXPECT_EQ(seenInTemp, "[s]\nk=new\n");         // fully written before the rename step
    EXPECT_EQ(seenTemp.parent_path(), dir.Path()); // beside the target
    EXPECT_EQ(ReadBytes(dir / "s.ini"), "[s]\nk=old\n");
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"s.ini"});
}

TEST(IniFileSave, ThrowingRenameStepIsCaught) {
    TTempFolder dir;
    WriteBytes(dir / "s.ini", "old");
    TIniSaveHooks hooks;
    hooks.Rename = [](const fs::path&, const fs::path&) -> std::error_code {
        throw std::runtime_error("disk gone");
    };
    bool saved = true;
    EXPECT_NO_THROW(saved = SaveIniFile(dir / "s.ini", "new", hooks));
    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadBytes(dir / "s.ini"), "old");
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"s.ini"});
}

TEST(IniFileSave, SymbolicLinkIsFollowed) {
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links need a privilege on Windows, and MinGW's C++ library "
                    "cannot create them";
#endif
    TTempFolder dir;
    fs::create_directory(dir / "real");
    WriteBytes(dir / "real" / "s.ini", "old");
    fs::create_symlink(dir / "real" / "s.ini", dir / "link.ini");
    ASSERT_TRUE(SaveIniFile(dir / "link.ini", "new"));
    EXPECT_TRUE(fs::is_symlink(dir / "link.ini"));
    EXPECT_EQ(ReadBytes(dir / "real" / "s.ini"), "new");
    EXPECT_EQ(FolderEntries(dir / "real"), std::vector<std::string>{"s.ini"});
}

// A store that died while writing the file in place left its complete copy
// beside it: that copy is the file until the next store.
TEST(IniFileSave, CopyOfAnUnfinishedWriteInPlaceStandsForTheFile) {
    TTempFolder dir;
    WriteBytes(dir / "s.ini", "[s]\nk=new an");
    WriteBytes(dir / ".s.ini.copy", "[s]\nk=new and whole\n");
    const auto doc = LoadIniFile(dir / "s.ini");
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->Text(), "[s]\nk=new and whole\n");
    fs::create_hard_link(dir / "s.ini", dir / "link.ini"); // written in place
    ASSERT_TRUE(SaveIniFile(dir / "s.ini", std::string_view("[s]\nk=next\n")));
    EXPECT_EQ(ReadBytes(dir / "link.ini"), "[s]\nk=next\n");
    EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::string>{"link.ini", "s.ini"}));
}

TEST(IniFileSave, LoadEditSaveKeepsForeignContent) {
    TTempFolder dir;
    const std::string before = "; my notes\r\n[Other]\r\nx=1\r\n\r\n[ZunMain]\r\nLeft=5\r\n";
    WriteBytes(dir / "s.ini", before);
    auto doc = LoadIniFile(dir / "s.ini");
    ASSERT_TRUE(doc);
    doc->WriteInteger("ZunMain", "Left", 6);
    doc->WriteInteger("ZunMain", "Top", 7);
    ASSERT_TRUE(SaveIniFile(dir / "s.ini", *doc));
    EXPECT_EQ(ReadBytes(dir / "s.ini"),
              "; my notes\r\n[Other]\r\nx=1\r\n\r\n[ZunMain]\r\nLeft=6\r\nTop=7\r\n");
}

} // namespace
} // namespace pellix

// End-to-end tests of pellix-keys: each runs the built program in a temporary
// folder and looks at its output, exit code and settings file.

#include "cli/keysrun.h"
#include "tests/common/tempfolder.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace pellix {
namespace {

namespace fs = std::filesystem;
using testing::FolderEntries;
using testing::ReadBytes;
using testing::TTempFolder;
using testing::WriteBytes;

struct TRun {
    int Code = -1;
    std::string Out;
    std::string Err;
};

#ifdef _WIN32

// One argument of a command line, quoted so that the C runtime's parser gives
// it back unchanged (backslashes before a quote are doubled).
std::string CommandLineArgument(const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \t\n\v\"") == std::string::npos)
        return arg;
    std::string q = "\"";
    std::size_t backslashes = 0;
    for (const char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        q.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        q += c;
        backslashes = 0;
    }
    q.append(backslashes * 2, '\\');
    return q + "\"";
}

// The C runtime's text-mode output on Windows ends lines with CR LF.
std::string WithLineFeeds(std::string text) {
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
        text.erase(at, 1);
    return text;
}

HANDLE InheritableFile(const fs::path& path, DWORD access, DWORD creation) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, creation,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Runs pellix-keys in folder work. The arguments go in as bytes (the ANSI
// command line), as a POSIX program receives them; the C library takes its
// locale from the user's regional settings, so there is no locale to pass.
TRun RunKeys(const fs::path& work, const std::vector<std::string>& args,
             const std::string& /*locale*/ = "C") {
    const TTempFolder io;
    std::string cmd = CommandLineArgument(PELLIX_KEYS_BIN);
    for (const std::string& a : args)
        cmd += " " + CommandLineArgument(a);
    // The command line goes over as UTF-16, as the program reads it.
    std::wstring line(static_cast<size_t>(
                          MultiByteToWideChar(CP_UTF8, 0, cmd.data(), int(cmd.size()), nullptr, 0)),
                      L'\0');
    MultiByteToWideChar(CP_UTF8, 0, cmd.data(), int(cmd.size()), line.data(), int(line.size()));

    HANDLE in = InheritableFile(L"NUL", GENERIC_READ, OPEN_EXISTING);
    HANDLE out = InheritableFile(io / "out", GENERIC_WRITE, CREATE_ALWAYS);
    HANDLE err = InheritableFile(io / "err", GENERIC_WRITE, CREATE_ALWAYS);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    const std::wstring folder = work.wstring();
    const BOOL started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        folder.c_str(), &startup, &process);
    CloseHandle(in);
    CloseHandle(out);
    CloseHandle(err);
    TRun r;
    if (started) {
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 0;
        if (GetExitCodeProcess(process.hProcess, &code))
            r.Code = static_cast<int>(code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    r.Out = WithLineFeeds(ReadBytes(io / "out"));
    r.Err = WithLineFeeds(ReadBytes(io / "err"));
    return r;
}

#else

std::string ShellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs pellix-keys in folder work with LC_ALL=locale; its stdout goes to a
// file, or where the shell redirection stdoutTo sends it (">/dev/full"); a
// runner (setpriv and its options) starts it when given.
TRun RunKeys(const fs::path& work, const std::vector<std::string>& args,
             const std::string& locale = "C", const std::string& stdoutTo = "",
             const std::string& runner = "") {
    const TTempFolder io;
    std::string cmd = "cd " + ShellQuote(work.string()) + " && LC_ALL=" + ShellQuote(locale) + " " +
                      runner + " " + ShellQuote(PELLIX_KEYS_BIN);
    for (const std::string& a : args)
        cmd += " " + ShellQuote(a);
    cmd += stdoutTo.empty() ? " >" + ShellQuote((io / "out").string()) : " " + stdoutTo;
    cmd += " 2>" + ShellQuote((io / "err").string());
    const int status = std::system(cmd.c_str());
    TRun r;
    r.Code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.Out = ReadBytes(io / "out");
    r.Err = ReadBytes(io / "err");
    return r;
}

#endif

TRun RunKeys(const std::vector<std::string>& args, const std::string& locale = "C") {
    const TTempFolder work;
    return RunKeys(work.Path(), args, locale);
}

// ---- Display after the last token ----

struct DisplayCase {
    const char* Name;
    std::vector<std::string> Args;
    std::string Out;
    // Parameters print by their first field, never as raw bytes.
    friend std::ostream& operator<<(std::ostream& os, const DisplayCase& c) {
        return os << ::testing::PrintToString(c.Name);
    }
};

class KeysDisplay : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(KeysDisplay, PrintsDisplayTextAfterLastToken) {
    const TRun r = RunKeys(GetParam().Args);
    EXPECT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(r.Out, GetParam().Out);
    EXPECT_EQ(r.Err, "");
}

INSTANTIATE_TEST_SUITE_P(
    Table, KeysDisplay,
    ::testing::Values(
        DisplayCase{"Sum", {"--decimal=.", "--group=,", "3", "ENTER", "4", "+"}, "7.000000000\n"},
        DisplayCase{"NoTokens", {}, "0.000000000\n"},
        DisplayCase{"EntryInProgress", {"1", ".", "5"}, "1.5_\n"},
        DisplayCase{"CommaLocale",
                    {"--decimal=,", "--group=.", "=1234567", "ENTER", "2", "/"},
                    "617.283,500000000\n"},
        DisplayCase{"MultibyteSeparators",
                    {"--decimal=\xD9\xAB", "--group=\xE2\x80\xAF", "=1234.5", "ENTER"},
                    "1\xE2\x80\xAF"
                    "234\xD9\xAB"
                    "500000000\n"},
        DisplayCase{"NoGrouping", {"--group=", "=1234567", "ENTER"}, "1234567.000000000\n"},
        DisplayCase{"KeyCodes", {"5", "ENTER", "#103", "#65535", "#0"}, "0_\n"},
        DisplayCase{"PrefixKeys", {"2", "f", "7", "3", "g", "8"}, "2.000\n"},
        DisplayCase{"StoreAndRecall", {"4", "STO", "1", "RCL", "1", "+"}, "8.000000000\n"},
        DisplayCase{"EngineErrorText", {"1", "ENTER", "0", "/"}, "Divide by 0\n"},
        DisplayCase{"FaultShownAsHandlerShowsIt",
                    {"1", "CHS", "SQRT"},
                    "Ung\xC3\xBCltige Gleitkommaoperation\n"},
        // a blank typed is CHS, as on the keyboard
        DisplayCase{"TypedCharacters", {"=3 4+"}, "-34.000000000\n"},
        DisplayCase{"TypedEmptyText", {"7", "="}, "7_\n"},
        DisplayCase{"TypedOutsideBasicPlane",
                    {"=5\xF0\x9F\x98\x80"
                     "6"},
                    "56_\n"},
        DisplayCase{"TypedQEndsTheRun", {"=12q34", "5", "+"}, "12_\n"},
        DisplayCase{"TypedCapitalQEndsTheRun", {"9", "=Q", "+"}, "9_\n"}),
    [](const auto& param) { return std::string(param.param.Name); });

// Each named key after 2 ENTER 3.
struct NamedKeyCase {
    const char* Token;
    const char* Out;
    // Parameters print by their first field, never as raw bytes.
    friend std::ostream& operator<<(std::ostream& os, const NamedKeyCase& c) {
        return os << ::testing::PrintToString(c.Token);
    }
};

class KeysNamedKey : public ::testing::TestWithParam<NamedKeyCase> {};

TEST_P(KeysNamedKey, PressesItsKey) {
    const TRun r = RunKeys({"--group=", "2", "ENTER", "3", GetParam().Token});
    EXPECT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(r.Out, std::string(GetParam().Out) + "\n") << GetParam().Token;
}

INSTANTIATE_TEST_SUITE_P(
    Table, KeysNamedKey,
    ::testing::Values(NamedKeyCase{"ENTER", "3.000000000"}, NamedKeyCase{"+", "5.000000000"},
                      NamedKeyCase{"-", "-1.000000000"}, NamedKeyCase{"*", "6.000000000"},
                      NamedKeyCase{"/", "0.666666667"}, NamedKeyCase{"CHS", "-3"},
                      NamedKeyCase{"EEX", "3E"}, NamedKeyCase{".", "3."},
                      NamedKeyCase{"BACK", "2.000000000"}, NamedKeyCase{"SQRT", "1.732050808"},
                      NamedKeyCase{"EXP", "20.085536923"}, NamedKeyCase{"10X", "1000.000000000"},
                      NamedKeyCase{"YX", "8.000000000"}, NamedKeyCase{"INV", "0.333333333"},
                      NamedKeyCase{"SIN", "0.052335956"}, NamedKeyCase{"COS", "0.998629535"},
                      NamedKeyCase{"TAN", "0.052407779"}, NamedKeyCase{"XY", "2.000000000"},
                      NamedKeyCase{"RDN", "2.000000000"}, NamedKeyCase{"STO", "STO _"},
                      NamedKeyCase{"RCL", "RCL _"}, NamedKeyCase{"SUM", "3.000000000"}));

TEST(KeysOutput, TraceShowsEveryTokenUpToTheOneWithQ) {
    const TRun r = RunKeys({"--trace", "1", "ENTER", "=2q", "3"});
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(r.Out, "1_\n1.000000000\n2_\n");
}

// The batch runner's seed: the random key draws the generator's next
// number from it, the same on every run and platform.
TEST(KeysOutput, SeededRunDrawsTheGeneratorsNextNumber) {
    const auto drawn = [](std::uint32_t seed) {
        std::ostringstream out;
        std::ostringstream err;
        const std::vector<std::string> keys{"f", "ENTER"};
        RunPellixKeys(
            keys, out, err, [] { return Separators{}; }, seed);
        return out.str();
    };
    EXPECT_EQ(drawn(5), "0.156899697\n"); // (5 * 134775813 + 1) / 2^32
}

TEST(KeysOutput, StateLinesFollowTheDisplay) {
    const TRun r = RunKeys({"--state", "g", "8", "1", "ENTER", "3", "/", "STO", "4", "5", "f"});
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(r.Out, "5_\n"
                     "X=0.33333333333333331 Y=0 Z=0 T=0 LastX=3\n"
                     "Mode=0 Trig=1 FixLen=9 Input=0 Prefix=f "
                     "Reg=0,0,0,0,0.33333333333333331,0,0,0,0,0\n");
}

TEST(KeysOutput, StateAfterTraceAndWithCommaLocaleUsesCNumbers) {
    const TRun r = RunKeys({"--trace", "--state", "--decimal=,", "=1,5", "g"});
    EXPECT_EQ(r.Out, "1,5_\n1,5_\nX=0 Y=0 Z=0 T=0 LastX=0\n"
                     "Mode=0 Trig=0 FixLen=9 Input=0 Prefix=g Reg=0,0,0,0,0,0,0,0,0,0\n");
}

TEST(KeysOutput, HelpListsUsageTokensAndExitCodes) {
    for (const char* opt : {"-h", "--help"}) {
        const TRun r = RunKeys({"1", opt});
        EXPECT_EQ(r.Code, 0);
        EXPECT_TRUE(r.Out.starts_with("Usage: pellix-keys")) << r.Out;
        for (const char* word : {"--ini=FILE", "ENTER", "#N", "=TEXT", "Exit status"})
            EXPECT_NE(r.Out.find(word), std::string::npos) << word;
    }
}

#ifdef _WIN32
// The user locale's separator as UTF-8.
std::string UserLocaleSeparator(LCTYPE type) {
    wchar_t text[16] = {};
    const int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, text, 16);
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text, n > 0 ? n - 1 : 0, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, n > 0 ? n - 1 : 0, utf8.data(), size, nullptr, nullptr);
    return utf8;
}

TEST(KeysOutput, DefaultSeparatorsComeFromTheUserLocale) {
    // On Windows the default separators are those of the regional settings.
    const std::string point = UserLocaleSeparator(LOCALE_SDECIMAL);
    std::string group = UserLocaleSeparator(LOCALE_STHOUSAND);
    if (group == point)
        group.clear();
    const TRun r = RunKeys({"=1234567", "ENTER"});
    EXPECT_EQ(r.Out, "1" + group + "234" + group + "567" + point + "000000000\n");
    EXPECT_EQ(RunKeys({"--group=,", "=1234567", "ENTER"}).Out, "1,234,567.000000000\n");
}
#else
TEST(KeysOutput, DefaultSeparatorsComeFromTheLocale) {
    // The C locales have a decimal point and no grouping.
    for (const char* locale : {"C", "C.UTF-8"}) {
        const TRun r = RunKeys({"=1234567.5", "ENTER"}, locale);
        EXPECT_EQ(r.Out, "1234567.500000000\n") << locale;
    }
    EXPECT_EQ(RunKeys({"--group=,", "=1234567", "ENTER"}).Out, "1,234,567.000000000\n");
}
#endif

// ---- Usage errors ----

class KeysUsageError : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(KeysUsageError, ExitsTwoWithMessageAndNoOutput) {
    const TTempFolder work;
#ifdef _WIN32
    if (GetParam() == std::vector<std::string>{"=\xFF"}) {
        GTEST_SKIP() << "a Windows command line is UTF-16: invalid UTF-8 cannot reach the program";
    }
#endif
    std::vector<std::string> args = {"--trace", "--ini=s.ini", "1"};
    args.insert(args.end(), GetParam().begin(), GetParam().end());
    const TRun r = RunKeys(work.Path(), args);
    EXPECT_EQ(r.Code, 2);
    EXPECT_EQ(r.Out, "");
    EXPECT_NE(r.Err.find("pellix-keys: "), std::string::npos) << r.Err;
    EXPECT_TRUE(FolderEntries(work.Path()).empty()); // nothing stored
}

INSTANTIATE_TEST_SUITE_P(
    Table, KeysUsageError,
    ::testing::Values(
        std::vector<std::string>{"bogus"}, std::vector<std::string>{"12"},
        std::vector<std::string>{"enter"}, std::vector<std::string>{"F"},
        std::vector<std::string>{""}, std::vector<std::string>{"#"},
        std::vector<std::string>{"#65536"}, std::vector<std::string>{"#-1"},
        std::vector<std::string>{"#+1"}, std::vector<std::string>{"#1x"},
        std::vector<std::string>{"=\xFF"}, std::vector<std::string>{"--bogus"},
        std::vector<std::string>{"--trace=1"}, std::vector<std::string>{"--decimal"},
        std::vector<std::string>{"--decimal="}, std::vector<std::string>{"--decimal=ab"},
        std::vector<std::string>{"--group=ab"}, std::vector<std::string>{"--ini="},
        std::vector<std::string>{"--decimal=,", "--group=,"},
        std::vector<std::string>{"--decimal=0"}, std::vector<std::string>{"--decimal=+"},
        std::vector<std::string>{"--decimal=E"}, std::vector<std::string>{"--decimal= "},
        std::vector<std::string>{"--group=1"}, std::vector<std::string>{"--group=-"},
        std::vector<std::string>{"--group=e"}, std::vector<std::string>{"--group= "},
        std::vector<std::string>{"--group=."} /* the locale's decimal point */,
        std::vector<std::string>{"--decimal=_"} /* the entry's cursor */));

// Control characters of a refused token reach the terminal escaped, never raw.
struct EscapeCase {
    std::string Token;
    std::string Shown;
    friend std::ostream& operator<<(std::ostream& os, const EscapeCase& c) { return os << c.Shown; }
};

class KeysMessageEscape : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(KeysMessageEscape, ShowsControlCharactersEscaped) {
    const TRun r = RunKeys({GetParam().Token});
    EXPECT_EQ(r.Code, 2);
    EXPECT_NE(r.Err.find("'" + GetParam().Shown + "'"), std::string::npos) << r.Err;
}

INSTANTIATE_TEST_SUITE_P(Table, KeysMessageEscape,
                         ::testing::Values(EscapeCase{"\x1b]0;X\a", "\\x1b]0;X\\x07"},
                                           EscapeCase{"a\x7f\xc2\x9b", "a\\x7f\\u009b"},
                                           EscapeCase{"\xc3\xa9\\", "\xc3\xa9\\"}));

#ifndef _WIN32
// Output that cannot be written: a full device, a closed stdout.
class KeysOutputFailure : public ::testing::TestWithParam<const char*> {};

TEST_P(KeysOutputFailure, ExitsOneWithMessageAndStillStores) {
    const TTempFolder work;
    // "pipe": a pipe whose reading end is closed already.
    int pipeFds[2] = {-1, -1};
    std::string to = GetParam();
    if (to == "pipe") {
        ASSERT_EQ(::pipe(pipeFds), 0);
        ::close(pipeFds[0]);
        to = ">&" + std::to_string(pipeFds[1]);
    }
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, {"--ini=s.ini", "--trace", "5", "STO", "1"}}) {
        const TRun r = RunKeys(work.Path(), args, "C", to);
        EXPECT_EQ(r.Code, 1) << args[0];
        EXPECT_NE(r.Err.find("pellix-keys: cannot write the output"), std::string::npos) << r.Err;
    }
    EXPECT_NE(ReadBytes(work.Path() / "s.ini").find("Zun.Reg[1]=5"), std::string::npos);
    if (pipeFds[1] >= 0)
        ::close(pipeFds[1]);
}

INSTANTIATE_TEST_SUITE_P(Table, KeysOutputFailure, ::testing::Values(">/dev/full", ">&-", "pipe"));
#endif

// ---- Settings file ----

#ifndef _WIN32
// Where a rename would lose the file's owner, group or other names, a store
// writes it in place.
class KeysIdentity : public ::testing::TestWithParam<std::string> {};

TEST_P(KeysIdentity, StoreKeepsTheFilesOwnerGroupAndLinks) {
    const bool link = GetParam() == "hard link";
    const bool other = GetParam() == "stored by another user";
    if (!link && ::geteuid() != 0)
        GTEST_SKIP() << "needs root to give files to other users";
    if (other && std::system("setpriv --version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "needs setpriv";
    const TTempFolder work;
    fs::permissions(work.Path(), fs::perms::all); // a folder the group shares
    WriteBytes(work / "s.ini", "[ZunMain]\nZun.Stack[0]=5\n");
    fs::permissions(work / "s.ini", static_cast<fs::perms>(0666));
    if (link)
        fs::create_hard_link(work / "s.ini", work / "link.ini");
    if (!link && !other) { // another user's file, stored by root
        ASSERT_EQ(::chown((work / "s.ini").c_str(), 65534, 65534), 0);
    }
    struct stat before {};
    ASSERT_EQ(::stat((work / "s.ini").c_str(), &before), 0);
    const TRun r = RunKeys(work.Path(), {"--ini=s.ini", "1", "+"}, "C", "",
                           other ? "setpriv --reuid=65534 --regid=65534 --clear-groups" : "");
    EXPECT_EQ(r.Code, 0) << r.Err;
    struct stat after {};
    ASSERT_EQ(::stat((work / "s.ini").c_str(), &after), 0);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    EXPECT_EQ(after.st_nlink, before.st_nlink);
    EXPECT_NE(ReadBytes(work / "s.ini").find("Zun.Stack[0]=6\n"), std::string::npos);
    if (link) {
        EXPECT_EQ(ReadBytes(work / "link.ini"), ReadBytes(work / "s.ini"));
    }
    EXPECT_EQ(FolderEntries(work.Path()).size(), before.st_nlink) << "no copy left beside";
}

INSTANTIATE_TEST_SUITE_P(Table, KeysIdentity,
                         ::testing::Values("hard link", "another's file stored by root",
                                           "stored by another user"));
#endif

TEST(KeysIni, StateCarriesOverFromRunToRun) {
    const TTempFolder work;
    EXPECT_EQ(RunKeys(work.Path(), {"--ini=s.ini", "2", "ENTER", "3", "+"}).Out, "5.000000000\n");
    const TRun r = RunKeys(work.Path(), {"--ini=s.ini", "4", "*"});
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(r.Out, "20.000000000\n");
    EXPECT_EQ(FolderEntries(work.Path()), std::vector<std::string>{"s.ini"});
}

TEST(KeysIni, RunsSideBySideLoseNoUpdate) {
    const TTempFolder work;
    ASSERT_EQ(RunKeys(work.Path(), {"--ini=s.ini", "0"}).Code, 0);
    std::vector<std::thread> runs;
    for (int i = 0; i < 20; ++i)
        runs.emplace_back([&work] { RunKeys(work.Path(), {"--ini=s.ini", "1", "+"}); });
    for (std::thread& t : runs)
        t.join();
    EXPECT_EQ(RunKeys(work.Path(), {"--ini=s.ini"}).Out, "20.000000000\n");
}

TEST(KeysIni, RoundTripKeepsForeignContentAndLineEnds) {
    const TTempFolder work;
    const std::string head = "; Pellix settings\r\n[ZunMain]\r\nLeft=12\r\nzun.fixlen=2\r\n"
                             "Custom=keep me\r\n";
    const std::string tail = "\r\n; about box\r\n[Other]\r\nZun.Mode=9\r\n";
    WriteBytes(work / "s.ini", head + tail);
    const TRun r = RunKeys(work.Path(), {"--ini=s.ini", "--decimal=,", "1", ".", "5", "ENTER"});
    EXPECT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(r.Out, "1,50\n"); // FixLen 2 came from the file
    EXPECT_EQ(ReadBytes(work / "s.ini"),
              "; Pellix settings\r\n[ZunMain]\r\nLeft=12\r\nzun.fixlen=2\r\nCustom=keep me\r\n"
              "Zun.Mode=0\r\nZun.TrigMode=0\r\nZun.LastX=0\r\n"
              "Zun.Stack[0]=1,5\r\nZun.Stack[1]=1,5\r\nZun.Stack[2]=0\r\nZun.Stack[3]=0\r\n"
              "Zun.Reg[0]=0\r\nZun.Reg[1]=0\r\nZun.Reg[2]=0\r\nZun.Reg[3]=0\r\nZun.Reg[4]=0\r\n"
              "Zun.Reg[5]=0\r\nZun.Reg[6]=0\r\nZun.Reg[7]=0\r\nZun.Reg[8]=0\r\nZun.Reg[9]=0\r\n" +
                  tail);
}

TEST(KeysIni, ReadsWithTheSettingsFileRules) {
    const TTempFolder work;
    WriteBytes(work / "s.ini", "[zunmain]\nZun.Mode=257\nZun.TrigMode=$102\nZun.FixLen=0x3\n"
                               "Zun.Stack[0]=2,5\nZun.Stack[1]=1E3\nZun.Reg[9]=-0.125\n");
    const TRun r = RunKeys(work.Path(), {"--ini=s.ini", "--state", "--decimal=."});
    EXPECT_EQ(r.Code, 0);
    // A decimal comma reads under a decimal point too.
    EXPECT_EQ(r.Out, "2.50E+000\n"
                     "X=2.5 Y=1000 Z=0 T=0 LastX=0\n"
                     "Mode=1 Trig=2 FixLen=3 Input=1 Prefix=- Reg=0,0,0,0,0,0,0,0,0,-0.125\n");
}

TEST(KeysIni, TextsThatDoNotReadAreWrittenBackUntilChanged) {
    const TTempFolder work;
    WriteBytes(work / "s.ini", "[ZunMain]\nZun.Mode=7\nZun.Stack[3]=1.5.0\nZun.Reg[3]=1e999\n"
                               "Zun.Reg[4]=x\nZun.Reg[2]=2:5\n");
    // A store of the default it took is the user's own value too.
    const TRun r =
        RunKeys(work.Path(), {"--ini=s.ini", "--decimal=.", "5", "STO", "4", "0", "STO", "2"});
    EXPECT_EQ(r.Code, 0);
    const std::string ini = ReadBytes(work / "s.ini");
    EXPECT_TRUE(ini.starts_with("[ZunMain]\nZun.Mode=7\nZun.Stack[3]=1.5.0\nZun.Reg[3]=1e999\n"
                                "Zun.Reg[4]=5\nZun.Reg[2]=0\nZun.TrigMode=0\n"))
        << ini;
}

TEST(KeysIni, QuitByTypedQStillStores) {
    const TTempFolder work;
    const TRun r = RunKeys(work.Path(), {"--ini=s.ini", "7", "ENTER", "=Q", "1", "+"});
    EXPECT_EQ(r.Out, "7.000000000\n");
    const std::string ini = ReadBytes(work / "s.ini");
    EXPECT_NE(ini.find("Zun.Stack[0]=7\nZun.Stack[1]=7\n"), std::string::npos) << ini;
}

TEST(KeysIni, UnwritablePlaceExitsOneAfterOutput) {
    const TTempFolder work;
    WriteBytes(work / "file", "");
    const TRun r = RunKeys(work.Path(), {"--ini=file/s.ini", "1"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.Out, "1_\n");
    EXPECT_NE(r.Err.find("cannot write"), std::string::npos) << r.Err;
}

TEST(KeysIni, ReadOnlyFileExitsOneAndStaysUnchanged) {
    const TTempFolder work;
    WriteBytes(work / "s.ini", "[ZunMain]\nZun.Stack[0]=5\n");
    fs::permissions(work / "s.ini", fs::perms::owner_read);
    const TRun r = RunKeys(work.Path(), {"--ini=s.ini", "1", "+"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.Out, "6.000000000\n");
    EXPECT_NE(r.Err.find("cannot write"), std::string::npos) << r.Err;
    EXPECT_EQ(ReadBytes(work / "s.ini"), "[ZunMain]\nZun.Stack[0]=5\n");
    EXPECT_EQ(FolderEntries(work.Path()), std::vector<std::string>{"s.ini"});
}

TEST(KeysIni, ReadOnlyFolderExitsOneAndLeavesFileUnchanged) {
#ifdef _WIN32
    GTEST_SKIP() << "a folder's read-only attribute does not stop writing into it on Windows";
#else
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop root";
#endif
    const TTempFolder work;
    WriteBytes(work / "s.ini", "[ZunMain]\nZun.Stack[0]=5\n");
    fs::permissions(work.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    const TRun r = RunKeys(work.Path(), {"--ini=s.ini", "1", "+"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.Out, "6.000000000\n");
    fs::permissions(work.Path(), fs::perms::owner_all);
    EXPECT_EQ(ReadBytes(work / "s.ini"), "[ZunMain]\nZun.Stack[0]=5\n");
    EXPECT_EQ(FolderEntries(work.Path()), std::vector<std::string>{"s.ini"});
}

TEST(KeysIni, UnreadableSettingsAreNotOverwritten) {
    const TTempFolder work;
    fs::create_directory(work / "s.ini");
    const TRun r = RunKeys(work.Path(), {"--ini=s.ini", "3"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.Out, "3_\n");
    EXPECT_NE(r.Err.find("cannot read"), std::string::npos) << r.Err;
    EXPECT_TRUE(fs::is_directory(work / "s.ini"));
}

} // namespace
} // namespace pellix

#pragma once

// The program's desktop shortcut on Windows: a shell link file "<name>.lnk" in a
// folder (the user's desktop folder in the program, a temporary folder in
// tests), made with the shell's shell-link object. COM must be initialised on
// the calling thread (TComApartment).

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace pellix::win {

// The special folder of the current user's desktop items (CSIDL_DESKTOPDIRECTORY).
inline constexpr int CsidlDesktopDirectory = 0x10;

// The shell-link class, CLSID_ShellLink.
inline constexpr std::wstring_view ShellLinkClassId = L"{00021401-0000-0000-C000-000000000046}";

// A COM object that cannot be created or lacks an interface. The message is
// the system's text for the code, ", ClassID: " and the class identifier.
class EComFault : public std::runtime_error {
public:
    EComFault(long code, std::wstring_view classId);
    long Code() const { return FCode; }

private:
    long FCode;
};

// Initialises COM (single-threaded apartment) on the calling thread for the
// object's life; nothing to undo when it was initialised already in another mode.
class TComApartment {
public:
    TComApartment();
    ~TComApartment();
    TComApartment(const TComApartment&) = delete;
    TComApartment& operator=(const TComApartment&) = delete;

private:
    bool FInitialised = false;
};

// The file-system path of a special folder (SHGetSpecialFolderLocation,
// SHGetPathFromIDListW, at most 260 characters); empty when there is none.
std::wstring SpecialFolderPath(int csidl);

// The folder part of a path with its trailing separator ("C:\Pellix\" for
// "C:\Pellix\pellix.exe"); empty when the path has no folder part.
std::wstring FolderPartOf(std::wstring_view path);

// The shortcut file: folder, "\", name and ".lnk"; empty when folder or name is
// empty (never a file in the current folder or the drive's root).
std::wstring ShortcutFileName(std::wstring_view name, std::wstring_view folder);

// Whether the shortcut file exists (a folder of that name is no shortcut).
bool ShortcutExists(std::wstring_view name, std::wstring_view folder);
bool ShortcutExists(std::wstring_view name, int csidl);

// Creates a shell-link object (of class `linkClass`; the shell's in the
// program) and sets its target, its working folder (the target's folder with
// the trailing backslash) and its description. Then deletes whatever shortcut
// file of that name lies in the folder, or saves the object as that file when
// there is none. A missing object or interface throws EComFault before
// anything changes on disk; a failed save or deletion is not reported.
void ToggleShortcut(std::wstring_view target, std::wstring_view name, std::wstring_view description,
                    std::wstring_view folder, std::wstring_view linkClass = ShellLinkClassId);
void ToggleShortcut(std::wstring_view target, std::wstring_view name, std::wstring_view description,
                    int csidl, std::wstring_view linkClass = ShellLinkClassId);

// At a first run: creates the shortcut when none exists; never deletes one.
void PlaceShortcutOnFirstRun(std::wstring_view target, std::wstring_view name,
                             std::wstring_view description, std::wstring_view folder);

// What a shell link file holds, read back through the shell-link object.
struct TShortcutContent {
    std::wstring Target;
    std::wstring WorkingFolder;
    std::wstring Description;
    std::wstring Arguments;
    std::wstring IconLocation;
};
std::optional<TShortcutContent> ReadShortcut(std::wstring_view file);

} // namespace pellix::win

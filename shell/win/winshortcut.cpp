#include "winshortcut.h"

#include "wintext.h"

#include <windows.h>

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace pellix::win {

namespace {

// Owns one interface pointer.
template <typename T>
class TComRef {
public:
    TComRef() = default;
    ~TComRef() {
        if (FPtr != nullptr)
            FPtr->Release();
    }
    TComRef(const TComRef&) = delete;
    TComRef& operator=(const TComRef&) = delete;

    T* operator->() const { return FPtr; }
    T* Get() const { return FPtr; }
    void** Out() { return reinterpret_cast<void**>(&FPtr); }

private:
    T* FPtr = nullptr;
};

std::string FaultText(long code, std::wstring_view classId) {
    return Narrow(SystemErrorText(code) + L", ClassID: " + std::wstring(classId));
}

// A null-terminated copy for the Win32 calls.
std::wstring Terminated(std::wstring_view text) {
    return std::wstring(text);
}

bool IsFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The shell-link object with the two interfaces the shortcut needs.
struct TShellLink {
    TComRef<IUnknown> Object;
    TComRef<IShellLinkW> Link;
    TComRef<IPersistFile> File;

    explicit TShellLink(std::wstring_view linkClass) {
        CLSID clsid{};
        HRESULT hr = CLSIDFromString(Terminated(linkClass).c_str(), &clsid);
        if (FAILED(hr))
            throw EComFault(hr, linkClass);
        hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                              IID_IUnknown, Object.Out());
        if (FAILED(hr))
            throw EComFault(hr, linkClass);
        hr = Object->QueryInterface(IID_IShellLinkW, Link.Out());
        if (FAILED(hr))
            throw EComFault(hr, linkClass);
        hr = Object->QueryInterface(IID_IPersistFile, File.Out());
        if (FAILED(hr))
            throw EComFault(hr, linkClass);
    }

    // The object as the program's shortcut: target, working folder with its
    // trailing backslash, description. The results are not examined.
    TShellLink(std::wstring_view linkClass, std::wstring_view target, std::wstring_view description)
        : TShellLink(linkClass) {
        Link->SetPath(Terminated(target).c_str());
        Link->SetWorkingDirectory(FolderPartOf(target).c_str());
        Link->SetDescription(Terminated(description).c_str());
    }

    // Deletes whatever file lies at `file`, or saves the object there (not
    // adopting it as its current file). Failures are not reported.
    void SaveOrDelete(const std::wstring& file) const {
        if (file.empty())
            return;
        if (IsFile(file))
            DeleteFileW(file.c_str());
        else
            File->Save(file.c_str(), FALSE);
    }
};

} // namespace

EComFault::EComFault(long code, std::wstring_view classId)
    : std::runtime_error(FaultText(code, classId)), FCode(code) {}

TComApartment::TComApartment() {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    FInitialised = SUCCEEDED(hr); // S_FALSE too: every success is matched by one uninitialise
}

TComApartment::~TComApartment() {
    if (FInitialised)
        CoUninitialize();
}

std::wstring SpecialFolderPath(int csidl) {
    LPITEMIDLIST items = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &items)) || items == nullptr)
        return {};
    wchar_t path[MAX_PATH + 1] = {};
    const BOOL found = SHGetPathFromIDListW(items, path);
    CoTaskMemFree(items);
    return found ? std::wstring(path) : std::wstring();
}

std::wstring FolderPartOf(std::wstring_view path) {
    const std::size_t end = path.find_last_of(L"\\/:");
    if (end == std::wstring_view::npos)
        return {};
    return std::wstring(path.substr(0, end + 1));
}

std::wstring ShortcutFileName(std::wstring_view name, std::wstring_view folder) {
    if (folder.empty() || name.empty())
        return {};
    std::wstring file(folder);
    if (file.back() != L'\\' && file.back() != L'/')
        file += L'\\';
    file += name;
    file += L".lnk";
    return file;
}

bool ShortcutExists(std::wstring_view name, std::wstring_view folder) {
    const std::wstring file = ShortcutFileName(name, folder);
    return !file.empty() && IsFile(file);
}

bool ShortcutExists(std::wstring_view name, int csidl) {
    return ShortcutExists(name, SpecialFolderPath(csidl));
}

void ToggleShortcut(std::wstring_view target, std::wstring_view name, std::wstring_view description,
                    std::wstring_view folder, std::wstring_view linkClass) {
    const TShellLink shellLink(linkClass, target, description);
    shellLink.SaveOrDelete(ShortcutFileName(name, folder));
}

void ToggleShortcut(std::wstring_view target, std::wstring_view name, std::wstring_view description,
                    int csidl, std::wstring_view linkClass) {
    const TShellLink shellLink(linkClass, target, description);
    shellLink.SaveOrDelete(ShortcutFileName(name, SpecialFolderPath(csidl)));
}

void PlaceShortcutOnFirstRun(std::wstring_view target, std::wstring_view name,
                             std::wstring_view description, std::wstring_view folder) {
    if (!ShortcutExists(name, folder))
        ToggleShortcut(target, name, description, folder);
}

std::optional<TShortcutContent> ReadShortcut(std::wstring_view file) {
    TShellLink shellLink(ShellLinkClassId);
    if (FAILED(shellLink.File->Load(Terminated(file).c_str(), STGM_READ)))
        return std::nullopt;
    TShortcutContent content;
    wchar_t buffer[INFOTIPSIZE + 1] = {};
    if (SUCCEEDED(shellLink.Link->GetPath(buffer, MAX_PATH, nullptr, SLGP_RAWPATH)))
        content.Target = buffer;
    buffer[0] = L'\0';
    if (SUCCEEDED(shellLink.Link->GetWorkingDirectory(buffer, MAX_PATH)))
        content.WorkingFolder = buffer;
    buffer[0] = L'\0';
    if (SUCCEEDED(shellLink.Link->GetDescription(buffer, INFOTIPSIZE)))
        content.Description = buffer;
    buffer[0] = L'\0';
    if (SUCCEEDED(shellLink.Link->GetArguments(buffer, INFOTIPSIZE)))
        content.Arguments = buffer;
    buffer[0] = L'\0';
    int icon = 0;
    if (SUCCEEDED(shellLink.Link->GetIconLocation(buffer, MAX_PATH, &icon)))
        content.IconLocation = buffer;
    return content;
}

} // namespace pellix::win

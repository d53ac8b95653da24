#include "winversion.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace pellix::win {

std::wstring ModuleFileName() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0)
            return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring ProductVersionOf(std::wstring_view file) {
    const std::wstring name(file);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(name.c_str(), &handle);
    if (size == 0)
        return {};
    std::vector<unsigned char> data(size);
    if (!GetFileVersionInfoW(name.c_str(), 0, size, data.data()))
        return {};

    struct TTranslation {
        WORD Language;
        WORD CodePage;
    };
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", &value, &length) ||
        length < sizeof(TTranslation))
        return {};
    const auto* first = static_cast<const TTranslation*>(value);

    wchar_t key[64];
    std::swprintf(key, 64, L"\\StringFileInfo\\%04x%04x\\ProductVersion", first->Language,
                  first->CodePage);
    if (!VerQueryValueW(data.data(), key, &value, &length) || length == 0)
        return {};
    std::wstring version(static_cast<const wchar_t*>(value), length);
    while (!version.empty() && version.back() == L'\0')
        version.pop_back();
    return version;
}

} // namespace pellix::win

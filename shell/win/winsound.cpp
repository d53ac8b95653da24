#include "winsound.h"

#include <windows.h>

#include <mmsystem.h>

namespace pellix::win {

std::string_view ClickResource() {
    const HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(ClickResourceId), L"WAVE");
    if (info == nullptr)
        return {};
    HGLOBAL data = LoadResource(module, info);
    const void* bytes = data != nullptr ? LockResource(data) : nullptr;
    if (bytes == nullptr)
        return {};
    return {static_cast<const char*>(bytes), SizeofResource(module, info)};
}

bool PlayClickResource() {
    return PlaySoundW(MAKEINTRESOURCEW(ClickResourceId), GetModuleHandleW(nullptr), SND_RESOURCE) !=
           FALSE;
}

unsigned AuxiliaryDeviceCount() {
    return auxGetNumDevs();
}

} // namespace pellix::win

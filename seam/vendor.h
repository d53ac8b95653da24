#pragma once

// Names and addresses of the program, in one place: the build (CMakeLists.txt)
// reads them from here too, for the package, the installer and the metainfo.

namespace pellix {

inline constexpr const char* ProgramName = "Pellix";
inline constexpr const char* WebAddress = "http://www.pellix.example/";
inline constexpr const char* WebDomain = "www.pellix.example";
inline constexpr const char* SupportMail = "support@pellix.example";

// The title of the program's taskbar entry.
inline constexpr const char* ApplicationTitle = "Pellix Emulator (http://www.pellix.example/)";

} // namespace pellix

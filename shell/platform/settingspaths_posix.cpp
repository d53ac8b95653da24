#include "settingspaths.h"

#include "seam/filepath.h"

#include <QCoreApplication>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

namespace pellix {

bool FolderWritable(const std::filesystem::path& folder) {
    return ::access(folder.c_str(), W_OK) == 0;
}

bool FileWritable(const std::filesystem::path& path) {
    struct stat st {};
    // Root may write anything; a file without write bits is read-only all the same.
    return ::stat(path.c_str(), &st) == 0 && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 &&
           ::access(path.c_str(), W_OK) == 0;
}

std::filesystem::path ProgramFile() {
    // The file mapped where this code lies: the program itself, also where the
    // kernel started the dynamic loader and /proc/self/exe and Qt name that.
    const auto here = reinterpret_cast<std::uintptr_t>(&ProgramFile);
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);) {
        std::uintmax_t from = 0;
        std::uintmax_t to = 0;
        unsigned major = 0;
        unsigned minor = 0;
        std::uintmax_t inode = 0;
        int pathAt = 0;
        if (std::sscanf(line.c_str(), "%jx-%jx %*s %*s %x:%x %ju %n", &from, &to, &major, &minor,
                        &inode, &pathAt) < 5 ||
            here < from || here >= to || pathAt <= 0)
            continue;
        const std::filesystem::path file = line.substr(static_cast<std::size_t>(pathAt));
        struct stat st {};
        // The line's name is the file's only if it still names it (not deleted,
        // nothing in the name escaped).
        if (::stat(file.c_str(), &st) == 0 && st.st_ino == inode &&
            st.st_dev == makedev(major, minor))
            return file;
        break;
    }
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty())
        exe = SystemPath(QCoreApplication::applicationFilePath());
    return exe;
}

} // namespace pellix

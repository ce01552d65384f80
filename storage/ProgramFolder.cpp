#include "storage/ProgramFolder.h"

#include <filesystem>
#include <mutex>
#include <system_error>

namespace orvan {

namespace {

std::mutex g_folderMutex;
std::string g_folder; // empty: not set, use the executable's folder

std::string StripTrailingSeparators(std::string folder) {
    while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) {
        folder.pop_back();
    }
    return folder;
}

std::string ExecutableFolder() {
    std::error_code ec;
#ifndef _WIN32
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec && exe.has_parent_path()) {
        return StripTrailingSeparators(exe.parent_path().string());
    }
#endif
    const std::filesystem::path current = std::filesystem::current_path(ec);
    if (!ec) {
        return StripTrailingSeparators(current.string());
    }
    return ".";
}

} // namespace

std::string ProgramFolder() {
    std::lock_guard<std::mutex> lock(g_folderMutex);
    if (g_folder.empty()) {
        g_folder = ExecutableFolder();
    }
    return g_folder;
}

void SetProgramFolder(const std::string& folder) {
    std::lock_guard<std::mutex> lock(g_folderMutex);
    g_folder = folder.empty() ? std::string() : StripTrailingSeparators(folder);
}

std::string ProgramPath(const std::string& relative) {
    return ProgramFolder() + NativePath(relative);
}

std::string NativePath(const std::string& path) {
#ifdef _WIN32
    return path;
#else
    std::string native = path;
    for (char& c : native) {
        if (c == '\\') {
            c = '/';
        }
    }
    return native;
#endif
}

} // namespace orvan

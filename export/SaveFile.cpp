#include "export/SaveFile.h"

// Saving a file whole: what both systems share. The replacement itself is in SaveFilePosix.cpp
// and SaveFileWindows.cpp, the removal of temporaries on a signal in SaveCleanup.cpp.

#include "export/SaveFileParts.h"

#include <cstring>
#include <filesystem>

namespace orvek {

namespace saving {

std::string systemReason(int error) {
    const char* reason = std::strerror(error);
    return reason && *reason ? reason : "unknown error";
}

bool endsWithSeparator(const std::string& path) {
    if (path.empty()) return false;
    const char last = path.back();
#ifdef _WIN32
    return last == '/' || last == '\\';
#else
    return last == '/';
#endif
}

std::string nameForMessage(const std::string& path) {
    const std::string name = std::filesystem::u8path(path).filename().u8string();
    return name.empty() ? path : name;
}

Status nameFault(const std::string& path) {
    if (path.empty()) return Failure{"Could not save: no file name was given."};
    if (endsWithSeparator(path)) {
        return Failure{"Could not save " + path +
                       ": the name ends with a folder separator, so it names a folder, not a file."};
    }
    return {};
}

}  // namespace saving

Status saveFileAtomically(const std::string& path, std::string_view bytes) {
    return saveFile(path, [bytes](TextOutput& out) { out << bytes; });
}

Status saveFile(const std::string& path, const std::function<void(TextOutput&)>& write) {
    Expected<std::unique_ptr<FileSave>> save = FileSave::begin(path);
    if (!save) return Failure{save.error()};
    write(**save);
    return (*save)->commit();
}

}  // namespace orvek

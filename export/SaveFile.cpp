#include "export/SaveFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace orvek {

namespace {

std::string systemReason(int error) {
    std::string reason = std::strerror(error);
    return reason.empty() ? "unknown error" : reason;
}

}  // namespace

Status saveFileAtomically(const std::string& path, std::string_view bytes) {
    namespace fs = std::filesystem;
    const std::string name = fs::path(path).filename().string();
    const std::string temporary = path + ".saving";
    auto failure = [&](int error) { return Failure{"Could not save " + name + ": " + systemReason(error)}; };

    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) return failure(errno);
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    int error = written ? 0 : errno;
    if (std::fclose(file) != 0 && written) {
        written = false;
        error = errno;
    }
    if (!written) {
        std::remove(temporary.c_str());
        return failure(error);
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        error = errno;
        std::remove(temporary.c_str());
        return failure(error);
    }
    return {};
}

}  // namespace orvek

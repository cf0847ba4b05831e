#include "export/SaveFile.h"

// Saving a file whole on Windows: the bytes are gathered and written at commit() to a temporary
// beside the target, which MoveFileExW puts in place.

#include "export/SaveFileParts.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

namespace orvek {

namespace {

namespace fs = std::filesystem;

Status saveWhole(const std::string& path, std::string_view bytes, const std::string& shown) {
    if (Status fault = saving::nameFault(path); !fault) return fault;
    const std::string& name = shown;
    const auto failure = [&](const std::string& why) { return Failure{"Could not save " + name + ": " + why}; };

    std::error_code ec;
    fs::path target = fs::u8path(path);
    // A symbolic link is followed to the file it names.
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        const fs::path resolved = fs::weakly_canonical(target, ec);
        if (ec) return failure(ec.message());
        target = resolved;
    }
    const fs::file_status status = fs::status(target, ec);
    const bool exists = fs::exists(status);
    if (exists) {
        if (fs::is_directory(status)) return failure(saving::systemReason(EISDIR));
        if (!fs::is_regular_file(status)) return failure("it is not a regular file");
        if ((status.permissions() & fs::perms::owner_write) == fs::perms::none) return failure("the file is read-only");
    }

    // A unique temporary name beside the target, created exclusively.
    const fs::path folder = target.parent_path();
    std::random_device seed;
    std::mt19937_64 random(seed() ^ static_cast<std::uint64_t>(::GetCurrentProcessId()) ^ ::GetTickCount64());
    fs::path temporary;
    int fd = -1;
    int error = 0;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        char suffix[20];
        std::snprintf(suffix, sizeof suffix, ".%016llx", static_cast<unsigned long long>(random()));
        temporary = folder / (target.filename().wstring() + fs::u8path(suffix).wstring() + L".saving");
        fd = ::_wopen(temporary.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
        error = fd < 0 ? errno : 0;
        if (fd < 0 && error != EEXIST) break;
    }
    if (fd < 0) return failure(saving::systemReason(error));

    while (!bytes.empty() && error == 0) {
        const unsigned chunk = static_cast<unsigned>(std::min<std::size_t>(bytes.size(), 1u << 30));
        const int n = ::_write(fd, bytes.data(), chunk);
        if (n < 0) error = errno;
        else bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    if (error == 0 && ::_commit(fd) != 0) error = errno;
    if (::_close(fd) != 0 && error == 0) error = errno;
    if (error != 0) {
        ::_wremove(temporary.c_str());
        return failure(saving::systemReason(error));
    }
    // MoveFileExW replaces an existing file in one step (rename alone refuses to).
    if (!::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const std::string why = std::error_code(static_cast<int>(::GetLastError()), std::system_category()).message();
        ::_wremove(temporary.c_str());
        return failure(why);
    }
    return {};
}

}  // namespace

// On Windows the bytes are gathered and saved whole at commit().
struct FileSave::Parts {
    std::string path, shown, bytes;
};

FileSave::FileSave(std::unique_ptr<Parts> parts) : parts_(std::move(parts)) {}
FileSave::~FileSave() = default;

Expected<std::unique_ptr<FileSave>> FileSave::begin(const std::string& path, const std::string& shownName) {
    if (Status fault = saving::nameFault(path); !fault) return Failure{fault.error()};
    auto parts = std::make_unique<Parts>();
    parts->path = path;
    parts->shown = shownName.empty() ? saving::nameForMessage(path) : shownName;
    return std::unique_ptr<FileSave>(new FileSave(std::move(parts)));
}

void FileSave::write(std::string_view bytes) { parts_->bytes.append(bytes); }

Status FileSave::commit() { return saveWhole(parts_->path, parts_->bytes, parts_->shown); }

int ownDescriptor(const std::string&) { return -1; }

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return fs::equivalent(fs::u8path(a), fs::u8path(b), ec);
}

}  // namespace orvek

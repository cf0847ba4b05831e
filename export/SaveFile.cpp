#include "export/SaveFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>

#ifdef _WIN32
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <random>
#include <sys/stat.h>
#include <windows.h>
#else
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orvek {

namespace {

namespace fs = std::filesystem;

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

// How a message names the file: its name as the user knows it (the bare name for a path into a
// folder), or the whole text given when that has no file name part.
std::string nameForMessage(const std::string& path) {
    const std::string name = fs::u8path(path).filename().u8string();
    return name.empty() ? path : name;
}

// The checks that need no file system: an empty name, and one that names a folder.
Status nameFault(const std::string& path) {
    if (path.empty()) return Failure{"Could not save: no file name was given."};
    if (endsWithSeparator(path)) {
        return Failure{"Could not save " + path +
                       ": the name ends with a folder separator, so it names a folder, not a file."};
    }
    return {};
}

#ifndef _WIN32

// The file a path finally names: symbolic links are followed (relative ones from the link's own
// folder), a missing last part is fine (the file is new). Fails with the errno of the lookup.
int followLinks(std::string& path) {
    for (int depth = 0; depth < 40; ++depth) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0) return errno == ENOENT ? 0 : errno;
        if (!S_ISLNK(info.st_mode)) return 0;
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0) return errno;
        target.resize(static_cast<std::size_t>(n));
        const fs::path link(path);
        path = (fs::path(target).is_absolute() ? fs::path(target) : link.parent_path() / target).string();
    }
    return ELOOP;
}

// Why an existing file of this kind is not replaced, or an empty text for a regular file.
std::string kindFault(mode_t mode) {
    if (S_ISREG(mode)) return {};
    if (S_ISDIR(mode)) return systemReason(EISDIR);
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "it is a device, not a regular file";
    if (S_ISFIFO(mode)) return "it is a pipe (FIFO), not a regular file";
    if (S_ISSOCK(mode)) return "it is a socket, not a regular file";
    return "it is not a regular file";
}

// The permission bits a new file gets: 0666 less the process's file-creation mask. The mask can
// only be read by setting it, so that is done once, under a lock.
mode_t newFileMode() {
    static std::mutex lock;
    const std::lock_guard<std::mutex> guard(lock);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

// Writes all of `bytes`, going on after short writes and interruptions; the errno on failure.
int writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

#endif

}  // namespace

#ifndef _WIN32

Status saveFileAtomically(const std::string& path, std::string_view bytes) {
    if (Status fault = nameFault(path); !fault) return fault;
    const std::string name = nameForMessage(path);
    const auto failure = [&](const std::string& why) { return Failure{"Could not save " + name + ": " + why}; };

    std::string target = path;
    if (const int error = followLinks(target); error != 0) return failure(systemReason(error));

    // An existing target must be a regular file the user may write; its permission bits (and,
    // where allowed, its owner) pass to the new file.
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (!exists && errno != ENOENT) return failure(systemReason(errno));
    if (exists) {
        if (const std::string why = kindFault(existing.st_mode); !why.empty()) return failure(why);
        // Read-only for everyone: refused even where the system would let this user write (root).
        if ((existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return failure("the file is read-only");
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return failure(systemReason(errno));
    }

    // The temporary file: a unique name beside the target, created exclusively.
    const fs::path targetPath(target);
    const fs::path folder = targetPath.parent_path();
    std::string temporary = (folder / ("." + targetPath.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return failure(systemReason(errno));

    int error = 0;
    if (::fchmod(fd, exists ? static_cast<mode_t>(existing.st_mode & 07777) : newFileMode()) != 0) error = errno;
    if (exists && error == 0 && (existing.st_uid != ::geteuid() || existing.st_gid != ::getegid())) {
        // Keeping the owner is only possible for root (or for a group the user belongs to); a
        // file that changes hands otherwise is still this user's to write, so this is no failure.
        (void)!::fchown(fd, existing.st_uid, existing.st_gid);
    }
    if (error == 0) error = writeAll(fd, bytes);
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return failure(systemReason(error));
    }
    // The rename itself reaches the disk with the folder; a folder that cannot be synced (some
    // network file systems) leaves the file saved all the same.
    const int folderFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        (void)::fsync(folderFd);
        ::close(folderFd);
    }
    return {};
}

#else

Status saveFileAtomically(const std::string& path, std::string_view bytes) {
    if (Status fault = nameFault(path); !fault) return fault;
    const std::string name = nameForMessage(path);
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
        if (fs::is_directory(status)) return failure(systemReason(EISDIR));
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
    if (fd < 0) return failure(systemReason(error));

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
        return failure(systemReason(error));
    }
    // MoveFileExW replaces an existing file in one step (rename alone refuses to).
    if (!::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const std::string why = std::error_code(static_cast<int>(::GetLastError()), std::system_category()).message();
        ::_wremove(temporary.c_str());
        return failure(why);
    }
    return {};
}

#endif

}  // namespace orvek

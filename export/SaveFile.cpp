#include "export/SaveFile.h"

#include "export/DescriptorOutput.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <vector>

#ifdef _WIN32
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <random>
#include <sys/stat.h>
#include <windows.h>
#else
#include <atomic>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <random>
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

// How a message names the file by default: its name as the user knows it (the bare name for a
// path into a folder), or the whole text given when that has no file name part.
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

// --- temporaries removed on a fatal signal -------------------------------------------------
//
// Each save in progress holds a slot with its folder's descriptor and its temporary file's name,
// prepared before the file is made. A handler of SIGINT, SIGTERM and SIGHUP removes every such
// file (unlinkat is safe in a signal handler) and then lets the signal end the program as it
// would have.

struct CleanupSlot {
    std::atomic<int> folderFd{-1};  // -1 free, -2 being filled, else in use
    char name[NAME_MAX + 1] = {};
};

constexpr int CleanupSlots = 64;
CleanupSlot cleanupSlots[CleanupSlots];

extern "C" void removeTemporariesAndEnd(int signal) {
    for (CleanupSlot& slot : cleanupSlots) {
        const int fd = slot.folderFd.load();
        if (fd >= 0) ::unlinkat(fd, slot.name, 0);
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void installSignalHandling() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int s : {SIGINT, SIGTERM, SIGHUP}) {
            struct sigaction previous {};
            if (::sigaction(s, nullptr, &previous) != 0 || previous.sa_handler != SIG_DFL) continue;
            struct sigaction action {};
            action.sa_handler = removeTemporariesAndEnd;
            sigemptyset(&action.sa_mask);
            ::sigaction(s, &action, nullptr);
        }
        // Beyond a file-size limit a write fails with EFBIG, and the save cleans up as after any
        // failed write, instead of the process ending with the temporary file left.
        struct sigaction previous {};
        if (::sigaction(SIGXFSZ, nullptr, &previous) == 0 && previous.sa_handler == SIG_DFL) {
            std::signal(SIGXFSZ, SIG_IGN);
        }
    });
}

// A free slot for the folder and temporary name, or -1 when all are taken (the save then goes on
// without removal on a signal).
int claimSlot(int folderFd, const std::string& name) {
    for (int k = 0; k < CleanupSlots; ++k) {
        int expected = -1;
        if (cleanupSlots[k].folderFd.compare_exchange_strong(expected, -2)) {
            std::memcpy(cleanupSlots[k].name, name.c_str(), std::min(name.size() + 1, sizeof cleanupSlots[k].name));
            cleanupSlots[k].folderFd.store(folderFd);
            return k;
        }
    }
    return -1;
}

void releaseSlot(int slot) {
    if (slot >= 0) cleanupSlots[slot].folderFd.store(-1);
}

// ".NAME.XXXXXX" with six random letters and digits; NAME cut so the whole fits in NAME_MAX.
std::string temporaryName(const std::string& base, std::mt19937_64& random) {
    static constexpr char Letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::string name = "." + base.substr(0, NAME_MAX - 8) + ".";
    for (int k = 0; k < 6; ++k) name += Letters[random() % (sizeof Letters - 1)];
    return name;
}

#endif

}  // namespace

#ifndef _WIN32

struct FileSave::Parts {
    std::string shown;
    int folderFd = -1;
    int fd = -1;
    int slot = -1;
    std::string target;     // the file's name within the folder
    std::string temporary;  // the temporary file's name within the folder
    DescriptorBuffer out;   // the temporary file's bytes on their way
    bool committed = false;

    Failure failure(const std::string& why) const { return Failure{"Could not save " + shown + ": " + why}; }
    void discard() {
        if (fd >= 0) ::close(fd);
        fd = -1;
        if (!temporary.empty()) ::unlinkat(folderFd, temporary.c_str(), 0);
        releaseSlot(slot);
        slot = -1;
    }
};

FileSave::FileSave(std::unique_ptr<Parts> parts) : parts_(std::move(parts)) {}

FileSave::~FileSave() {
    if (!parts_) return;  // handed on to another FileSave
    if (!parts_->committed) parts_->discard();
    if (parts_->folderFd >= 0) ::close(parts_->folderFd);
}

Expected<std::unique_ptr<FileSave>> FileSave::begin(const std::string& path, const std::string& shownName) {
    if (Status fault = nameFault(path); !fault) return Failure{fault.error()};
    installSignalHandling();
    auto parts = std::make_unique<Parts>();
    parts->shown = shownName.empty() ? nameForMessage(path) : shownName;
    const auto failure = [&](const std::string& why) { return parts->failure(why); };

    std::string resolved = path;
    if (const int error = followLinks(resolved); error != 0) return failure(systemReason(error));
    const fs::path targetPath(resolved);
    const std::string folder = targetPath.parent_path().empty() ? "." : targetPath.parent_path().string();
    parts->target = targetPath.filename().string();

    parts->folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parts->folderFd < 0) {
        const int error = errno;
        if (error == ENOENT) return failure("the folder " + folder + " does not exist");
        if (error == ENOTDIR) return failure(folder + " is not a folder");
        return failure(systemReason(error));
    }
    // A FileSave made from here on closes the folder (and removes its temporary) when dropped.
    FileSave save(std::move(parts));
    Parts& p = *save.parts_;

    // An existing target must be a regular file the user may write; its owner (where allowed) and
    // permission bits pass to the new file.
    struct stat existing {};
    const bool exists = ::fstatat(p.folderFd, p.target.c_str(), &existing, 0) == 0;
    if (!exists && errno != ENOENT) return p.failure(systemReason(errno));
    if (exists) {
        if (const std::string why = kindFault(existing.st_mode); !why.empty()) return p.failure(why);
        // Read-only for everyone: refused even where the system would let this user write (root).
        if ((existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return p.failure("the file is read-only");
        if (::faccessat(p.folderFd, p.target.c_str(), W_OK, AT_EACCESS) != 0) return p.failure(systemReason(errno));
    }

    // The temporary file: a unique name beside the target, known to the signal handler before the
    // file exists, created exclusively.
    std::random_device seed;
    std::mt19937_64 random((static_cast<std::uint64_t>(seed()) << 32) ^ seed() ^
                           static_cast<std::uint64_t>(::getpid()));
    int error = EEXIST;
    for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
        p.temporary = temporaryName(p.target, random);
        p.slot = claimSlot(p.folderFd, p.temporary);
        p.fd = ::openat(p.folderFd, p.temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        error = p.fd < 0 ? errno : 0;
        if (p.fd < 0) {
            releaseSlot(p.slot);
            p.slot = -1;
        }
    }
    if (p.fd < 0) {
        p.temporary.clear();
        return p.failure(systemReason(error));
    }
    // The owner first: changing it clears the setuid and setgid bits, which the mode then sets.
    if (exists && (existing.st_uid != ::geteuid() || existing.st_gid != ::getegid())) {
        // Keeping the owner is only possible for root (or for a group the user belongs to); a file
        // that changes hands otherwise is still this user's to write, so this is no failure.
        (void)!::fchown(p.fd, existing.st_uid, existing.st_gid);
    }
    if (::fchmod(p.fd, exists ? static_cast<mode_t>(existing.st_mode & 07777) : newFileMode()) != 0) {
        return p.failure(systemReason(errno));
    }
    p.out.setDescriptor(p.fd);
    return std::unique_ptr<FileSave>(new FileSave(std::move(save.parts_)));
}

void FileSave::write(std::string_view bytes) {
    Parts& p = *parts_;
    if (!p.committed) p.out.write(bytes);
}

Status FileSave::commit() {
    Parts& p = *parts_;
    p.out.flush();
    int error = p.out.error();
    if (error == 0 && ::fsync(p.fd) != 0) error = errno;
    if (::close(p.fd) != 0 && error == 0) error = errno;
    p.fd = -1;
    if (error == 0 && ::renameat(p.folderFd, p.temporary.c_str(), p.folderFd, p.target.c_str()) != 0) error = errno;
    if (error != 0) {
        p.discard();
        p.committed = true;  // nothing more to remove
        return p.failure(systemReason(error));
    }
    p.committed = true;
    releaseSlot(p.slot);
    p.slot = -1;
    // The rename itself reaches the disk with the folder; a folder that cannot be synced (some
    // network file systems) leaves the file saved all the same.
    (void)::fsync(p.folderFd);
    return {};
}

int ownDescriptor(const std::string& path) {
    int fd = -1;
    if (path == "/dev/stdin") fd = 0;
    if (path == "/dev/stdout") fd = 1;
    if (path == "/dev/stderr") fd = 2;
    for (const char* prefix : {"/dev/fd/", "/proc/self/fd/"}) {
        const std::string p(prefix);
        if (path.size() > p.size() && path.compare(0, p.size(), p) == 0 &&
            path.find_first_not_of("0123456789", p.size()) == std::string::npos && path.size() - p.size() < 9) {
            fd = std::atoi(path.c_str() + p.size());
        }
    }
    if (fd >= 0) return ::fcntl(fd, F_GETFD) != -1 ? fd : -1;
    struct stat target {};
    if (::stat(path.c_str(), &target) != 0 || !S_ISREG(target.st_mode)) return -1;
    for (int own : {1, 2}) {
        struct stat open {};
        if (::fstat(own, &open) == 0 && open.st_dev == target.st_dev && open.st_ino == target.st_ino) return own;
    }
    return -1;
}

bool sameFile(const std::string& a, const std::string& b) {
    struct stat first {
    }, second{};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

#else

namespace {

Status saveWhole(const std::string& path, std::string_view bytes, const std::string& shown) {
    if (Status fault = nameFault(path); !fault) return fault;
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

}  // namespace

// On Windows the bytes are gathered and saved whole at commit().
struct FileSave::Parts {
    std::string path, shown, bytes;
};

FileSave::FileSave(std::unique_ptr<Parts> parts) : parts_(std::move(parts)) {}
FileSave::~FileSave() = default;

Expected<std::unique_ptr<FileSave>> FileSave::begin(const std::string& path, const std::string& shownName) {
    if (Status fault = nameFault(path); !fault) return Failure{fault.error()};
    auto parts = std::make_unique<Parts>();
    parts->path = path;
    parts->shown = shownName.empty() ? nameForMessage(path) : shownName;
    return std::unique_ptr<FileSave>(new FileSave(std::move(parts)));
}

void FileSave::write(std::string_view bytes) { parts_->bytes.append(bytes); }

Status FileSave::commit() { return saveWhole(parts_->path, parts_->bytes, parts_->shown); }

int ownDescriptor(const std::string&) { return -1; }

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return fs::equivalent(fs::u8path(a), fs::u8path(b), ec);
}

#endif

Status saveFileAtomically(const std::string& path, std::string_view bytes) {
    Expected<std::unique_ptr<FileSave>> save = FileSave::begin(path);
    if (!save) return Failure{save.error()};
    (*save)->write(bytes);
    return (*save)->commit();
}

}  // namespace orvek

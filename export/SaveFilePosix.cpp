#include "export/SaveFile.h"

// Saving a file whole on POSIX systems: a hidden temporary beside the target, made, renamed and
// removed relative to the folder's descriptor.

#include "export/DescriptorOutput.h"
#include "export/SaveCleanup.h"
#include "export/SaveFileParts.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvek {

namespace {

namespace fs = std::filesystem;

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
    if (S_ISDIR(mode)) return saving::systemReason(EISDIR);
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

// ".NAME.XXXXXX" with six random letters and digits; NAME cut so the whole fits in NAME_MAX.
std::string temporaryName(const std::string& base, std::mt19937_64& random) {
    static constexpr char Letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::string name = "." + base.substr(0, NAME_MAX - 8) + ".";
    for (int k = 0; k < 6; ++k) name += Letters[random() % (sizeof Letters - 1)];
    return name;
}

}  // namespace

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
        saving::releaseCleanupSlot(slot);
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
    if (Status fault = saving::nameFault(path); !fault) return Failure{fault.error()};
    auto parts = std::make_unique<Parts>();
    parts->shown = shownName.empty() ? saving::nameForMessage(path) : shownName;
    const auto failure = [&](const std::string& why) { return parts->failure(why); };

    std::string resolved = path;
    if (const int error = followLinks(resolved); error != 0) return failure(saving::systemReason(error));
    const fs::path targetPath(resolved);
    const std::string folder = targetPath.parent_path().empty() ? "." : targetPath.parent_path().string();
    parts->target = targetPath.filename().string();

    parts->folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parts->folderFd < 0) {
        const int error = errno;
        if (error == ENOENT) return failure("the folder " + folder + " does not exist");
        if (error == ENOTDIR) return failure(folder + " is not a folder");
        return failure(saving::systemReason(error));
    }
    // A FileSave made from here on closes the folder (and removes its temporary) when dropped.
    FileSave save(std::move(parts));
    Parts& p = *save.parts_;

    // An existing target must be a regular file the user may write; its owner (where allowed) and
    // permission bits pass to the new file.
    struct stat existing {};
    const bool exists = ::fstatat(p.folderFd, p.target.c_str(), &existing, 0) == 0;
    if (!exists && errno != ENOENT) return p.failure(saving::systemReason(errno));
    if (exists) {
        if (const std::string why = kindFault(existing.st_mode); !why.empty()) return p.failure(why);
        // Read-only for everyone: refused even where the system would let this user write (root).
        if ((existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return p.failure("the file is read-only");
        if (::faccessat(p.folderFd, p.target.c_str(), W_OK, AT_EACCESS) != 0)
            return p.failure(saving::systemReason(errno));
    }

    // The temporary file: a unique name beside the target, known to the signal handler before the
    // file exists, created exclusively.
    std::random_device seed;
    std::mt19937_64 random((static_cast<std::uint64_t>(seed()) << 32) ^ seed() ^
                           static_cast<std::uint64_t>(::getpid()));
    int error = EEXIST;
    for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
        p.temporary = temporaryName(p.target, random);
        p.slot = saving::claimCleanupSlot(p.folderFd, p.temporary);
        p.fd = ::openat(p.folderFd, p.temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        error = p.fd < 0 ? errno : 0;
        if (p.fd < 0) {
            saving::releaseCleanupSlot(p.slot);
            p.slot = -1;
        }
    }
    if (p.fd < 0) {
        p.temporary.clear();
        return p.failure(saving::systemReason(error));
    }
    // The owner first: changing it clears the setuid and setgid bits, which the mode then sets.
    if (exists && (existing.st_uid != ::geteuid() || existing.st_gid != ::getegid())) {
        // Keeping the owner is only possible for root (or for a group the user belongs to); a file
        // that changes hands otherwise is still this user's to write, so this is no failure.
        (void)!::fchown(p.fd, existing.st_uid, existing.st_gid);
    }
    if (::fchmod(p.fd, exists ? static_cast<mode_t>(existing.st_mode & 07777) : newFileMode()) != 0) {
        return p.failure(saving::systemReason(errno));
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
        return p.failure(saving::systemReason(error));
    }
    p.committed = true;
    saving::releaseCleanupSlot(p.slot);
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

}  // namespace orvek

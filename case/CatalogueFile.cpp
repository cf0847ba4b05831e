#include "case/Catalogue.h"

// Reading the catalogue from its file: a regular file only, in blocks of fixed size.

#include <vector>

#ifdef _WIN32
#include <filesystem>
#include <fstream>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orvek {

namespace {

constexpr std::size_t BlockSize = std::size_t{64} * 1024;

}  // namespace

#ifdef _WIN32

Expected<Catalogue> loadCatalogueFile(const std::string& path, std::string_view name) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::u8path(path), error)) return Failure{catalogueMissing(name)};
    std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
    if (!in) return Failure{catalogueMissing(name)};
    std::vector<char> buffer(BlockSize);
    return readCatalogueBlocks(
        [&](std::string_view& block) {
            in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
            if (in.bad()) return false;
            block = std::string_view(buffer.data(), static_cast<std::size_t>(in.gcount()));
            return true;
        },
        name);
}

#else

Expected<Catalogue> loadCatalogueFile(const std::string& path, std::string_view name) {
    // Non-blocking, so that a pipe of this name with no writer cannot hold the start-up; only a
    // regular file is read, judged on the opened descriptor itself.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return Failure{catalogueMissing(name)};
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return Failure{catalogueMissing(name)};
    std::vector<char> buffer(BlockSize);
    return readCatalogueBlocks(
        [&](std::string_view& block) {
            // Full blocks until the end, so the first block shows the file's start whole.
            std::size_t filled = 0;
            while (filled < buffer.size()) {
                const ssize_t n = ::read(fd, buffer.data() + filled, buffer.size() - filled);
                if (n < 0 && errno == EINTR) continue;
                if (n < 0) return false;
                if (n == 0) break;
                filled += static_cast<std::size_t>(n);
            }
            block = std::string_view(buffer.data(), filled);
            return true;
        },
        name);
}

#endif

}  // namespace orvek

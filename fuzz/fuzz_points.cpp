// Fuzzes the point-file reader of orvek-batch field --points with arbitrary file contents. Besides
// finding crashes and undefined behaviour, it checks what the reader promises: finite points, a
// message of bounded length without control characters, and the same points and message whatever
// blocks the stream arrives in.

#include "case/PointFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace {

struct Read {
    std::vector<double> x, y;
    orvek::Status status;
};

Read readInBlocks(std::string_view bytes, std::size_t firstBlock, std::size_t blockSize, std::size_t pointBlock) {
    Read r;
    std::size_t at = 0;
    r.status = orvek::readPointBlocks(
        [&](std::string_view& block) {
            const std::size_t n = std::min(at == 0 ? firstBlock : blockSize, bytes.size() - at);
            block = bytes.substr(at, n);
            at += n;
            return true;
        },
        "points.csv", pointBlock, [&](const double* x, const double* y, std::size_t count) {
            if (count == 0 || count > pointBlock) std::abort();
            r.x.insert(r.x.end(), x, x + count);
            r.y.insert(r.y.end(), y, y + count);
        });
    return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Read whole = readInBlocks(bytes, size, size, 1024);
    for (std::size_t k = 0; k < whole.x.size(); ++k) {
        if (!std::isfinite(whole.x[k]) || !std::isfinite(whole.y[k])) std::abort();
    }
    if (!whole.status) {
        const std::string& message = whole.status.error();
        if (message.size() > 300) std::abort();
        for (const char c : message) {
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) std::abort();
        }
    }
    // The same bytes in small blocks, whose sizes come from the input's last byte, so line ends and
    // byte-order marks fall across block boundaries; and the points handed on a few at a time.
    const std::size_t blockSize = size > 0 ? 1 + data[size - 1] % 13 : 1;
    const Read cut = readInBlocks(bytes, blockSize, blockSize, 1 + blockSize % 4);
    if (cut.x != whole.x || cut.y != whole.y || cut.status.ok() != whole.status.ok()) std::abort();
    if (!whole.status && cut.status.error() != whole.status.error()) std::abort();
    return 0;
}

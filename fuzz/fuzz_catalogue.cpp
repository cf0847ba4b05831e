// Fuzzes the catalogue reader with arbitrary file contents. Besides finding crashes and undefined
// behaviour, it checks what the reader promises: at most 50 airfoils, finite numbers, a problem
// line within the lines read, and the same catalogue whatever blocks the stream arrives in.

#include "case/Catalogue.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

bool sameCatalogue(const orvek::Expected<orvek::Catalogue>& a, const orvek::Expected<orvek::Catalogue>& b) {
    if (a.ok() != b.ok()) return false;
    if (!a) return a.error() == b.error();
    if (a->title != b->title || a->rows.size() != b->rows.size()) return false;
    for (std::size_t k = 0; k < a->rows.size(); ++k) {
        if (a->rows[k].text != b->rows[k].text || a->rows[k].airfoil != b->rows[k].airfoil) return false;
    }
    if (a->problem.has_value() != b->problem.has_value()) return false;
    return !a->problem || (a->problem->lineNumber == b->problem->lineNumber && a->problem->text == b->problem->text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const orvek::Expected<orvek::Catalogue> whole = orvek::readCatalogue(bytes);
    if (whole) {
        if (whole->rows.size() > 50) std::abort();
        for (const orvek::CatalogueRow& row : whole->rows) {
            for (double v : {row.geometry.thickness, row.geometry.camber, row.geometry.thicknessPosition,
                             row.geometry.teAngleDegrees, row.airfoil.F, row.airfoil.G, row.airfoil.m}) {
                if (!std::isfinite(v)) std::abort();
            }
        }
        if (whole->problem && (whole->problem->lineNumber < 1 || whole->problem->lineNumber > 51)) std::abort();
    }

    // The same bytes in blocks whose sizes come from the input's last byte: 512 bytes first, by
    // which the encoding is judged, then small ones, so line ends fall across block boundaries.
    const std::size_t blockSize = size > 0 ? 1 + data[size - 1] % 13 : 1;
    std::size_t at = 0;
    const orvek::Expected<orvek::Catalogue> cut = orvek::readCatalogueBlocks([&](std::string_view& block) {
        const std::size_t n = std::min(at == 0 ? std::size_t(512) : blockSize, size - at);
        block = bytes.substr(at, n);
        at += n;
        return true;
    });
    if (!sameCatalogue(whole, cut)) std::abort();
    return 0;
}

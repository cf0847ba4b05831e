#include "export/VtkGrid.h"

#include "solver/ShortestText.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace orvek {

namespace {

// A double as the format stores it: its IEEE 754 bytes, most significant first.
void putBigEndian(char* to, double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int k = 7; k >= 0; --k) {
        to[k] = static_cast<char>(bits & 0xFFu);
        bits >>= 8;
    }
}

}  // namespace

VtkGridFile::VtkGridFile(const GridShape& shape, const std::string& title) : shape_(shape) {
    std::string line = title.substr(0, 255);
    for (char& ch : line) {
        if (ch == '\n' || ch == '\r') ch = ' ';
    }
    const std::size_t n = shape.nx * shape.ny;
    const std::string count = std::to_string(n);
    std::string header = "# vtk DataFile Version 3.0\n" + line + "\nBINARY\nDATASET STRUCTURED_POINTS\n";
    header += "DIMENSIONS " + std::to_string(shape.nx) + " " + std::to_string(shape.ny) + " 1\n";
    header += "ORIGIN " + shortestText(shape.x0) + " " + shortestText(shape.y0) + " 0\n";
    header += "SPACING " + shortestText(shape.dx) + " " + shortestText(shape.dy) + " 1\n";
    header += "POINT_DATA " + count + "\nVECTORS velocity double\n";
    const std::string cpHeader = "\nSCALARS Cp double 1\nLOOKUP_TABLE default\n";
    const std::string psiHeader = "\nSCALARS psi double 1\nLOOKUP_TABLE default\n";
    const std::string bodyHeader = "\nSCALARS body unsigned_char 1\nLOOKUP_TABLE default\n";
    velocityAt_ = header.size();
    cpAt_ = velocityAt_ + 24 * n + cpHeader.size();
    psiAt_ = cpAt_ + 8 * n + psiHeader.size();
    bodyAt_ = psiAt_ + 8 * n + bodyHeader.size();
    bytes_.assign(bodyAt_ + n + 1, '\0');
    header.copy(bytes_.data(), header.size());
    cpHeader.copy(&bytes_[cpAt_ - cpHeader.size()], cpHeader.size());
    psiHeader.copy(&bytes_[psiAt_ - psiHeader.size()], psiHeader.size());
    bodyHeader.copy(&bytes_[bodyAt_ - bodyHeader.size()], bodyHeader.size());
    bytes_.back() = '\n';
}

void VtkGridFile::setPoints(std::size_t first, std::size_t count, const double* u, const double* v, const double* cp,
                            const double* psi) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t k = first + i;
        char* vel = &bytes_[velocityAt_ + 24 * k];
        putBigEndian(vel, u[i]);
        putBigEndian(vel + 8, v[i]);
        putBigEndian(vel + 16, 0.0);
        putBigEndian(&bytes_[cpAt_ + 8 * k], cp[i]);
        putBigEndian(&bytes_[psiAt_ + 8 * k], psi[i]);
        bytes_[bodyAt_ + k] = std::isnan(u[i]) ? '\1' : '\0';
    }
}

}  // namespace orvek

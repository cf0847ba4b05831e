#pragma once
// The airfoil catalogue "ORVEK_Input.txt": a title line, then one airfoil per line with seven
// comma-separated numbers Delta, Gama, xDltC, Tau, F, G, m.

#include "case/CaseState.h"
#include "solver/Expected.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvek {

inline constexpr const char* CatalogueFileName = "ORVEK_Input.txt";

// The message for a catalogue that cannot be read or holds nothing.
inline constexpr const char* CatalogueMissing = "ORVEK_Input.txt dosyası bulunamadı";

struct CatalogueRow {
    double Delta = 0, Gama = 0, xDltC = 0, Tau = 0, F = 0, G = 0, m = 0;
    std::string text;  // the line as in the file, decoded to UTF-8 for display
};

// A line that stopped loading early, so the airfoils after it were lost.
struct CatalogueProblem {
    int lineNumber = 0;  // 1-based line of the file
    std::string what;    // "expected 7 numbers, found 6", "field 3 is not a number"
    std::string message() const;
};

struct Catalogue {
    std::string title;
    std::vector<CatalogueRow> rows;  // at most 50
    std::optional<CatalogueProblem> problem;
};

// Reads the catalogue from the file's bytes, line by line. Lines end with CR LF or LF; the last
// may have no line end. Loading stops at the first line that is not a row of seven numbers
// (reported in `problem`, unless only blank lines follow) and after the 50th airfoil (silently).
// Empty bytes fail with CatalogueMissing.
Expected<Catalogue> readCatalogue(std::string_view bytes);

// Reads the file and then its bytes; a file that cannot be opened or is empty fails with
// CatalogueMissing.
Expected<Catalogue> loadCatalogueFile(const std::string& path);

// Decodes one line for display: as UTF-8 where it is valid UTF-8, as Windows-1252 otherwise.
std::string displayText(std::string_view line);

// Start-up: the catalogue tables of the case state, in file order.
void storeCatalogue(CaseState& state, const Catalogue& catalogue);

}  // namespace orvek

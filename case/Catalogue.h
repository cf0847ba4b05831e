#pragma once
// The airfoil catalogue "ORVEK_Input.txt": a title line, then one airfoil per line with seven
// comma-separated numbers Delta, Gama, xDltC, Tau, F, G, m.

#include "case/CaseState.h"
#include "case/LineReader.h"
#include "case/TextEncoding.h"
#include "solver/Expected.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvek {

inline constexpr const char* CatalogueFileName = "ORVEK_Input.txt";

// The messages of the window, for the catalogue ORVEK_Input.txt. For a catalogue of another name
// the same sentences name that file instead (catalogueMissing and the others below).

// The message for a catalogue that cannot be read or holds nothing: no file of that name, one the
// user may not read, an empty file, and anything that is not a regular file (a folder, a pipe, a
// device).
inline constexpr const char* CatalogueMissing = "ORVEK_Input.txt dosyası bulunamadı";

// A file saved as UTF-16 (recognised by its byte-order mark or by zero bytes between the letters).
inline constexpr const char* CatalogueUtf16 =
    "ORVEK_Input.txt is saved as UTF-16 (Unicode) text, which cannot be read; save it again as plain "
    "text (UTF-8 or ANSI) and restart the program.";

// A file holding zero bytes in no UTF-16 pattern: no text at all.
inline constexpr const char* CatalogueNotText =
    "ORVEK_Input.txt holds zero bytes, so it is not a text file; no airfoils were loaded.";

// The same sentences for a catalogue of any name (the window's own for CatalogueFileName).
std::string catalogueMissing(std::string_view name);
std::string catalogueUtf16(std::string_view name);
std::string catalogueNotText(std::string_view name);

// The longest line read, in bytes without its line end. A line of seven numbers needs a few dozen;
// a longer line is reported as malformed, and the loader never holds more than the title and 50
// airfoil lines of this length, however large the file.
inline constexpr std::size_t MaxCatalogueLineLength = 4096;

// A line that stopped loading early, so the airfoils after it were lost.
struct CatalogueProblem {
    int lineNumber = 0;  // 1-based line of the file
    // The sentence for the user, naming the file and the line: "ORVEK_Input.txt, line 3: expected
    // 7 numbers, found 6; the airfoils from this line on were not loaded."
    std::string text;
    const std::string& message() const { return text; }
};

struct Catalogue {
    std::string title;
    std::vector<CatalogueRow> rows;  // at most 50
    std::optional<CatalogueProblem> problem;
};

// Reads the catalogue from the file's bytes, line by line. A line ends with CR LF, LF or a lone CR
// (CRs directly before an LF belong to that line end, so CR CR LF is one line end too); the last
// line may have no line end. Loading stops at the first line that is not a row of seven numbers or
// is longer than MaxCatalogueLineLength (reported in `problem`, unless only blank lines follow up
// to the 51st line) and after the 50th airfoil (silently); nothing after that line is looked at.
// Empty bytes fail with CatalogueMissing, UTF-16 with CatalogueUtf16, other zero bytes at the start
// with CatalogueNotText. A UTF-8 byte-order mark is skipped. Every message names the file `name`.
Expected<Catalogue> readCatalogue(std::string_view bytes, std::string_view name = CatalogueFileName);

// The same from the file at `path`, read as a stream in small blocks: the same results as
// readCatalogue of its bytes, at a cost bounded by the line-length limit whatever the file's size.
// Opens only a regular file and never waits for one (a pipe or device of that name fails at once);
// anything that cannot be opened or read fails with CatalogueMissing. The messages name the file
// `name`: the window's ORVEK_Input.txt, or the path as the user gave it.
Expected<Catalogue> loadCatalogueFile(const std::string& path, std::string_view name = CatalogueFileName);

// The reader behind both: the catalogue from a stream handed out in blocks by `source` (false on
// a read error, an empty block at the end). Any block sizes give the same catalogue, as long as the
// first block holds the first 512 bytes (or the whole stream), by which the encoding is judged.
Expected<Catalogue> readCatalogueBlocks(const BlockSource& source, std::string_view name = CatalogueFileName);

// Start-up: the catalogue tables of the case state, in file order.
void storeCatalogue(CaseState& state, const Catalogue& catalogue);

}  // namespace orvek

#include "case/Catalogue.h"

// Start-up: the catalogue copied into the case state's tables.

#include <algorithm>

namespace orvek {

void storeCatalogue(CaseState& state, const Catalogue& catalogue) {
    state.AirfoilRow[0].text = catalogue.title;
    state.AirfoilCount = static_cast<int>(std::min<std::size_t>(catalogue.rows.size(), MaxAirfoils));
    std::copy_n(catalogue.rows.begin(), state.AirfoilCount, state.AirfoilRow.begin() + 1);
}

}  // namespace orvek

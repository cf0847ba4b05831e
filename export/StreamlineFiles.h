#pragma once
// Streamlines for other programs and for slides: CSV "line,psi,x,y" (lines numbered from 1,
// points in order along each line), or an SVG picture of the lines over the extent with the body
// filled and the stagnation points marked.

#include "export/TextOutput.h"
#include "solver/flow/Streamlines.h"

#include <string>
#include <vector>

namespace orvek {

void writeStreamlinesCsv(TextOutput& out, const std::vector<Streamline>& lines);

struct StreamlinePicture {
    Extent extent;                      // the region shown
    std::vector<FlowPoint> body;        // the closed outline, filled
    std::vector<FlowPoint> stagnation;  // marked with dots
    std::string title;                  // the picture's title element
};

// The picture is 960 pixels wide and as high as the extent's shape asks; the dividing
// streamline is drawn stronger than the others. Both files are written a line at a time.
void writeStreamlinesSvg(TextOutput& out, const std::vector<Streamline>& lines, const StreamlinePicture& picture);

}  // namespace orvek

#pragma once
// One view of the flow about an airfoil, computed for a size and then painted from what was
// computed: the pressure coefficient as colours on a grid of points (the core's vector kernels,
// one point per pixel or coarser), the streamlines of the view's extent refined to its scale (the
// dividing streamline stronger), the body filled, the stagnation points, velocity arrows on a
// coarse grid, and a colour bar with its scale (fixed, or the range of Cp in view: the highest and
// nearly the lowest, so the infinite speed at a sharp trailing edge under a circulation set by
// hand does not squeeze the rest into one colour). Each layer can be left out. No widget: the
// window, its pictures and the tests draw with it.
//
// In the circle plane a point has the colour of its image in the airfoil plane (the pressure there),
// so the picture shows where each part of the airfoil's flow comes from; the streamlines are the
// same levels of psi, which the mapping keeps; the arrows are the circle plane's own velocity.

#include "flow/ColourMap.h"
#include "flow/LayerPlaces.h"
#include "flow/FlowView.h"
#include "solver/flow/FlowField.h"
#include "solver/flow/Streamlines.h"

#include <QImage>
#include <QPointF>
#include <QSize>
#include <QVector>

#include <vector>

class QPainter;

struct FlowLayers {
    bool colours = true, streamlines = true, body = true, stagnation = true, arrows = false;
    // The colour scale: fixed (Cp from -2 to 1, a colour the same pressure in every view) or the
    // range of Cp in view.
    bool fitScale = false;
};

// The viscous estimate over the airfoil plane: the displacement surface of each side and the
// transition and separation points with their labels; empty when the window has no Reynolds number.
struct LayerOverlay {
    QVector<QVector<QPointF>> displacement;
    QVector<qsizetype> separatedFrom;  // per side, the first point past separation (or its size)
    QVector<LayerPlace> places;
    bool empty() const { return displacement.isEmpty() && places.isEmpty(); }
};

struct FlowScene {
    orvek::StreamPlane plane = orvek::StreamPlane::Airfoil;
    FlowView view;
    QSize size{600, 400};  // logical pixels
    FlowLayers layers;
    int lineCount = 21;
    // Points of the colour grid per logical pixel along each axis: the device pixel ratio for a
    // picture, less on the screen when a coarser grid keeps a redraw fluid.
    double density = 1;
    LayerOverlay overlay;  // drawn in the airfoil plane only
    // How much coarser than the picture's the streamlines and the outline are refined: 1 for the
    // picture, more for the preview drawn while it is being computed.
    double coarseness = 1;
};

class FlowPicture {
public:
    void compute(const orvek::FlowField& field, const FlowScene& scene);
    // Paints onto the rectangle of scene().size logical pixels at the painter's origin.
    void paint(QPainter& painter) const;

    const FlowScene& scene() const { return scene_; }
    const QImage& colours() const { return colours_; }
    const std::vector<orvek::Streamline>& lines() const { return lines_; }
    const std::vector<orvek::FlowPoint>& body() const { return body_; }
    // In the plane shown.
    const std::vector<orvek::FlowPoint>& stagnationPoints() const { return stagnation_; }
    const CpScale& cpScale() const { return scale_; }

    // The colours of the drawing, for whoever checks it.
    static QColor streamlineColour(bool dividing, bool overColours);
    static QColor bodyColour();
    static QColor displacementColour();

private:
    void computeColours(const orvek::FlowField& field);
    void computeArrows(const orvek::FlowField& field);
    void paintColourBar(QPainter& painter) const;
    void paintArrows(QPainter& painter) const;
    void paintOverlay(QPainter& painter) const;

    struct Arrow {
        QPointF at;        // plane
        QPointF velocity;  // relative to the free stream's speed
    };
    FlowScene scene_;
    CpScale scale_;
    QImage colours_;
    std::vector<orvek::Streamline> lines_;
    std::vector<orvek::FlowPoint> body_;
    std::vector<orvek::FlowPoint> stagnation_;
    std::vector<Arrow> arrows_;
    orvek::FlowSamples grid_;  // the colour grid, kept from one view to the next
};

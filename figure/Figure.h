#pragma once
// A figure as plain data: one plot area with two axes (linear or
// logarithmic), the things drawn in it in data coordinates, labels, a legend,
// and texts around it. A figure kind (the two-nuclide diagram, ...) fills one
// in; the renderer (figure/FigureRenderer.h) draws it the same way to PNG,
// SVG and the screen. Sizes of lines, markers and texts are in points
// (1/72 inch) of the printed figure; texts are UTF-8 and may hold Unicode
// superscripts (¹⁰Be) and signs (±, −).

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace qex::figure {

struct Point {
    double x = 0.0;
    double y = 0.0;
};

// Components from 0 to 1; alpha 1 is opaque.
struct Color {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
    double a = 1.0;
};

enum class Scale { Linear, Log10 };

struct Axis {
    std::string label = {};
    Scale scale = Scale::Linear;
    double minimum = 0.0; // data units; positive on a logarithmic axis
    double maximum = 1.0;
};

struct Stroke {
    Color color = {};
    double width = 1.0;          // pt
    std::vector<double> dashes = {};  // on, off, ... (pt); empty: solid
};

enum class MarkerShape { Circle, Square, Diamond, Triangle, Cross };

struct Marker {
    MarkerShape shape = MarkerShape::Circle;
    double size = 5.0;                 // across, pt
    std::optional<Color> fill = {};         // none: open
    std::optional<Stroke> outline = {};
};

// A line through points in order; a point a logarithmic axis cannot show
// (zero or negative) breaks it.
struct Polyline {
    std::vector<Point> points = {};
    Stroke stroke = {};
};

// A closed, filled area (a band: its upper edge, then its lower edge reversed).
struct Polygon {
    std::vector<Point> points = {};
    Color fill = {};
    std::optional<Stroke> outline = {};
};

struct Markers {
    std::vector<Point> points = {};
    Marker marker = {};
};

// Bars of lower and upper extent around each point (data units, >= 0); an
// empty vector draws no bars in that direction.
struct ErrorBars {
    std::vector<Point> points = {};
    std::vector<double> xLow = {}, xHigh = {}, yLow = {}, yHigh = {};
    Stroke stroke = {};
    double cap = 0.0; // width of the bars' end caps, pt
};

// The ellipse (p - c)^T C^-1 (p - c) = scale^2 of a covariance C, traced in
// data coordinates (so it bends on a logarithmic axis as the data would).
struct Ellipse {
    Point center = {};
    double varianceX = 0.0;
    double covarianceXY = 0.0;
    double varianceY = 0.0;
    double scale = 1.0;
    std::optional<Color> fill = {};
    std::optional<Stroke> outline = {};
};

// Where a text's point lies on its box.
enum class Anchor { Left, Center, Right, BottomLeft, Bottom, BottomRight, TopLeft, Top, TopRight };

// A text at a data point, moved by an offset (pt, x right, y up) and turned
// counter-clockwise by `rotation` degrees. With a halo it is drawn over a
// white outline, so it stays readable across lines. An unturned label whose
// point is in view is moved as little as needed to be read whole inside the
// plot area.
struct Label {
    Point at = {};
    std::string text = {};
    double size = 7.0; // pt
    Color color = {};
    Anchor anchor = Anchor::Left;
    double dx = 0.0;
    double dy = 0.0;
    double rotation = 0.0;
    bool halo = true;
    bool optional = false; // left out where it would cover another label (a line's label, not a sample's)
};

using Item = std::variant<Polyline, Polygon, Markers, ErrorBars, Ellipse, Label>;

// What a legend entry's swatch shows: any of a line, a filled patch (an
// ellipse when `round`) and a marker, drawn in that order.
struct Swatch {
    std::optional<Stroke> line = {};
    std::optional<Color> patch = {};
    std::optional<Stroke> patchOutline = {};
    bool round = false;
    std::optional<Marker> marker = {};
};

struct LegendEntry {
    std::string text = {};
    Swatch swatch = {};
};

enum class LegendPlace { Best, TopLeft, TopRight, BottomLeft, BottomRight };

struct Legend {
    std::vector<LegendEntry> entries = {};
    LegendPlace place = LegendPlace::Best; // Best: the inner corner the data leave emptiest
};

struct Figure {
    double widthMm = 170.0; // a two-column figure
    double heightMm = 110.0;
    std::string title = {};      // above the plot area; empty for none (journals set their own captions)
    std::string note = {};       // one small line below it all: what made the figure; empty for none
    double fontSize = 9.0;  // axis labels, pt; tick labels one point smaller
    Axis x = {};
    Axis y = {};
    std::vector<Item> items = {}; // drawn in order, clipped to the plot area; labels over all the rest
    Legend legend = {};
};

} // namespace qex::figure

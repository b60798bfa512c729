#pragma once
// What a plot shows of its data: the window of its two axes (zoomed or not),
// the geometry cut to that window, and round tick steps for it. An exported
// figure draws the data already cut to the window, so it needs no clipping
// from the drawing surface (an SVG file has none) and shows exactly what the
// screen shows.

#include "proxy/PlotData.h"

#include <string>
#include <vector>

namespace qex {

enum class AxisScale { Linear, Log10 };

// The window of a plot: the two axis ranges and how each maps its values.
// A line drawn straight between two points is straight in the axes' scale,
// so cuts are made there (in log10 of the value on a logarithmic axis).
struct PlotWindow {
    AxisRange x;
    AxisRange y;
    AxisScale xScale = AxisScale::Linear;
    AxisScale yScale = AxisScale::Linear;
};

// The pieces of a polyline inside the window (edges included), each a
// polyline of its own: a line that leaves the window and comes back is split.
std::vector<std::vector<PlotPoint>> ClipPolyline(const std::vector<PlotPoint>& line, const PlotWindow& window);

// The points inside the window (edges included).
std::vector<PlotPoint> PointsInWindow(const std::vector<PlotPoint>& points, const PlotWindow& window);

// One boundary of a filled area whose boundaries run from left to right (x
// never decreasing): cut to the window's x range and held to its y range,
// with a point added wherever it crosses the top or bottom. The area between
// two boundaries so cut is the portion of the area inside the window.
std::vector<PlotPoint> ClipAreaBoundary(const std::vector<PlotPoint>& boundary, const PlotWindow& window);

// A round step between ticks (1, 2 or 5 times a power of ten) giving about
// `ticks` ticks over [minimum, maximum]; 1 when the range is empty.
double RoundTickStep(double minimum, double maximum, int ticks = 6);

// A labelled tick of a logarithmic axis: its value and its label in powers
// of ten as a paper prints them ("10⁶", "2×10⁵", "1.25×10⁶"; UTF-8).
struct LogTick {
    double value = 0.0;
    std::string label;
};
// The labelled ticks of a logarithmic axis over [minimum, maximum] (both
// positive): the whole decades, at most about eight of them; where fewer
// than two decades lie inside, 1, 2 and 5 times them, or every digit, where
// that gives three labels at least; otherwise round steps, so that a zoomed
// axis keeps labels across it.
std::vector<LogTick> LogAxisTicks(double minimum, double maximum);

} // namespace qex

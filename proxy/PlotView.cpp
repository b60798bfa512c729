#include "proxy/PlotView.h"

#include "core/Format.h"

#include <algorithm>
#include <cmath>

namespace qex {

namespace {

// Values in the axis' own scale, where drawn lines are straight.
double ToAxis(double value, AxisScale scale)
{
    return scale == AxisScale::Log10 ? std::log10(value) : value;
}

double FromAxis(double value, AxisScale scale)
{
    return scale == AxisScale::Log10 ? std::pow(10.0, value) : value;
}

struct Box {
    double x0, x1, y0, y1;
};

Box AxisBox(const PlotWindow& w)
{
    return {ToAxis(w.x.minimum, w.xScale), ToAxis(w.x.maximum, w.xScale), ToAxis(w.y.minimum, w.yScale),
            ToAxis(w.y.maximum, w.yScale)};
}

struct AxisPoint {
    double x, y;
};

AxisPoint ToAxis(const PlotPoint& p, const PlotWindow& w)
{
    return {ToAxis(p.x, w.xScale), ToAxis(p.y, w.yScale)};
}

PlotPoint FromAxis(const AxisPoint& p, const PlotWindow& w)
{
    return {FromAxis(p.x, w.xScale), FromAxis(p.y, w.yScale)};
}

bool Inside(const AxisPoint& p, const Box& b)
{
    return p.x >= b.x0 && p.x <= b.x1 && p.y >= b.y0 && p.y <= b.y1;
}

AxisPoint Along(const AxisPoint& a, const AxisPoint& b, double t)
{
    return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
}

// Liang-Barsky: narrows [t0, t1] of the segment a-b to the portion inside the
// box; false when nothing of it is inside.
bool ClipSegment(const AxisPoint& a, const AxisPoint& b, const Box& box, double& t0, double& t1)
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - box.x0, box.x1 - a.x, a.y - box.y0, box.y1 - a.y};
    t0 = 0.0;
    t1 = 1.0;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false; // parallel to this edge and outside it
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    return true;
}

void AppendDistinct(std::vector<PlotPoint>& line, const PlotPoint& p)
{
    if (line.empty() || line.back().x != p.x || line.back().y != p.y)
        line.push_back(p);
}

bool Usable(const PlotPoint& p, const PlotWindow& w)
{
    const bool xOk = std::isfinite(p.x) && (w.xScale == AxisScale::Linear || p.x > 0.0);
    const bool yOk = std::isfinite(p.y) && (w.yScale == AxisScale::Linear || p.y > 0.0);
    return xOk && yOk;
}

} // namespace

std::vector<std::vector<PlotPoint>> ClipPolyline(const std::vector<PlotPoint>& line, const PlotWindow& window)
{
    const Box box = AxisBox(window);
    std::vector<std::vector<PlotPoint>> pieces;
    std::vector<PlotPoint> piece;
    auto finish = [&] {
        if (!piece.empty())
            pieces.push_back(std::move(piece));
        piece.clear();
    };
    if (line.size() == 1 && Usable(line[0], window) && Inside(ToAxis(line[0], window), box))
        return {line};
    for (std::size_t i = 1; i < line.size(); ++i) {
        if (!Usable(line[i - 1], window) || !Usable(line[i], window)) {
            finish();
            continue;
        }
        const AxisPoint a = ToAxis(line[i - 1], window);
        const AxisPoint b = ToAxis(line[i], window);
        double t0 = 0.0;
        double t1 = 1.0;
        if (!ClipSegment(a, b, box, t0, t1)) {
            finish();
            continue;
        }
        // A segment entering the window starts a new piece.
        if (t0 > 0.0)
            finish();
        AppendDistinct(piece, t0 > 0.0 ? FromAxis(Along(a, b, t0), window) : line[i - 1]);
        AppendDistinct(piece, t1 < 1.0 ? FromAxis(Along(a, b, t1), window) : line[i]);
        if (t1 < 1.0)
            finish();
    }
    finish();
    return pieces;
}

std::vector<PlotPoint> PointsInWindow(const std::vector<PlotPoint>& points, const PlotWindow& window)
{
    const Box box = AxisBox(window);
    std::vector<PlotPoint> inside;
    for (const PlotPoint& p : points)
        if (Usable(p, window) && Inside(ToAxis(p, window), box))
            inside.push_back(p);
    return inside;
}

std::vector<PlotPoint> ClipAreaBoundary(const std::vector<PlotPoint>& boundary, const PlotWindow& window)
{
    const Box box = AxisBox(window);
    std::vector<AxisPoint> cut; // the boundary within the x range, in axis values
    for (std::size_t i = 1; i < boundary.size(); ++i) {
        if (!Usable(boundary[i - 1], window) || !Usable(boundary[i], window))
            continue;
        const AxisPoint a = ToAxis(boundary[i - 1], window);
        const AxisPoint b = ToAxis(boundary[i], window);
        const double dx = b.x - a.x;
        double t0 = 0.0;
        double t1 = 1.0;
        if (dx == 0.0) {
            if (a.x < box.x0 || a.x > box.x1)
                continue; // an upright step outside the window
        } else {
            t0 = std::clamp((box.x0 - a.x) / dx, 0.0, 1.0);
            t1 = std::clamp((box.x1 - a.x) / dx, 0.0, 1.0);
            if (t0 > t1)
                std::swap(t0, t1);
            if (t0 == t1)
                continue;
        }
        const AxisPoint from = Along(a, b, t0);
        const AxisPoint to = Along(a, b, t1);
        if (cut.empty() || cut.back().x != from.x || cut.back().y != from.y)
            cut.push_back(from);
        // Where the segment crosses the top or the bottom, so that holding
        // it to the window follows its edge exactly.
        std::vector<double> crossings;
        for (const double level : {box.y0, box.y1})
            if ((from.y - level) * (to.y - level) < 0.0)
                crossings.push_back((level - from.y) / (to.y - from.y));
        std::sort(crossings.begin(), crossings.end());
        for (const double t : crossings)
            cut.push_back(Along(from, to, t));
        cut.push_back(to);
    }
    std::vector<PlotPoint> held;
    for (AxisPoint p : cut) {
        p.y = std::clamp(p.y, box.y0, box.y1);
        AppendDistinct(held, FromAxis(p, window));
    }
    return held;
}

double RoundTickStep(double minimum, double maximum, int ticks)
{
    const double span = maximum - minimum;
    if (!(span > 0.0) || !std::isfinite(span) || ticks < 1)
        return 1.0;
    const double raw = span / ticks;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double factor : {1.0, 2.0, 5.0, 10.0})
        if (factor * power >= raw)
            return factor * power;
    return 10.0 * power;
}

namespace {

// "-12" as superscript digits: "⁻¹²".
std::string Superscript(int exponent)
{
    static const char* const digits[] = {"\u2070", "\u00b9", "\u00b2", "\u00b3", "\u2074",
                                         "\u2075", "\u2076", "\u2077", "\u2078", "\u2079"};
    std::string text = exponent < 0 ? "\u207b" : "";
    for (const char c : std::to_string(exponent < 0 ? -exponent : exponent))
        text += digits[c - '0'];
    return text;
}

// m x 10^n with m written with `decimals` decimals; "10^n" alone for m = 1.
std::string PowerLabel(double value, int decimals)
{
    const int exponent = static_cast<int>(std::floor(std::log10(value) + 1e-9));
    const double mantissa = value / std::pow(10.0, exponent);
    const std::string power = "10" + Superscript(exponent);
    const std::string m = Format("%.*f", decimals, mantissa);
    return m == Format("%.*f", decimals, 1.0) ? power : m + "\u00d7" + power;
}

} // namespace

std::vector<LogTick> LogAxisTicks(double minimum, double maximum)
{
    std::vector<LogTick> ticks;
    if (!(minimum > 0.0) || !(maximum > minimum) || !std::isfinite(maximum))
        return ticks;
    // A relative allowance, so that a decade exactly at an end counts.
    constexpr double kEdge = 1e-9;
    const double low = std::log10(minimum) - kEdge;
    const double high = std::log10(maximum) + kEdge;
    constexpr int kMostDecades = 8;
    const int first = static_cast<int>(std::ceil(low));
    const int last = static_cast<int>(std::floor(high));
    if (last - first + 1 >= 2) {
        const int every = (last - first) / kMostDecades + 1;
        for (int n = first; n <= last; n += every)
            ticks.push_back({std::pow(10.0, n), PowerLabel(std::pow(10.0, n), 0)});
        return ticks;
    }
    // Within a decade or two: multiples of the decades, coarse ones first,
    // three at least, so that the labels spread over the axis.
    constexpr std::size_t kFewestMultiples = 3;
    for (const std::vector<int>& multiples : {std::vector<int>{1, 2, 5}, std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}}) {
        ticks.clear();
        for (int n = static_cast<int>(std::floor(low)); n <= last; ++n)
            for (const int m : multiples) {
                const double value = m * std::pow(10.0, n);
                if (std::log10(value) >= low && std::log10(value) <= high)
                    ticks.push_back({value, PowerLabel(value, 0)});
            }
        if (ticks.size() >= kFewestMultiples)
            return ticks;
    }
    // Narrower than that: round steps, with the decimals they need.
    ticks.clear();
    const double step = RoundTickStep(minimum, maximum);
    const int exponent = static_cast<int>(std::floor(std::log10(maximum)));
    const int decimals = std::max(0, static_cast<int>(-std::floor(std::log10(step / std::pow(10.0, exponent)) + 1e-9)));
    for (double value = std::ceil(minimum / step) * step; value <= maximum * (1 + kEdge); value += step)
        ticks.push_back({value, PowerLabel(value, decimals)});
    return ticks;
}

} // namespace qex

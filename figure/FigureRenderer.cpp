#include "figure/FigureRenderer.h"

#include "figure/AxisTicks.h"

#include <cairo-svg.h>
#include <cairo.h>
#include <png.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <utility>
#include <type_traits>

namespace qex::figure {

namespace {

constexpr double kPointsPerInch = 72.0;
constexpr double kMillimetresPerInch = 25.4;
constexpr double kMetresPerInch = 0.0254;
constexpr double kPi = 3.14159265358979323846;

// Layout, in points.
constexpr double kPad = 6.0;           // between the figure's edge and anything on it
constexpr double kTickLength = 4.0;    // major ticks; minor ones are half as long
constexpr double kTickGap = 3.0;       // between a tick and its label
constexpr double kLabelGap = 4.0;      // between tick labels and the axis label
constexpr double kFrameWidth = 0.8;
constexpr double kTickWidth = 0.6;
constexpr double kCapHeight = 0.73;    // of DejaVu Sans' digits and capitals, per point of size
constexpr double kDescent = 0.24;
constexpr double kHaloWidth = 2.4;     // the white outline behind a label
// The legend: swatch size, gaps and rows, relative to its text size.
constexpr double kSwatchWidth = 2.2;
constexpr double kRowHeight = 1.45;
constexpr double kLegendPad = 0.55;
constexpr int kEllipseSegments = 96;

const Color kBlack{0.0, 0.0, 0.0, 1.0};
const Color kWhite{1.0, 1.0, 1.0, 1.0};
const Color kNoteColor{0.35, 0.35, 0.35, 1.0};
const Color kLegendFrame{0.6, 0.6, 0.6, 1.0};
const Color kLegendBackground{1.0, 1.0, 1.0, 0.88};

double WidthPoints(const Figure& f)
{
    return f.widthMm / kMillimetresPerInch * kPointsPerInch;
}

double HeightPoints(const Figure& f)
{
    return f.heightMm / kMillimetresPerInch * kPointsPerInch;
}

void SetColor(cairo_t* cr, const Color& c)
{
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
}

void SetStroke(cairo_t* cr, const Stroke& s)
{
    SetColor(cr, s.color);
    cairo_set_line_width(cr, s.width);
    cairo_set_dash(cr, s.dashes.empty() ? nullptr : s.dashes.data(), static_cast<int>(s.dashes.size()), 0.0);
}

// Texts: the family, unhinted, so that their room does not depend on the surface or the scale.
void SetFont(cairo_t* cr, double size)
{
    cairo_select_font_face(cr, kFigureFontFamily, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
}

double TextWidth(cairo_t* cr, const std::string& text, double size)
{
    SetFont(cr, size);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    return extents.x_advance;
}

// The offset from an anchor to the start of the text's baseline, for a
// text `width` wide and its capitals `size` * kCapHeight high.
void AnchorOffset(Anchor anchor, double width, double size, double& x, double& y)
{
    const double cap = size * kCapHeight;
    switch (anchor) {
    case Anchor::Left: case Anchor::BottomLeft: case Anchor::TopLeft: x = 0.0; break;
    case Anchor::Center: case Anchor::Bottom: case Anchor::Top: x = -width / 2.0; break;
    default: x = -width; break;
    }
    switch (anchor) {
    case Anchor::Left: case Anchor::Center: case Anchor::Right: y = cap / 2.0; break;
    case Anchor::TopLeft: case Anchor::Top: case Anchor::TopRight: y = cap; break;
    default: y = 0.0; break;
    }
}

// A text at a device point, anchored there, turned counter-clockwise.
void DrawText(cairo_t* cr, const std::string& text, double x, double y, double size, const Color& color,
              Anchor anchor, double rotation = 0.0, bool halo = false)
{
    if (text.empty())
        return;
    const double width = TextWidth(cr, text, size);
    double ox = 0.0;
    double oy = 0.0;
    AnchorOffset(anchor, width, size, ox, oy);
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, -rotation * kPi / 180.0);
    cairo_move_to(cr, ox, oy);
    // Outlines rather than glyphs: every SVG viewer draws them alike, with no font at hand.
    cairo_text_path(cr, text.c_str());
    if (halo) {
        SetColor(cr, kWhite);
        cairo_set_line_width(cr, kHaloWidth);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_set_dash(cr, nullptr, 0, 0.0);
        cairo_stroke_preserve(cr);
    }
    SetColor(cr, color);
    cairo_fill(cr);
    cairo_restore(cr);
}

// Data to the page: the plot area and each axis' mapping.
class Frame {
public:
    Frame(const Figure& f, double left, double top, double right, double bottom)
        : m_f(f), m_left(left), m_top(top), m_right(right), m_bottom(bottom)
    {
    }
    double Left() const { return m_left; }
    double Top() const { return m_top; }
    double Right() const { return m_right; }
    double Bottom() const { return m_bottom; }

    bool Shows(const Point& p) const { return Usable(p.x, m_f.x) && Usable(p.y, m_f.y); }
    double X(double v) const { return m_left + Fraction(v, m_f.x) * (m_right - m_left); }
    double Y(double v) const { return m_bottom - Fraction(v, m_f.y) * (m_bottom - m_top); }

private:
    static bool Usable(double v, const Axis& a) { return std::isfinite(v) && (a.scale == Scale::Linear || v > 0.0); }
    static double Scaled(double v, const Axis& a) { return a.scale == Scale::Log10 ? std::log10(v) : v; }
    static double Fraction(double v, const Axis& a)
    {
        return (Scaled(v, a) - Scaled(a.minimum, a)) / (Scaled(a.maximum, a) - Scaled(a.minimum, a));
    }

    const Figure& m_f;
    double m_left, m_top, m_right, m_bottom;
};

void MarkerPath(cairo_t* cr, MarkerShape shape, double x, double y, double size)
{
    const double r = size / 2.0;
    switch (shape) {
    case MarkerShape::Circle:
        cairo_new_sub_path(cr);
        cairo_arc(cr, x, y, r, 0.0, 2.0 * kPi);
        break;
    case MarkerShape::Square:
        cairo_rectangle(cr, x - r * 0.88, y - r * 0.88, 1.76 * r, 1.76 * r);
        break;
    case MarkerShape::Diamond:
        cairo_move_to(cr, x, y - r * 1.15);
        cairo_line_to(cr, x + r * 1.15, y);
        cairo_line_to(cr, x, y + r * 1.15);
        cairo_line_to(cr, x - r * 1.15, y);
        cairo_close_path(cr);
        break;
    case MarkerShape::Triangle:
        cairo_move_to(cr, x, y - r * 1.2);
        cairo_line_to(cr, x + r * 1.1, y + r * 0.8);
        cairo_line_to(cr, x - r * 1.1, y + r * 0.8);
        cairo_close_path(cr);
        break;
    case MarkerShape::Cross:
        cairo_move_to(cr, x - r, y - r);
        cairo_line_to(cr, x + r, y + r);
        cairo_move_to(cr, x - r, y + r);
        cairo_line_to(cr, x + r, y - r);
        break;
    }
}

void DrawMarker(cairo_t* cr, const Marker& m, double x, double y)
{
    MarkerPath(cr, m.shape, x, y, m.size);
    if (m.fill && m.shape != MarkerShape::Cross) {
        SetColor(cr, *m.fill);
        if (m.outline)
            cairo_fill_preserve(cr);
        else
            cairo_fill(cr);
    }
    if (m.outline || m.shape == MarkerShape::Cross) {
        SetStroke(cr, m.outline ? *m.outline : Stroke{m.fill.value_or(kBlack), 1.0, {}});
        cairo_stroke(cr);
    }
    cairo_new_path(cr);
}

// The device points of a line, in pieces broken where an axis cannot show a point.
std::vector<std::vector<Point>> DevicePieces(const Frame& frame, const std::vector<Point>& points)
{
    std::vector<std::vector<Point>> pieces(1);
    for (const Point& p : points) {
        if (!frame.Shows(p)) {
            if (!pieces.back().empty())
                pieces.emplace_back();
            continue;
        }
        pieces.back().push_back({frame.X(p.x), frame.Y(p.y)});
    }
    return pieces;
}

void PathThrough(cairo_t* cr, const std::vector<Point>& device, bool close)
{
    for (std::size_t i = 0; i < device.size(); ++i)
        (i == 0 ? cairo_move_to : cairo_line_to)(cr, device[i].x, device[i].y);
    if (close && !device.empty())
        cairo_close_path(cr);
}

void FillAndOutline(cairo_t* cr, const std::optional<Color>& fill, const std::optional<Stroke>& outline)
{
    if (fill) {
        SetColor(cr, *fill);
        cairo_fill_preserve(cr);
    }
    if (outline) {
        SetStroke(cr, *outline);
        cairo_stroke_preserve(cr);
    }
    cairo_new_path(cr);
}

// The ellipse's outline in data coordinates: the covariance's principal
// axes, each half-length the scale times the square root of its eigenvalue.
std::vector<Point> EllipsePoints(const Ellipse& e)
{
    const double mean = (e.varianceX + e.varianceY) / 2.0;
    const double spread = std::hypot((e.varianceX - e.varianceY) / 2.0, e.covarianceXY);
    const double major = e.scale * std::sqrt(std::max(0.0, mean + spread));
    const double minor = e.scale * std::sqrt(std::max(0.0, mean - spread));
    const double angle = 0.5 * std::atan2(2.0 * e.covarianceXY, e.varianceX - e.varianceY);
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    std::vector<Point> points;
    for (int i = 0; i < kEllipseSegments; ++i) {
        const double t = 2.0 * kPi * i / kEllipseSegments;
        const double u = major * std::cos(t);
        const double v = minor * std::sin(t);
        points.push_back({e.center.x + u * c - v * s, e.center.y + u * s + v * c});
    }
    return points;
}

// The plot area on the page, to which the data are cut before they are
// drawn: an SVG viewer that knows no clipping (Qt's) shows them as they are.
struct Area {
    double left, top, right, bottom;
    bool Holds(const Point& p) const { return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom; }
};

// The pieces of a polyline inside the area (Liang & Barsky 1984, per segment).
std::vector<std::vector<Point>> CutLine(const std::vector<Point>& line, const Area& area)
{
    std::vector<std::vector<Point>> pieces(1);
    for (std::size_t i = 1; i < line.size(); ++i) {
        const Point a = line[i - 1];
        const Point b = line[i];
        const double d[4] = {a.x - b.x, b.x - a.x, a.y - b.y, b.y - a.y};
        const double q[4] = {a.x - area.left, area.right - a.x, a.y - area.top, area.bottom - a.y};
        double t0 = 0.0;
        double t1 = 1.0;
        bool inside = true;
        for (int k = 0; k < 4 && inside; ++k) {
            if (d[k] == 0.0) {
                inside = q[k] >= 0.0;
                continue;
            }
            const double t = q[k] / d[k];
            if (d[k] < 0.0)
                t0 = std::max(t0, t);
            else
                t1 = std::min(t1, t);
            inside = t0 <= t1;
        }
        if (!inside) {
            if (!pieces.back().empty())
                pieces.emplace_back();
            continue;
        }
        const Point from{a.x + t0 * (b.x - a.x), a.y + t0 * (b.y - a.y)};
        const Point to{a.x + t1 * (b.x - a.x), a.y + t1 * (b.y - a.y)};
        if (pieces.back().empty() || t0 > 0.0) {
            if (!pieces.back().empty())
                pieces.emplace_back();
            pieces.back().push_back(from);
        }
        pieces.back().push_back(to);
        if (t1 < 1.0)
            pieces.emplace_back();
    }
    return pieces;
}

// A closed outline cut to the area, edge by edge (Sutherland & Hodgman 1974).
std::vector<Point> CutOutline(std::vector<Point> outline, const Area& area)
{
    struct Edge {
        bool vertical;
        double at;
        bool keepAbove; // keep points whose coordinate is >= at
    };
    const Edge edges[] = {{true, area.left, true}, {true, area.right, false}, {false, area.top, true},
                          {false, area.bottom, false}};
    for (const Edge& e : edges) {
        std::vector<Point> kept;
        auto in = [&](const Point& p) {
            const double v = e.vertical ? p.x : p.y;
            return e.keepAbove ? v >= e.at : v <= e.at;
        };
        for (std::size_t i = 0; i < outline.size(); ++i) {
            const Point& a = outline[(i + outline.size() - 1) % outline.size()];
            const Point& b = outline[i];
            if (in(a) != in(b)) {
                const double t = e.vertical ? (e.at - a.x) / (b.x - a.x) : (e.at - a.y) / (b.y - a.y);
                kept.push_back({a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)});
            }
            if (in(b))
                kept.push_back(b);
        }
        outline = std::move(kept);
    }
    return outline;
}

struct ItemDrawer {
    cairo_t* cr;
    const Frame& frame;
    Area area;

    void operator()(const Polyline& line) const
    {
        for (const auto& piece : DevicePieces(frame, line.points))
            for (const auto& part : CutLine(piece, area)) {
                if (part.size() < 2)
                    continue;
                PathThrough(cr, part, false);
                SetStroke(cr, line.stroke);
                cairo_stroke(cr);
            }
    }
    void operator()(const Polygon& polygon) const { Fill(polygon.points, polygon.fill, polygon.outline); }
    void operator()(const Markers& markers) const
    {
        for (const Point& p : markers.points)
            if (frame.Shows(p) && area.Holds({frame.X(p.x), frame.Y(p.y)}))
                DrawMarker(cr, markers.marker, frame.X(p.x), frame.Y(p.y));
    }
    void operator()(const ErrorBars& bars) const
    {
        SetStroke(cr, bars.stroke);
        auto at = [](const std::vector<double>& v, std::size_t i) { return i < v.size() ? v[i] : 0.0; };
        const bool horizontal = !bars.xLow.empty() || !bars.xHigh.empty();
        const bool vertical = !bars.yLow.empty() || !bars.yHigh.empty();
        for (std::size_t i = 0; i < bars.points.size(); ++i) {
            const Point p = bars.points[i];
            if (horizontal)
                Bar({p.x - at(bars.xLow, i), p.y}, {p.x + at(bars.xHigh, i), p.y}, bars.cap, true);
            if (vertical)
                Bar({p.x, p.y - at(bars.yLow, i)}, {p.x, p.y + at(bars.yHigh, i)}, bars.cap, false);
        }
        cairo_stroke(cr);
    }
    void operator()(const Ellipse& ellipse) const { Fill(EllipsePoints(ellipse), ellipse.fill, ellipse.outline); }
    void operator()(const Label&) const {} // placed and drawn by DrawLabels

    void Fill(const std::vector<Point>& points, const std::optional<Color>& fill,
              const std::optional<Stroke>& outline) const
    {
        for (const auto& piece : DevicePieces(frame, points)) {
            const std::vector<Point> cut = CutOutline(piece, area);
            if (cut.size() < 3)
                continue;
            PathThrough(cr, cut, true);
            FillAndOutline(cr, fill, outline);
        }
    }

    // A bar from a to b with caps across its ends inside the area; an end a
    // logarithmic axis cannot show runs to the axis' edge, uncapped.
    void Bar(Point a, Point b, double cap, bool horizontal) const
    {
        if (!frame.Shows(b))
            return;
        const bool showA = frame.Shows(a);
        const Point from = showA ? Point{frame.X(a.x), frame.Y(a.y)}
                                 : (horizontal ? Point{area.left, frame.Y(b.y)} : Point{frame.X(b.x), area.bottom});
        const Point to{frame.X(b.x), frame.Y(b.y)};
        for (const auto& part : CutLine({from, to}, area))
            if (part.size() == 2) {
                cairo_move_to(cr, part[0].x, part[0].y);
                cairo_line_to(cr, part[1].x, part[1].y);
            }
        const double h = cap / 2.0;
        for (const auto& [end, capped] : {std::pair{from, showA}, std::pair{to, true}}) {
            if (!capped || cap <= 0.0 || !area.Holds(end))
                continue;
            cairo_move_to(cr, horizontal ? end.x : end.x - h, horizontal ? end.y - h : end.y);
            cairo_line_to(cr, horizontal ? end.x : end.x + h, horizontal ? end.y + h : end.y);
        }
    }
};

struct Box {
    double left, top, right, bottom;
    bool Overlaps(const Box& o) const { return left < o.right && o.left < right && top < o.bottom && o.top < bottom; }
};

// Where a label is drawn: at its point and offset, moved (unturned) as
// little as needed to be read whole inside the plot area.
bool PlaceLabel(cairo_t* cr, const Frame& frame, const Label& label, double& x, double& y, Box& box)
{
    if (!frame.Shows(label.at))
        return false;
    x = frame.X(label.at.x) + label.dx;
    y = frame.Y(label.at.y) - label.dy;
    const double width = TextWidth(cr, label.text, label.size);
    double ox = 0.0;
    double oy = 0.0;
    AnchorOffset(label.anchor, width, label.size, ox, oy);
    const double top = y + oy - label.size * kCapHeight;
    const double bottom = y + oy + label.size * kDescent;
    if (label.rotation == 0.0) {
        const double inset = kTickLength + 1.0;
        const double sx = std::max(0.0, frame.Left() + inset - (x + ox)) -
                          std::max(0.0, x + ox + width - (frame.Right() - inset));
        const double sy = std::max(0.0, frame.Top() + inset - top) - std::max(0.0, bottom - (frame.Bottom() - inset));
        x += sx;
        y += sy;
        box = {x + ox, top + sy, x + ox + width, bottom + sy};
    } else {
        box = {x, y, x, y}; // a turned label keeps no room from the others
    }
    return true;
}

// The labels, in the order of the items: every required one, and each
// optional one whose box is clear of those already placed.
void DrawLabels(cairo_t* cr, const Figure& f, const Frame& frame)
{
    struct Placed {
        const Label* label;
        double x, y;
        Box box;
    };
    std::vector<Placed> required;
    std::vector<Placed> optional;
    for (const Item& item : f.items)
        if (const auto* label = std::get_if<Label>(&item)) {
            Placed p{label, 0.0, 0.0, {}};
            if (PlaceLabel(cr, frame, *label, p.x, p.y, p.box))
                (label->optional ? optional : required).push_back(p);
        }
    std::vector<Placed> shown = required;
    for (const Placed& p : optional)
        if (std::none_of(shown.begin(), shown.end(), [&](const Placed& o) { return o.box.Overlaps(p.box); }))
            shown.push_back(p);
    // Lines' labels beneath the samples'.
    std::stable_partition(shown.begin(), shown.end(), [](const Placed& p) { return p.label->optional; });
    for (const Placed& p : shown)
        DrawText(cr, p.label->text, p.x, p.y, p.label->size, p.label->color, p.label->anchor, p.label->rotation,
                 p.label->halo);
}

// Every data point an item puts on the page, for the legend to keep clear of.
std::vector<Point> DevicePointsOf(const Frame& frame, const Item& item)
{
    std::vector<Point> device;
    auto add = [&](const std::vector<Point>& points) {
        for (const Point& p : points)
            if (frame.Shows(p))
                device.push_back({frame.X(p.x), frame.Y(p.y)});
    };
    std::visit(
        [&](const auto& it) {
            using T = std::decay_t<decltype(it)>;
            if constexpr (std::is_same_v<T, Ellipse>)
                add(EllipsePoints(it));
            else if constexpr (std::is_same_v<T, Label>)
                add({it.at});
            else
                add(it.points);
        },
        item);
    return device;
}

void DrawSwatch(cairo_t* cr, const Swatch& s, double x, double y, double width, double height)
{
    const double cy = y + height / 2.0;
    if (s.patch || s.patchOutline) {
        if (s.round) {
            cairo_save(cr);
            cairo_translate(cr, x + width / 2.0, cy);
            cairo_scale(cr, width * 0.32, height * 0.42);
            cairo_new_sub_path(cr);
            cairo_arc(cr, 0.0, 0.0, 1.0, 0.0, 2.0 * kPi);
            cairo_restore(cr);
        } else {
            cairo_rectangle(cr, x + 1.0, y + height * 0.1, width - 2.0, height * 0.8);
        }
        FillAndOutline(cr, s.patch, s.patchOutline);
    }
    if (s.line) {
        cairo_move_to(cr, x, cy);
        cairo_line_to(cr, x + width, cy);
        SetStroke(cr, *s.line);
        cairo_stroke(cr);
    }
    if (s.marker)
        DrawMarker(cr, *s.marker, x + width / 2.0, cy);
}

void DrawLegend(cairo_t* cr, const Figure& f, const Frame& frame)
{
    const Legend& legend = f.legend;
    if (legend.entries.empty())
        return;
    const double size = f.fontSize - 1.0;
    const double pad = size * kLegendPad;
    const double swatch = size * kSwatchWidth;
    const double row = size * kRowHeight;
    double textWidth = 0.0;
    for (const LegendEntry& e : legend.entries)
        textWidth = std::max(textWidth, TextWidth(cr, e.text, size));
    const double width = pad + swatch + pad + textWidth + pad;
    const double height = pad + row * static_cast<double>(legend.entries.size()) + pad * 0.4;
    const double inset = kTickLength + 3.0;

    const LegendPlace corners[] = {LegendPlace::TopRight, LegendPlace::TopLeft, LegendPlace::BottomRight,
                                   LegendPlace::BottomLeft};
    auto origin = [&](LegendPlace place, double& x, double& y) {
        const bool left = place == LegendPlace::TopLeft || place == LegendPlace::BottomLeft;
        const bool top = place == LegendPlace::TopLeft || place == LegendPlace::TopRight;
        x = left ? frame.Left() + inset : frame.Right() - inset - width;
        y = top ? frame.Top() + inset : frame.Bottom() - inset - height;
    };
    LegendPlace place = legend.place;
    if (place == LegendPlace::Best) {
        std::vector<Point> points;
        for (const Item& item : f.items) {
            const auto more = DevicePointsOf(frame, item);
            points.insert(points.end(), more.begin(), more.end());
        }
        std::size_t fewest = std::numeric_limits<std::size_t>::max();
        for (const LegendPlace corner : corners) {
            double x = 0.0;
            double y = 0.0;
            origin(corner, x, y);
            const auto covered = static_cast<std::size_t>(std::count_if(points.begin(), points.end(), [&](const Point& p) {
                return p.x >= x && p.x <= x + width && p.y >= y && p.y <= y + height;
            }));
            if (covered < fewest) {
                fewest = covered;
                place = corner;
            }
        }
    }
    double x = 0.0;
    double y = 0.0;
    origin(place, x, y);
    cairo_rectangle(cr, x, y, width, height);
    SetColor(cr, kLegendBackground);
    cairo_fill_preserve(cr);
    SetStroke(cr, {kLegendFrame, 0.5, {}});
    cairo_stroke(cr);
    for (std::size_t i = 0; i < legend.entries.size(); ++i) {
        const LegendEntry& e = legend.entries[i];
        const double top = y + pad * 0.7 + row * static_cast<double>(i);
        DrawSwatch(cr, e.swatch, x + pad, top + (row - size) / 2.0, swatch, size);
        DrawText(cr, e.text, x + pad + swatch + pad, top + row / 2.0, size, kBlack, Anchor::Left);
    }
}

// The whole figure in points, from (0, 0) at its top left.
void DrawFigure(cairo_t* cr, const Figure& f)
{
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);

    const double width = WidthPoints(f);
    const double height = HeightPoints(f);
    SetColor(cr, kWhite);
    cairo_paint(cr);

    const double labelSize = f.fontSize;
    const double tickSize = f.fontSize - 1.0;
    const double noteSize = f.fontSize - 2.0;
    const std::vector<Tick> xTicks = AxisTicks(f.x);
    const std::vector<Tick> yTicks = AxisTicks(f.y);

    // Room for what stands outside the plot area.
    double yLabels = 0.0;
    for (const Tick& t : yTicks)
        yLabels = std::max(yLabels, TextWidth(cr, t.label, tickSize));
    double lastXLabel = 0.0;
    for (const Tick& t : xTicks)
        if (!t.label.empty())
            lastXLabel = TextWidth(cr, t.label, tickSize);
    const double tickLabelHeight = tickSize * (kCapHeight + kDescent);
    const double left = kPad + (f.y.label.empty() ? 0.0 : labelSize * 1.2 + kLabelGap) + yLabels + kTickGap;
    const double right = width - std::max(kPad, lastXLabel / 2.0 + 2.0);
    const double top = kPad + (f.title.empty() ? tickSize * kCapHeight / 2.0 : labelSize * 1.5);
    const double noteRoom = f.note.empty() ? 0.0 : noteSize * 1.6;
    const double bottom = height - kPad - noteRoom - (f.x.label.empty() ? 0.0 : labelSize * 1.2 + kLabelGap) -
                          tickLabelHeight - kTickGap;
    const Frame frame(f, left, top, right, bottom);

    // The data, cut to the plot area.
    for (const Item& item : f.items)
        std::visit(ItemDrawer{cr, frame, {left, top, right, bottom}}, item);
    DrawLabels(cr, f, frame);

    // The frame with ticks inward on all four sides, labels left and below.
    SetStroke(cr, {kBlack, kTickWidth, {}});
    for (const Tick& t : xTicks) {
        const double x = frame.X(t.value);
        const double length = t.label.empty() ? kTickLength / 2.0 : kTickLength;
        cairo_move_to(cr, x, bottom);
        cairo_line_to(cr, x, bottom - length);
        cairo_move_to(cr, x, top);
        cairo_line_to(cr, x, top + length);
    }
    for (const Tick& t : yTicks) {
        const double y = frame.Y(t.value);
        const double length = t.label.empty() ? kTickLength / 2.0 : kTickLength;
        cairo_move_to(cr, left, y);
        cairo_line_to(cr, left + length, y);
        cairo_move_to(cr, right, y);
        cairo_line_to(cr, right - length, y);
    }
    cairo_stroke(cr);
    cairo_rectangle(cr, left, top, right - left, bottom - top);
    SetStroke(cr, {kBlack, kFrameWidth, {}});
    cairo_stroke(cr);
    for (const Tick& t : xTicks)
        DrawText(cr, t.label, frame.X(t.value), bottom + kTickGap, tickSize, kBlack, Anchor::Top);
    for (const Tick& t : yTicks)
        DrawText(cr, t.label, left - kTickGap, frame.Y(t.value), tickSize, kBlack, Anchor::Right);

    const double xLabelTop = bottom + kTickGap + tickLabelHeight + kLabelGap;
    DrawText(cr, f.x.label, (left + right) / 2.0, xLabelTop, labelSize, kBlack, Anchor::Top);
    DrawText(cr, f.y.label, kPad + labelSize * kCapHeight, (top + bottom) / 2.0, labelSize, kBlack, Anchor::Bottom,
             90.0);
    DrawText(cr, f.title, (left + right) / 2.0, kPad, labelSize, kBlack, Anchor::Top);
    // A note too long for one line is set smaller until it fits.
    const double noteWidth = f.note.empty() ? 0.0 : TextWidth(cr, f.note, noteSize);
    const double noteFits = noteWidth > width - 2.0 * kPad ? noteSize * (width - 2.0 * kPad) / noteWidth : noteSize;
    DrawText(cr, f.note, kPad, height - kPad, noteFits, kNoteColor, Anchor::BottomLeft);

    DrawLegend(cr, f, frame);
}

std::string CairoError(cairo_status_t status)
{
    return std::string("cairo: ") + cairo_status_to_string(status);
}

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length)
{
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextDeleter {
    void operator()(cairo_t* c) const { cairo_destroy(c); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using Context = std::unique_ptr<cairo_t, ContextDeleter>;

// Draws the figure scaled by `scale` and moved by (dx, dy) onto the surface.
cairo_status_t DrawOn(cairo_surface_t* surface, const Figure& f, double scale, double dx = 0.0, double dy = 0.0)
{
    const Context cr(cairo_create(surface));
    cairo_translate(cr.get(), dx, dy);
    cairo_scale(cr.get(), scale, scale);
    DrawFigure(cr.get(), f);
    return cairo_status(cr.get());
}

void PngError(png_structp png, png_const_charp message)
{
    *static_cast<std::string*>(png_get_error_ptr(png)) = std::string("PNG: ") + message;
    png_longjmp(png, 1);
}

void PngWrite(png_structp png, png_bytep data, png_size_t length)
{
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

void PngFlush(png_structp) {}

// The opaque pixels of an RGB24 surface as an 8-bit RGB PNG that says its resolution.
bool WritePng(cairo_surface_t* surface, double dotsPerInch, std::string& bytes, std::string& error)
{
    cairo_surface_flush(surface);
    const int w = cairo_image_surface_get_width(surface);
    const int h = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    std::vector<png_byte> rows(static_cast<std::size_t>(w) * 3 * static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint32_t pixel = 0;
            std::memcpy(&pixel, data + static_cast<std::ptrdiff_t>(y) * stride + 4 * x, 4);
            png_byte* out = &rows[(static_cast<std::size_t>(y) * w + x) * 3];
            out[0] = static_cast<png_byte>(pixel >> 16);
            out[1] = static_cast<png_byte>(pixel >> 8);
            out[2] = static_cast<png_byte>(pixel);
        }
    std::vector<png_bytep> pointers(static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y)
        pointers[static_cast<std::size_t>(y)] = &rows[static_cast<std::size_t>(y) * w * 3];

    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, PngError, nullptr);
    png_infop info = png == nullptr ? nullptr : png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        error = "PNG: out of memory";
        return false;
    }
    bytes.clear();
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        bytes.clear();
        return false;
    }
    png_set_write_fn(png, &bytes, PngWrite, PngFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    const auto perMetre = static_cast<png_uint_32>(std::lround(dotsPerInch / kMetresPerInch));
    png_set_pHYs(png, info, perMetre, perMetre, PNG_RESOLUTION_METER);
    png_set_rows(png, info, pointers.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

std::optional<ImageFormat> ImageFormatOf(const std::string& path)
{
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return std::nullopt;
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == "png")
        return ImageFormat::Png;
    if (extension == "svg")
        return ImageFormat::Svg;
    return std::nullopt;
}

int FigurePixelsWide(const Figure& figure, double dotsPerInch)
{
    return static_cast<int>(std::lround(figure.widthMm / kMillimetresPerInch * dotsPerInch));
}

int FigurePixelsHigh(const Figure& figure, double dotsPerInch)
{
    return static_cast<int>(std::lround(figure.heightMm / kMillimetresPerInch * dotsPerInch));
}

bool RenderFigure(const Figure& figure, ImageFormat format, std::string& bytes, std::string& error)
{
    bytes.clear();
    if (format == ImageFormat::Svg) {
        std::string svg;
        {
            const Surface surface(cairo_svg_surface_create_for_stream(AppendBytes, &svg, WidthPoints(figure),
                                                                      HeightPoints(figure)));
            cairo_svg_surface_set_document_unit(surface.get(), CAIRO_SVG_UNIT_PT);
            cairo_status_t status = DrawOn(surface.get(), figure, 1.0);
            cairo_surface_finish(surface.get());
            if (status == CAIRO_STATUS_SUCCESS)
                status = cairo_surface_status(surface.get());
            if (status != CAIRO_STATUS_SUCCESS) {
                error = CairoError(status);
                return false;
            }
        }
        bytes = std::move(svg);
        return true;
    }
    const Surface surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, FigurePixelsWide(figure),
                                                     FigurePixelsHigh(figure)));
    cairo_status_t status = cairo_surface_status(surface.get());
    if (status == CAIRO_STATUS_SUCCESS)
        status = DrawOn(surface.get(), figure, kFigureDotsPerInch / kPointsPerInch);
    if (status != CAIRO_STATUS_SUCCESS) {
        error = CairoError(status);
        return false;
    }
    return WritePng(surface.get(), kFigureDotsPerInch, bytes, error);
}

Raster RenderRaster(const Figure& figure, int width, int height)
{
    Raster raster;
    const Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(width, 1), std::max(height, 1)));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
        return raster;
    const double scale = std::min(width / WidthPoints(figure), height / HeightPoints(figure));
    {
        const Context cr(cairo_create(surface.get()));
        SetColor(cr.get(), kWhite);
        cairo_paint(cr.get());
    }
    DrawOn(surface.get(), figure, scale, (width - WidthPoints(figure) * scale) / 2.0,
           (height - HeightPoints(figure) * scale) / 2.0);
    cairo_surface_flush(surface.get());
    raster.width = cairo_image_surface_get_width(surface.get());
    raster.height = cairo_image_surface_get_height(surface.get());
    raster.stride = cairo_image_surface_get_stride(surface.get());
    const unsigned char* data = cairo_image_surface_get_data(surface.get());
    raster.pixels.assign(data, data + static_cast<std::ptrdiff_t>(raster.stride) * raster.height);
    return raster;
}

} // namespace qex::figure

#include "figure/SummaryFigure.h"

#include "core/Format.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qex {

namespace {

using figure::Point;

// Points along each curve.
constexpr int kCurvePoints = 400;
// Room around the data, as a share of its span.
constexpr double kRoom = 0.08;
// Curves reach this many sigmas beyond the outermost values.
constexpr double kTailSigmas = 4.0;

// Okabe & Ito's colours, which readers with any colour vision tell apart.
const figure::Color kGroupColors[] = {
    {0.0, 0.447, 0.698, 1.0},   // blue
    {0.835, 0.369, 0.0, 1.0},   // vermillion
    {0.0, 0.620, 0.451, 1.0},   // bluish green
    {0.800, 0.475, 0.655, 1.0}, // reddish purple
    {0.902, 0.624, 0.0, 1.0},   // orange
    {0.337, 0.706, 0.914, 1.0}, // sky blue
};
const figure::Color kBlack{0.0, 0.0, 0.0, 1.0};
const figure::Color kOutlierGrey{0.45, 0.45, 0.45, 1.0};

figure::Color GroupColor(std::size_t k, double alpha = 1.0)
{
    figure::Color c = kGroupColors[k % std::size(kGroupColors)];
    c.a = alpha;
    return c;
}

// The normal probability density at x (Gaussian of mean mu, sd sigma).
double NormalDensity(double x, double mu, double sigma)
{
    const double z = (x - mu) / sigma;
    return std::exp(-0.5 * z * z) / (sigma * std::sqrt(2.0 * std::numbers::pi));
}

std::string GroupName(const GroupSummary& group)
{
    return group.name.empty() ? std::string("All samples") : group.name;
}

std::string AxisLabel(const SummaryTable& table)
{
    const std::string what(table.quantity.what);
    return Format("%c%s (%s)", std::toupper(static_cast<unsigned char>(what[0])), what.c_str() + 1,
                  std::string(table.quantity.unit).c_str());
}

std::string TestNote(const SummaryTable& table)
{
    if (table.options.test == OutlierTest::Gesd)
        return Format("outliers: generalised ESD (Rosner 1983), α %g", table.options.alpha);
    if (table.options.test == OutlierTest::Chauvenet)
        return "outliers: Chauvenet's criterion";
    return "no outlier test";
}

// A band between two values across the whole height.
figure::Polygon VerticalBand(double low, double high, double bottom, double top, figure::Color fill)
{
    return {{{low, bottom}, {high, bottom}, {high, top}, {low, top}}, fill, std::nullopt};
}

bool Drawn(const GroupSummary& group, const std::string& name)
{
    return !group.samples.empty() && (name.empty() || group.name == name);
}

} // namespace

const InputTable<SummaryFigureInputs>& SummaryFigureInputTable()
{
    using In = SummaryFigureInputs;
    static const InputRow<In> rows[] = {
        {.name = "input", .controlId = 1000, .member = "m_strInput", .label = "Batch output of ages or erosion rates",
         .kind = InputKind::FileToRead, .field = &In::input, .required = true,
         .help = "a batch output CSV of exposure (exposure_age_yr, internal_uncertainty_yr, external_uncertainty_yr) "
                 "or erosion; optional group or landform, elevation or distance columns"},
        {.name = "outliers", .controlId = 1001, .member = "m_strOutliers", .label = "Outlier test",
         .kind = InputKind::Choice, .field = &In::outliers,
         .help = "gesd: generalised ESD (Rosner 1983); chauvenet: Chauvenet's criterion; none",
         .choices = OutlierTestWords()},
        {.name = "alpha", .controlId = 1002, .member = "m_dAlpha", .label = "Significance of the GESD test",
         .field = &In::alpha, .range = InputRange{0.001, 0.5}},
    };
    static const InputTable<In> table(rows);
    return table;
}

bool ReadSummaryFigureTable(const SummaryFigureInputs& inputs, SummaryTable& table, std::string& error)
{
    return ReadSummaryFile(inputs.input, {OutlierTestOf(inputs.outliers), inputs.alpha}, table, error);
}

figure::Figure MakeProbabilityFigure(const SummaryTable& table, const std::string& name)
{
    figure::Figure f;
    f.x.label = AxisLabel(table);
    f.y.label = "Probability density (1/" + std::string(table.quantity.unit) + ")";

    // The span: every value with its tails.
    double low = HUGE_VAL, high = -HUGE_VAL;
    for (const GroupSummary& group : table.groups)
        if (Drawn(group, name))
            for (const GroupSample& s : group.samples) {
                low = std::min(low, s.value.value - kTailSigmas * s.value.internal);
                high = std::max(high, s.value.value + kTailSigmas * s.value.internal);
            }
    if (!(high > low)) {
        low = 0.0;
        high = 1.0;
    }
    if (table.quantity.scale == 1000.0)
        low = std::max(0.0, low);
    f.x.minimum = low;
    f.x.maximum = high;

    // Each group's curves: the sum of its kept samples' densities divided by
    // their number (unit area), each kept sample's share beneath it, the
    // outliers' own curves dashed and apart from the sum.
    std::vector<figure::Item> bands, curves, sums;
    double top = 0.0;
    std::size_t k = 0;
    for (const GroupSummary& group : table.groups) {
        if (!Drawn(group, name))
            continue;
        const figure::Color color = GroupColor(k);
        const int kept = std::max(1, group.withoutOutliers.n);
        figure::Polyline sum{{}, {color, 1.6, {}}};
        for (int i = 0; i <= kCurvePoints; ++i) {
            const double x = low + (high - low) * i / kCurvePoints;
            double y = 0.0;
            for (std::size_t j = 0; j < group.samples.size(); ++j)
                if (group.kept[j])
                    y += NormalDensity(x, group.samples[j].value.value, group.samples[j].value.internal) / kept;
            sum.points.push_back({x, y});
            top = std::max(top, y);
        }
        for (std::size_t j = 0; j < group.samples.size(); ++j) {
            const GroupValue& v = group.samples[j].value;
            const bool outlier = !group.kept[j];
            figure::Polyline one{{},
                                 outlier ? figure::Stroke{kOutlierGrey, 0.8, {3.0, 2.0}}
                                         : figure::Stroke{GroupColor(k, 0.55), 0.6, {}}};
            for (int i = 0; i <= kCurvePoints; ++i) {
                const double x = low + (high - low) * i / kCurvePoints;
                one.points.push_back({x, NormalDensity(x, v.value, v.internal) / kept});
                top = std::max(top, one.points.back().y);
            }
            curves.emplace_back(one);
        }
        sums.emplace_back(sum);
        ++k;
    }
    f.y.minimum = 0.0;
    f.y.maximum = top > 0.0 ? top * (1.0 + kRoom) : 1.0;

    // The weighted mean of the kept samples, its internal band and, lighter, its external one.
    k = 0;
    std::vector<figure::Item> marks;
    for (const GroupSummary& group : table.groups) {
        if (!Drawn(group, name))
            continue;
        const GroupStatistics& s = group.withoutOutliers;
        bands.emplace_back(VerticalBand(s.weightedMean - s.weightedExternal, s.weightedMean + s.weightedExternal,
                                        0.0, f.y.maximum, GroupColor(k, 0.08)));
        bands.emplace_back(VerticalBand(s.weightedMean - s.weightedInternal, s.weightedMean + s.weightedInternal,
                                        0.0, f.y.maximum, GroupColor(k, 0.22)));
        marks.emplace_back(figure::Polyline{{{s.weightedMean, 0.0}, {s.weightedMean, f.y.maximum}},
                                            {GroupColor(k), 1.0, {4.0, 2.0}}});
        figure::Markers outliers{{}, {figure::MarkerShape::Cross, 6.0, std::nullopt, figure::Stroke{kBlack, 1.0, {}}}};
        for (const Outlier& o : group.outliers) {
            const GroupSample& sample = group.samples[o.index];
            const double peak = NormalDensity(sample.value.value, sample.value.value, sample.value.internal) /
                                std::max(1, group.withoutOutliers.n);
            outliers.points.push_back({sample.value.value, peak});
            figure::Label label;
            label.at = {sample.value.value, peak};
            label.text = sample.name;
            label.size = 6.5;
            label.anchor = figure::Anchor::BottomLeft;
            label.dx = 3.0;
            label.dy = 3.0;
            marks.emplace_back(label);
        }
        if (!outliers.points.empty())
            marks.insert(marks.begin(), outliers);
        f.legend.entries.push_back(
            {Format("%s: %s ± %s (%s) %s, MSWD %.2f, n %d", GroupName(group).c_str(),
                    Format(table.quantity.scale == 1000.0 ? "%.2f" : "%.3f", s.weightedMean).c_str(),
                    Format(table.quantity.scale == 1000.0 ? "%.2f" : "%.3f", s.weightedInternal).c_str(),
                    Format(table.quantity.scale == 1000.0 ? "%.2f" : "%.3f", s.weightedExternal).c_str(),
                    std::string(table.quantity.unit).c_str(), s.mswd, s.n),
             {figure::Stroke{GroupColor(k), 1.6, {}}, GroupColor(k, 0.22)}});
        ++k;
    }
    f.items = bands;
    f.items.insert(f.items.end(), curves.begin(), curves.end());
    f.items.insert(f.items.end(), sums.begin(), sums.end());
    f.items.insert(f.items.end(), marks.begin(), marks.end());
    bool anyOutlier = false;
    for (const GroupSummary& group : table.groups)
        anyOutlier = anyOutlier || (Drawn(group, name) && !group.outliers.empty());
    if (anyOutlier)
        f.legend.entries.push_back({"Outlier (dashed, left out of the sum)",
                                {figure::Stroke{kOutlierGrey, 0.8, {3.0, 2.0}}, std::nullopt, std::nullopt, false,
                                 figure::Marker{figure::MarkerShape::Cross, 6.0, std::nullopt,
                                                figure::Stroke{kBlack, 1.0, {}}}}});
    f.note = "Weighted mean ± internal (dark band) and external (light band) 1σ, outliers left out · " +
             TestNote(table) + " · each curve a normal density of the internal 1σ, the sums of unit area";
    return f;
}

bool MakeTransectFigure(const SummaryTable& table, const std::string& name, figure::Figure& f, std::string& error)
{
    if (table.axis.column.empty()) {
        error = "the file has no elevation or distance column (of exposure ages) to draw a transect";
        return false;
    }
    f = figure::Figure();
    const std::string unit(table.axis.unit);
    f.x.label = table.axis.column == "elevation" ? "Elevation (" + unit + ")" : "Distance (" + unit + ")";
    f.y.label = AxisLabel(table);
    double x0 = HUGE_VAL, x1 = -HUGE_VAL, y0 = HUGE_VAL, y1 = -HUGE_VAL;
    bool any = false;
    for (const GroupSummary& group : table.groups)
        if (Drawn(group, name) && group.transect) {
            any = true;
            for (const GroupSample& s : group.samples)
                if (std::isfinite(s.position)) {
                    x0 = std::min(x0, s.position);
                    x1 = std::max(x1, s.position);
                    y0 = std::min(y0, s.value.value - s.value.internal);
                    y1 = std::max(y1, s.value.value + s.value.internal);
                }
        }
    if (!any) {
        error = "no group has two samples at different " + std::string(table.axis.column) + "s to fit a line through";
        return false;
    }
    const double dx = (x1 - x0) * kRoom, dy = (y1 - y0) * kRoom;
    f.x.minimum = x0 - dx;
    f.x.maximum = x1 + dx;
    f.y.minimum = std::max(0.0, y0 - dy);
    f.y.maximum = y1 + dy;

    std::size_t k = 0;
    std::vector<figure::Item> labels;
    for (const GroupSummary& group : table.groups) {
        if (!Drawn(group, name) || !group.transect)
            continue;
        const WeightedLine& line = group.line;
        // The line and its 1-sigma band, sigma^2 = var a + 2 x cov + x^2 var b.
        figure::Polyline centre{{}, {GroupColor(k), 1.2, {}}};
        std::vector<Point> upper, lower;
        for (int i = 0; i <= 100; ++i) {
            const double x = f.x.minimum + (f.x.maximum - f.x.minimum) * i / 100;
            const double y = line.intercept + line.slope * x;
            const double sigma = std::sqrt(std::max(
                0.0, line.varianceIntercept + 2.0 * x * line.covariance + x * x * line.varianceSlope));
            centre.points.push_back({x, y});
            upper.push_back({x, y + sigma});
            lower.push_back({x, y - sigma});
        }
        figure::Polygon band{upper, GroupColor(k, 0.18), std::nullopt};
        band.points.insert(band.points.end(), lower.rbegin(), lower.rend());
        f.items.emplace_back(band);
        f.items.emplace_back(centre);

        figure::ErrorBars bars{{}, {}, {}, {}, {}, {kBlack, 0.7, {}}, 3.0};
        figure::Markers kept{{}, {figure::MarkerShape::Circle, 4.5, GroupColor(k), figure::Stroke{kBlack, 0.5, {}}}};
        figure::Markers apart{{},
                              {figure::MarkerShape::Circle, 4.5, std::nullopt, figure::Stroke{kOutlierGrey, 0.9, {}}}};
        for (std::size_t j = 0; j < group.samples.size(); ++j) {
            const GroupSample& s = group.samples[j];
            if (!std::isfinite(s.position))
                continue;
            const Point p{s.position, s.value.value};
            bars.points.push_back(p);
            bars.yLow.push_back(s.value.internal);
            bars.yHigh.push_back(s.value.internal);
            (group.kept[j] ? kept : apart).points.push_back(p);
            figure::Label label;
            label.at = p;
            label.text = s.name;
            label.size = 6.0;
            label.anchor = figure::Anchor::BottomLeft;
            label.dx = 3.0;
            label.dy = 2.0;
            label.optional = true;
            labels.emplace_back(label);
        }
        f.items.emplace_back(bars);
        f.items.emplace_back(kept);
        if (!apart.points.empty())
            f.items.emplace_back(apart);
        const TransectRate rate = RateOf(line);
        f.legend.entries.push_back(
            {Format("%s: %s %.3g ± %.2g %s/kyr", GroupName(group).c_str(), std::string(table.axis.rate).c_str(),
                    std::fabs(rate.rate), rate.sigma, unit.c_str()),
             {figure::Stroke{GroupColor(k), 1.2, {}}, GroupColor(k, 0.18), std::nullopt, false,
              figure::Marker{figure::MarkerShape::Circle, 4.5, GroupColor(k), figure::Stroke{kBlack, 0.5, {}}}}});
        ++k;
    }
    f.items.insert(f.items.end(), labels.begin(), labels.end());
    bool anyOutlier = false;
    for (const GroupSummary& group : table.groups)
        anyOutlier = anyOutlier || (Drawn(group, name) && group.transect && !group.outliers.empty());
    if (anyOutlier)
        f.legend.entries.push_back({"Outlier (left out of the line)",
                                {std::nullopt, std::nullopt, std::nullopt, false,
                                 figure::Marker{figure::MarkerShape::Circle, 4.5, std::nullopt,
                                                figure::Stroke{kOutlierGrey, 0.9, {}}}}});
    f.note = "Internal 1σ error bars · weighted least-squares line of age on " + std::string(table.axis.column) +
             " with its 1σ band, outliers left out · " + TestNote(table);
    return true;
}

} // namespace qex

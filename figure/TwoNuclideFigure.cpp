#include "figure/TwoNuclideFigure.h"

#include "batch/SampleFile.h"
#include "burial/IsochronAge.h"
#include "core/Format.h"
#include "figure/AxisTicks.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qex {

namespace {

using figure::Point;

constexpr double kYearsPerMyr = 1.0e6;
// 1 m/Myr in cm/yr, the unit of the model's erosion rates.
constexpr double kCmPerYrPerMPerMyr = 1.0e-4;
// The steady-erosion curve and the lines of constant burial: erosion rates
// from fast enough that the ratio is the production ratio (1000 cm/yr) down
// to saturation, 20 a decade, then none at all.
constexpr double kFastestErosion = 1.0e3;  // cm/yr
constexpr double kSlowestErosion = 1.0e-9; // cm/yr
constexpr int kErosionSamplesPerDecade = 20;
// The constant-exposure curve: from ten years to far beyond saturation.
constexpr double kShortestExposure = 10.0;   // yr
constexpr double kLongestExposure = 5.0e7;   // yr
constexpr int kExposureSamplesPerDecade = 30;
// Lines of constant source erosion: rates tried (m/Myr), and points along each.
constexpr double kErosionLineRates[] = {0.1, 0.3, 1.0, 3.0, 10.0, 30.0, 100.0, 300.0, 1000.0};
constexpr int kMostErosionLines = 5;
constexpr int kBurialSamples = 160;
// At most this many lines of constant burial; more, and the step doubles.
constexpr int kMostBurialLines = 24;
constexpr double kLongestBurial = 30.0; // Myr
// Room around the data: on the log axis a factor, on the ratio axis a share of the production ratio.
constexpr double kLogRoom = 1.25;
constexpr double kRatioRoom = 0.05;

// Okabe & Ito's colours, which readers with any colour vision tell apart.
const figure::Color kSampleColor{0.835, 0.369, 0.0, 1.0}; // vermillion
const figure::Color kIsochronColor{0.0, 0.447, 0.698, 1.0}; // blue
const figure::Color kBlack{0.0, 0.0, 0.0, 1.0};
const figure::Color kLineGrey{0.50, 0.50, 0.50, 1.0};
const figure::Color kLabelGrey{0.30, 0.30, 0.30, 1.0};
const figure::Color kFieldFill{0.90, 0.90, 0.90, 1.0};

std::vector<double> LogSpaced(double first, double last, int perDecade)
{
    const double a = std::log10(first);
    const double b = std::log10(last);
    const int steps = std::max(1, static_cast<int>(std::lround(std::fabs(b - a) * perDecade)));
    std::vector<double> values;
    for (int i = 0; i <= steps; ++i)
        values.push_back(std::pow(10.0, a + (b - a) * i / steps));
    return values;
}

// Erosion rates of the steady-erosion curve, fast to none.
std::vector<double> ErosionRates()
{
    std::vector<double> rates = LogSpaced(kFastestErosion, kSlowestErosion, kErosionSamplesPerDecade);
    rates.push_back(0.0);
    return rates;
}

Point OnDiagram(const NuclideConcentrations& n)
{
    return {n.be10, n.al26 / n.be10};
}

// A 1, 2 or 5 step giving about `count` steps over the span.
double NiceStep(double span, int count)
{
    const double raw = span / count;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double f : {1.0, 2.0, 5.0})
        if (f * power >= raw)
            return f * power;
    return 10.0 * power;
}

std::string Number(double value)
{
    return Format("%g", value);
}

// The first (or the last) point of a line inside the window, and whether it
// is the line's own end.
bool EndInside(const std::vector<Point>& line, bool last, const figure::Axis& x, const figure::Axis& y, Point& at,
               bool& end)
{
    for (std::size_t k = 0; k < line.size(); ++k) {
        const std::size_t i = last ? line.size() - 1 - k : k;
        const Point& p = line[i];
        if (p.x >= x.minimum && p.x <= x.maximum && p.y >= y.minimum && p.y <= y.maximum) {
            at = p;
            end = k == 0;
            return true;
        }
    }
    return false;
}

figure::Label LineLabel(const Point& at, const std::string& text, figure::Anchor anchor, double dx, double dy)
{
    figure::Label label;
    label.at = at;
    label.text = text;
    label.size = 6.5;
    label.color = kLabelGrey;
    label.anchor = anchor;
    label.dx = dx;
    label.dy = dy;
    label.optional = true;
    return label;
}

} // namespace

const InputTable<TwoNuclideFigureInputs>& TwoNuclideFigureInputTable()
{
    using In = TwoNuclideFigureInputs;
    constexpr InputRange kProduction{0.001, 100000.0}; // atoms/g/yr
    static const InputRow<In> rows[] = {
        {.name = "input", .controlId = 1000, .member = "m_strInput", .label = "CSV file of samples",
         .kind = InputKind::FileToRead, .field = &In::input, .required = true,
         .help = "one sample a row: sample, be10, be10-err, al26, al26-err (atoms/g, 1 sigma), optionally "
                 "be10-production, al26-production"},
        {.name = "be10-production", .controlId = 1001, .member = "m_dBeP",
         .label = "10Be production rate at the source", .unit = "atoms/g/yr", .field = &In::be10Production,
         .range = kProduction, .help = "for rows without their own"},
        {.name = "al26-production", .controlId = 1002, .member = "m_dAlP",
         .label = "26Al production rate at the source", .unit = "atoms/g/yr", .field = &In::al26Production,
         .range = kProduction, .help = "for rows without their own"},
        {.name = "density", .controlId = 1003, .member = "m_dDensity", .label = "Rock density", .unit = "g/cm3",
         .field = &In::density, .range = InputRange{0.1, 100.0}},
        {.name = "free-path", .controlId = 1004, .member = "m_dFreePath", .label = "Attenuation free path",
         .unit = "g/cm2", .field = &In::freePath, .range = InputRange{100.0, 500.0}},
        Be10HalfLifeRow(&In::be10HalfLife, 1005, "m_dBe10HalfLife"),
        Al26HalfLifeRow(&In::al26HalfLife, 1006, "m_dAl26HalfLife"),
        {.name = "burial-step", .controlId = 1007, .member = "m_dBurialStep",
         .label = "Time between lines of constant burial", .unit = "Myr", .field = &In::burialStep,
         .range = InputRange{0.05, 10.0}, .help = "doubled until at most 24 lines are in view"},
        {.name = "raw", .controlId = 1008, .member = "m_bRaw", .label = "Raw concentrations", .kind = InputKind::Flag,
         .field = &In::raw,
         .help = "10Be (atoms/g) against 26Al/10Be, the lines at the options' production rates; default: "
                 "normalised by each sample's production rates"},
        {.name = "no-labels", .controlId = 1009, .member = "m_bNoLabels", .label = "No sample labels",
         .kind = InputKind::Flag, .field = &In::noLabels, .help = "leave the sample names off the diagram"},
        {.name = "isochron", .controlId = 1011, .member = "m_bIsochron", .label = "Isochron",
         .kind = InputKind::Flag, .field = &In::isochron,
         .help = "the samples' isochron (a York fit of 26Al on 10Be, at least 3 samples) with its 1-sigma band and "
                 "its burial age at the options' production ratio in the legend",
         .listedAtDefault = false},
    };
    static const InputTable<In> table(rows);
    return table;
}

bool ReadTwoNuclideSamples(const TwoNuclideFigureInputs& inputs, std::vector<TwoNuclideSample>& samples,
                           std::string& error)
{
    MeasuredPair prototype;
    prototype.be10Production = inputs.be10Production;
    prototype.al26Production = inputs.al26Production;
    std::vector<SampleRow<MeasuredPair>> rows;
    if (!ReadSampleFile(inputs.input, "two-nuclide", MeasuredPairTable(), prototype, rows, error))
        return false;
    samples.clear();
    for (const SampleRow<MeasuredPair>& row : rows)
        samples.push_back({row.name, row.values});
    return true;
}

bool FitTwoNuclideIsochron(const TwoNuclideFigureInputs& inputs, const std::vector<TwoNuclideSample>& samples,
                           IsochronLine& line, std::string& error)
{
    std::vector<IsochronSample> points;
    std::vector<IsochronSample> measured;
    for (const TwoNuclideSample& s : samples) {
        const MeasuredPair& p = s.pair;
        points.push_back({p.be10, p.be10Error, p.al26, p.al26Error, p.be10PostBurialProduction,
                          p.al26PostBurialProduction});
        measured.push_back({p.be10, p.be10Error, p.al26, p.al26Error, 0.0, 0.0});
    }
    const IsochronSettings settings{inputs.al26Production / inputs.be10Production, 0.0,
                                    {inputs.be10HalfLife, inputs.al26HalfLife}};
    const IsochronSolution solution = SolveIsochron(measured, settings);
    if (solution.outcome == IsochronOutcome::NoFit) {
        error = "isochron: " + solution.failure;
        return false;
    }
    line = IsochronLine();
    line.slope = solution.line.slope;
    line.intercept = solution.line.intercept;
    line.varianceSlope = solution.line.slopeError * solution.line.slopeError;
    line.varianceIntercept = solution.line.interceptError * solution.line.interceptError;
    line.covariance = solution.line.covariance;
    line.be10Production = inputs.be10Production;
    line.al26Production = inputs.al26Production;
    line.dated = solution.outcome == IsochronOutcome::Age;
    line.age = solution.age;
    line.ageError = solution.ageErrorScaled;
    const IsochronSolution corrected = SolveIsochron(points, settings);
    if (corrected.postBurial && corrected.outcome == IsochronOutcome::Age) {
        line.corrected = true;
        line.correctedAge = corrected.age;
        line.correctedAgeError = corrected.ageErrorScaled;
    }
    return true;
}

figure::Figure MakeTwoNuclideFigure(const TwoNuclideFigureInputs& inputs, const std::vector<TwoNuclideSample>& samples,
                                    const std::optional<IsochronLine>& isochron)
{
    const bool normalized = !inputs.raw;
    // Normalised, the lines are those of unit production rates: N/P itself.
    BurialSource source;
    source.be10Production = normalized ? 1.0 : inputs.be10Production;
    source.al26Production = normalized ? 1.0 : inputs.al26Production;
    source.density = inputs.density;
    source.freePath = inputs.freePath;
    source.halfLives = {inputs.be10HalfLife, inputs.al26HalfLife};
    const double lambda10 = DecayConstant(source.halfLives.be10);
    const double lambda26 = DecayConstant(source.halfLives.al26);
    const double productionRatio = source.al26Production / source.be10Production; // y of the fastest erosion
    const Point saturation = OnDiagram(SteadyErosionThenBurial(source, 0.0, 0.0));
    const double scale = EllipseScale(kEllipseProbability);

    std::vector<DiagramPosition> positions;
    double lowX = saturation.x / 100.0;
    double highX = saturation.x;
    double lowY = saturation.y - 2.0 * kRatioRoom * productionRatio;
    double highY = productionRatio * (1.0 + 2.0 * kRatioRoom);
    for (const TwoNuclideSample& s : samples) {
        const DiagramPosition p = PlaceOnDiagram(s.pair, normalized);
        positions.push_back(p);
        const double hx = scale * std::sqrt(p.varianceX);
        const double hy = scale * std::sqrt(p.varianceY);
        lowX = std::min(lowX, p.x - hx > 0.0 ? p.x - hx : p.x / 2.0);
        highX = std::max(highX, p.x + hx);
        lowY = std::min(lowY, p.y - hy - kRatioRoom * productionRatio);
        highY = std::max(highY, p.y + hy + kRatioRoom * productionRatio);
    }

    figure::Figure f;
    f.x.scale = figure::Scale::Log10;
    f.x.minimum = std::pow(10.0, std::floor(std::log10(lowX / kLogRoom)));
    f.x.maximum = std::pow(10.0, std::ceil(std::log10(highX * kLogRoom)));
    const double yStep = NiceStep(highY - std::max(lowY, 0.0), 6);
    f.y.minimum = std::max(0.0, std::floor(lowY / yStep) * yStep);
    f.y.maximum = std::ceil(highY / yStep) * yStep;
    f.x.label = normalized ? "¹⁰Be / P₁₀ (yr)" : "¹⁰Be (atoms g⁻¹)";
    f.y.label = normalized ? "(²⁶Al / P₂₆) / (¹⁰Be / P₁₀)" : "²⁶Al / ¹⁰Be";

    // The simple-exposure field: between constant exposure (above) and steady erosion (below).
    figure::Polyline exposure{{}, {kBlack, 1.0, {}}};
    for (const double t : LogSpaced(kShortestExposure, kLongestExposure, kExposureSamplesPerDecade))
        exposure.points.push_back(OnDiagram(ExposureThenBurial(source, t, 0.0)));
    figure::Polyline erosion{{}, {kBlack, 1.0, {4.0, 2.5}}};
    for (const double eps : ErosionRates())
        erosion.points.push_back(OnDiagram(SteadyErosionThenBurial(source, eps, 0.0)));
    figure::Polygon field{exposure.points, kFieldFill, std::nullopt};
    field.points.insert(field.points.end(), erosion.points.rbegin(), erosion.points.rend());
    f.items.emplace_back(field);

    // Lines of constant burial time after steady erosion, labelled where
    // they come in at the left, one above the other.
    const figure::Stroke burialStroke{kLineGrey, 0.5, {}};
    double step = inputs.burialStep;
    auto lineCount = [&](double s) {
        int n = 0;
        for (double t = s; t <= kLongestBurial + 1e-9; t += s)
            if (productionRatio * std::exp(-(lambda26 - lambda10) * t * kYearsPerMyr) > f.y.minimum)
                ++n;
        return n;
    };
    while (lineCount(step) > kMostBurialLines)
        step *= 2.0;
    std::vector<figure::Item> labels;
    for (int k = 1; k * step <= kLongestBurial + 1e-9; ++k) {
        const double myr = k * step;
        figure::Polyline line{{}, burialStroke};
        for (const double eps : ErosionRates())
            line.points.push_back(OnDiagram(SteadyErosionThenBurial(source, eps, myr * kYearsPerMyr)));
        Point at;
        bool end = false;
        if (!EndInside(line.points, false, f.x, f.y, at, end))
            continue;
        f.items.emplace_back(line);
        labels.emplace_back(LineLabel(at, Number(std::round(myr * 1000.0) / 1000.0) + " Myr",
                                      figure::Anchor::BottomLeft, 0.0, 1.5));
    }

    // Lines of constant source erosion through burial, labelled where they
    // leave the plot: rates whose steady state is in view, at most five.
    std::vector<double> rates;
    for (const double rate : kErosionLineRates) {
        const Point start = OnDiagram(SteadyErosionThenBurial(source, rate * kCmPerYrPerMPerMyr, 0.0));
        if (start.x > f.x.minimum * kLogRoom && start.x < saturation.x / kLogRoom)
            rates.push_back(rate);
    }
    while (static_cast<int>(rates.size()) > kMostErosionLines) {
        std::vector<double> every;
        for (std::size_t i = 0; i < rates.size(); i += 2)
            every.push_back(rates[i]);
        rates = every;
    }
    const figure::Stroke erosionStroke{kLineGrey, 0.6, {0.8, 1.6}};
    for (const double rate : rates) {
        figure::Polyline line{{}, erosionStroke};
        for (int i = 0; i <= kBurialSamples; ++i) {
            const double t = kLongestBurial * kYearsPerMyr * i / kBurialSamples;
            line.points.push_back(OnDiagram(SteadyErosionThenBurial(source, rate * kCmPerYrPerMPerMyr, t)));
        }
        Point at;
        bool end = false;
        if (!EndInside(line.points, true, f.x, f.y, at, end))
            continue;
        f.items.emplace_back(line);
        labels.emplace_back(LineLabel(at, Number(rate) + " m/Myr", figure::Anchor::BottomRight, -2.0, 1.5));
    }
    f.items.emplace_back(exposure);
    f.items.emplace_back(erosion);

    if (isochron) {
        // N26 = a + b N10 and its 1-sigma band, sigma^2 = va + 2 N10 cov + N10^2 vb, on the diagram.
        const IsochronLine& line = *isochron;
        const double toX = normalized ? 1.0 / line.be10Production : 1.0;
        const double toY = normalized ? line.be10Production / line.al26Production : 1.0;
        figure::Polyline centre{{}, {kIsochronColor, 1.2, {}}};
        std::vector<Point> upper;
        std::vector<Point> lower;
        for (const double x : LogSpaced(f.x.minimum, f.x.maximum, 60)) {
            const double n10 = x / toX;
            const double n26 = line.intercept + line.slope * n10;
            const double sigma = std::sqrt(std::max(0.0, line.varianceIntercept + 2.0 * n10 * line.covariance +
                                                               n10 * n10 * line.varianceSlope));
            centre.points.push_back({x, n26 / n10 * toY});
            upper.push_back({x, (n26 + sigma) / n10 * toY});
            lower.push_back({x, (n26 - sigma) / n10 * toY});
        }
        figure::Color bandFill = kIsochronColor;
        bandFill.a = 0.18;
        figure::Polygon band{upper, bandFill, std::nullopt};
        band.points.insert(band.points.end(), lower.rbegin(), lower.rend());
        f.items.emplace_back(band);
        f.items.emplace_back(centre);
    }

    // The samples over everything but the labels.
    figure::Color ellipseFill = kSampleColor;
    ellipseFill.a = 0.28;
    const figure::Stroke ellipseOutline{kSampleColor, 0.7, {}};
    figure::Markers centres{{}, {figure::MarkerShape::Circle, 1.8, kBlack, std::nullopt}};
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const DiagramPosition& p = positions[i];
        f.items.emplace_back(
            figure::Ellipse{{p.x, p.y}, p.varianceX, p.covarianceXY, p.varianceY, scale, ellipseFill, ellipseOutline});
        centres.points.push_back({p.x, p.y});
    }
    f.items.emplace_back(centres);
    f.items.insert(f.items.end(), labels.begin(), labels.end());
    if (!inputs.noLabels)
        for (std::size_t i = 0; i < samples.size(); ++i) {
            figure::Label label;
            label.at = {positions[i].x, positions[i].y};
            label.text = samples[i].name;
            label.size = 6.5;
            label.anchor = figure::Anchor::BottomLeft;
            label.dx = 3.0;
            label.dy = 3.0;
            f.items.emplace_back(label);
        }

    const std::string percent = Format("%.0f %%", kEllipseProbability * 100.0);
    f.legend.entries = {
        {"Samples, " + percent + " ellipses", {std::nullopt, ellipseFill, ellipseOutline, true, std::nullopt}},
        {"Constant exposure", {figure::Stroke{kBlack, 1.0, {}}}},
        {"Steady erosion", {figure::Stroke{kBlack, 1.0, {4.0, 2.5}}}},
        {"Burial time (Myr)", {burialStroke}},
        {"Source erosion (m/Myr)", {erosionStroke}},
    };
    if (isochron)
        f.legend.entries.push_back({(isochron->dated ? Format("Isochron ± 1σ: %.0f ± %.0f kyr", isochron->age / 1000.0,
                                                              isochron->ageError / 1000.0)
                                                     : std::string("Isochron ± 1σ: no burial age")) +
                                        (isochron->corrected
                                             ? Format(" (%.0f ± %.0f post-burial corrected)",
                                                      isochron->correctedAge / 1000.0,
                                                      isochron->correctedAgeError / 1000.0)
                                             : std::string()),
                                    {figure::Stroke{kIsochronColor, 1.2, {}}, [] {
                                                          figure::Color c = kIsochronColor;
                                                          c.a = 0.18;
                                                          return c;
                                                      }()}});

    // What made it: the constants, always (the production rates are the user's own).
    f.note = Format("P₁₀ %s, P₂₆ %s atoms g⁻¹ yr⁻¹%s · ρ %s g cm⁻³ · Λ %s g cm⁻² · t½ ¹⁰Be %s Myr, ²⁶Al %s Myr",
                    Number(inputs.be10Production).c_str(), Number(inputs.al26Production).c_str(),
                    normalized ? " (or each row's own)" : "", Number(inputs.density).c_str(),
                    Number(inputs.freePath).c_str(), Number(inputs.be10HalfLife / kYearsPerMyr).c_str(),
                    Number(inputs.al26HalfLife / kYearsPerMyr).c_str());
    return f;
}

} // namespace qex

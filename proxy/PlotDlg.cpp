#include "proxy/PlotDlg.h"

#include "core/AtomicFile.h"
#include "core/Message.h"
#include "proxy/PlotView.h"
#include "ui/DialogMemory.h"
#include "ui/FileChooser.h"

#include <QAreaSeries>
#include <QBuffer>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QFileInfo>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QHBoxLayout>
#include <QImage>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScatterSeries>
#include <QShortcut>
#include <QSvgGenerator>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <cmath>
#include <tuple>

namespace qex {

namespace {

constexpr double kMillimetresPerInch = 25.4;
// Charts are laid out at this resolution and exported scaled from it, so
// texts keep their point sizes relative to the figure.
constexpr double kLayoutDotsPerInch = 96.0;
constexpr double kInchesPerMetre = 1000.0 / kMillimetresPerInch;
// Room between a duration label and the top of the plot area (pixels).
constexpr qreal kLabelInset = 4.0;

const QColor kExposureColour(230, 159, 0, 90);  // sand: the surface was exposed
const QColor kBurialColour(86, 140, 200, 90);   // ice blue: buried under ice
const QColor kCurveColour(40, 40, 40);
const QColor kCutColour(200, 30, 30);
const QColor kCrossingColour(150, 0, 0);
const QColor kConstantExposureColour(0, 110, 60);
const QColor kSteadyErosionColour(40, 70, 170);
const QColor kFieldColour(160, 160, 160, 60);
const QColor kSampleColour(200, 30, 30);
const QColor kPathColour(120, 50, 160);
const QColor kCloudColour(60, 60, 60, 110);
// Monte Carlo histograms: exposure, burial, total.
const QColor kHistogramColours[] = {QColor(200, 120, 0), QColor(40, 100, 180), QColor(40, 40, 40)};

QString FromUtf8(const std::string& text)
{
    return QString::fromStdString(text);
}

QLineSeries* Line(const std::vector<PlotPoint>& points, const QString& name, const QColor& colour, qreal width,
                  Qt::PenStyle style = Qt::SolidLine)
{
    auto* series = new QLineSeries;
    series->setName(name);
    QList<QPointF> list;
    list.reserve(static_cast<qsizetype>(points.size()));
    for (const PlotPoint& p : points)
        list.append(QPointF(p.x, p.y));
    series->replace(list);
    QPen pen(colour, width, style);
    series->setPen(pen);
    return series;
}

QScatterSeries* Markers(const std::vector<PlotPoint>& points, const QString& name, const QColor& colour, qreal size,
                        QScatterSeries::MarkerShape shape = QScatterSeries::MarkerShapeCircle)
{
    auto* series = new QScatterSeries;
    series->setName(name);
    for (const PlotPoint& p : points)
        series->append(p.x, p.y);
    series->setMarkerShape(shape);
    series->setMarkerSize(size);
    series->setColor(colour);
    series->setBorderColor(colour.darker(130));
    return series;
}

void HideFromLegend(QChart* chart, QAbstractSeries* series)
{
    for (QLegendMarker* marker : chart->legend()->markers(series))
        marker->setVisible(false);
}

// Ticks at round values (multiples of a 1, 2 or 5 step) whatever the range,
// the zoomed ones included.
void KeepTicksRound(QValueAxis* axis)
{
    auto round = [axis](qreal minimum, qreal maximum) {
        axis->setTickType(QValueAxis::TicksDynamic);
        axis->setTickAnchor(0.0);
        axis->setTickInterval(RoundTickStep(minimum, maximum));
    };
    QObject::connect(axis, &QValueAxis::rangeChanged, axis, round);
    round(axis->min(), axis->max());
}

// A linear axis over at least `range`, widened to round tick values.
QValueAxis* ValueAxis(const QString& title, const AxisRange& range)
{
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setRange(range.minimum, range.maximum);
    axis->applyNiceNumbers();
    axis->setLabelFormat("%g");
    KeepTicksRound(axis);
    return axis;
}

// A logarithmic axis drawn as a linear one over log10 of the values, so that
// its labels can be powers of ten ("10⁶", "2×10⁵"): the series attached
// to it take log10 of their x values (LogX). A zoom keeps two labels at least.
QCategoryAxis* LogAxis(const QString& title, const AxisRange& range)
{
    auto* axis = new QCategoryAxis;
    axis->setTitleText(title);
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    auto label = [axis](qreal low, qreal high) {
        for (const QString& old : axis->categoriesLabels())
            axis->remove(old);
        axis->setStartValue(low);
        for (const LogTick& tick : LogAxisTicks(std::pow(10.0, low), std::pow(10.0, high)))
            axis->append(QString::fromStdString(tick.label), std::log10(tick.value));
    };
    QObject::connect(axis, &QValueAxis::rangeChanged, axis, label);
    axis->setRange(std::log10(range.minimum), std::log10(range.maximum));
    label(axis->min(), axis->max());
    return axis;
}

std::vector<PlotPoint> LogX(std::vector<PlotPoint> points)
{
    for (PlotPoint& p : points)
        p.x = std::log10(p.x);
    return points;
}

AxisRange RangeOf(const QValueAxis* axis)
{
    return {axis->min(), axis->max()};
}

// An area series does not own its boundary lines.
void AdoptBoundaries(QAreaSeries* area)
{
    if (area->upperSeries() != nullptr)
        area->upperSeries()->setParent(area);
    if (area->lowerSeries() != nullptr)
        area->lowerSeries()->setParent(area);
}

QChart* NewChart(const std::string& title)
{
    auto* chart = new QChart;
    chart->setTitle(FromUtf8(title));
    QFont font = chart->titleFont();
    font.setBold(true);
    chart->setTitleFont(font);
    chart->setBackgroundRoundness(0);
    chart->setDropShadowEnabled(false);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setAnimationOptions(QChart::NoAnimation);
    return chart;
}

// Each legend entry of a line or of markers shows the line or the marker it
// stands for; a band keeps its square, filled strongly enough to be seen.
void ShowSymbolsInLegend(QChart* chart)
{
    constexpr int kLeastSwatchAlpha = 120;
    for (QLegendMarker* marker : chart->legend()->markers()) {
        if (qobject_cast<QXYSeries*>(marker->series()) != nullptr) {
            marker->setShape(QLegend::MarkerShapeFromSeries);
        } else if (QColor fill = marker->brush().color(); fill.alpha() < kLeastSwatchAlpha) {
            fill.setAlpha(kLeastSwatchAlpha);
            marker->setBrush(fill);
        }
    }
}

void Attach(QChart* chart, QAbstractSeries* series, QAbstractAxis* x, QAbstractAxis* y)
{
    chart->addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
}

// The stretches of one kind as a band over the whole height of the plot.
QAreaSeries* StretchBand(const ProxyHistoryPlot& plot, StretchKind kind, const AxisRange& ages,
                         const AxisRange& values, const QString& name, const QColor& colour)
{
    auto* upper = new QLineSeries;
    auto* lower = new QLineSeries;
    const double top = values.maximum;
    const double bottom = values.minimum;
    lower->append(ages.minimum, bottom);
    for (const HistoryStretch& s : plot.stretches) {
        if (s.kind != kind)
            continue;
        upper->append(s.start, bottom);
        upper->append(s.start, top);
        upper->append(s.end, top);
        upper->append(s.end, bottom);
    }
    lower->append(ages.maximum, bottom);
    auto* band = new QAreaSeries(upper, lower);
    band->setName(name);
    band->setColor(colour);
    band->setBorderColor(Qt::transparent);
    band->setPen(Qt::NoPen);
    return band;
}

// Each stretch's duration at the top of the plot area, centred on the portion
// of the stretch in view: across it when it fits, upright otherwise, then
// reaching over its neighbours where no other label is (so that a narrow
// stretch keeps its label in a small exported figure too). The widest
// stretches are labelled first; a label that would touch another, or a
// stretch out of view, is left out.
void PlaceDurationLabels(QChart* chart, const ProxyHistoryPlot& plot, const std::vector<QGraphicsSimpleTextItem*>& labels)
{
    const QRectF area = chart->plotArea();
    struct Span {
        std::size_t index;
        qreal left, right;
    };
    std::vector<Span> spans;
    for (std::size_t i = 0; i < labels.size() && i < plot.stretches.size(); ++i) {
        const HistoryStretch& s = plot.stretches[i];
        const qreal left = std::max(area.left(), chart->mapToPosition(QPointF(s.start, plot.values.maximum)).x());
        const qreal right = std::min(area.right(), chart->mapToPosition(QPointF(s.end, plot.values.maximum)).x());
        labels[i]->setVisible(false);
        labels[i]->setRotation(0);
        if (right > left)
            spans.push_back({i, left, right});
    }
    std::stable_sort(spans.begin(), spans.end(),
                     [](const Span& a, const Span& b) { return a.right - a.left > b.right - b.left; });
    std::vector<std::pair<qreal, qreal>> taken; // the x extents of the labels placed
    for (const Span& span : spans) {
        QGraphicsSimpleTextItem* label = labels[span.index];
        const QRectF text = label->boundingRect();
        const qreal centre = (span.left + span.right) / 2;
        const bool across = text.width() + 2 * kLabelInset <= span.right - span.left;
        if (!across && text.width() + 2 * kLabelInset > area.height())
            continue;
        const qreal half = (across ? text.width() : text.height()) / 2 + 1;
        const qreal from = centre - half;
        const qreal to = centre + half;
        if (from < area.left() || to > area.right())
            continue;
        bool free = true;
        for (const auto& [a, b] : taken)
            free = free && (to <= a || from >= b);
        if (!free)
            continue;
        taken.emplace_back(from, to);
        if (across) {
            label->setPos(centre - text.width() / 2, area.top() + kLabelInset);
        } else {
            label->setRotation(-90);
            label->setPos(centre - text.height() / 2, area.top() + kLabelInset + text.width());
        }
        label->setVisible(true);
    }
}

QChart* MakeHistoryChart(const ProxyHistoryPlot& plot)
{
    QChart* chart = NewChart(plot.title);
    auto* x = ValueAxis("Age (kyr before present)", plot.ages);
    auto* y = ValueAxis("Proxy value", plot.values);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    const AxisRange ages = RangeOf(x);
    const AxisRange values = RangeOf(y);

    for (const auto& [kind, name, colour] : {std::tuple{StretchKind::Exposure, "Exposure", kExposureColour},
                                             std::tuple{StretchKind::Burial, "Burial", kBurialColour}}) {
        QAreaSeries* band = StretchBand(plot, kind, ages, values, name, colour);
        Attach(chart, band, x, y);
        AdoptBoundaries(band);
    }
    Attach(chart, Line(plot.curve, FromUtf8(plot.curveName), kCurveColour, 1.2), x, y);
    Attach(chart,
           Line({{ages.minimum, plot.cutValue}, {ages.maximum, plot.cutValue}},
                QString("Cut %1").arg(plot.cutValue, 0, 'f', 3), kCutColour, 1.5, Qt::DashLine),
           x, y);
    std::vector<PlotPoint> crossings;
    for (double age : plot.crossings)
        crossings.push_back({age, plot.cutValue});
    Attach(chart, Markers(crossings, "Crossings", kCrossingColour, 6.0), x, y);

    std::vector<QGraphicsSimpleTextItem*> labels;
    for (const HistoryStretch& s : plot.stretches) {
        auto* label = new QGraphicsSimpleTextItem(FromUtf8(s.label), chart);
        QFont font = label->font();
        font.setPointSizeF(std::max(6.0, chart->font().pointSizeF() - 1.0));
        label->setFont(font);
        label->setZValue(10);
        labels.push_back(label);
    }
    // The labels follow their stretches when the plot is resized or zoomed.
    auto place = [chart, plot, labels] { PlaceDurationLabels(chart, plot, labels); };
    QObject::connect(chart, &QChart::plotAreaChanged, chart, place);
    QObject::connect(x, &QValueAxis::rangeChanged, chart, place);
    QObject::connect(y, &QValueAxis::rangeChanged, chart, place);
    ShowSymbolsInLegend(chart);
    return chart;
}

QChart* MakeTwoNuclideChart(const TwoNuclidePlot& plot, const std::vector<PlotPoint>& cloud = {})
{
    QChart* chart = NewChart(plot.title);
    QCategoryAxis* x = LogAxis(QString::fromUtf8("\u00b9\u2070Be (atoms/g)"), plot.be10);
    auto* y = ValueAxis(QString::fromUtf8("\u00b2\u2076Al/\u00b9\u2070Be"), plot.ratio);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);

    // The simple-exposure field lies between the two end members.
    auto* field = new QAreaSeries(Line(LogX(plot.constantExposure), QString(), Qt::transparent, 0),
                                  Line(LogX(plot.steadyErosion), QString(), Qt::transparent, 0));
    field->setName("Simple exposure field");
    field->setColor(kFieldColour);
    field->setPen(Qt::NoPen);
    Attach(chart, field, x, y);
    AdoptBoundaries(field);
    Attach(chart, Line(LogX(plot.constantExposure), "Constant exposure", kConstantExposureColour, 1.5), x, y);
    Attach(chart, Line(LogX(plot.steadyErosion), "Steady erosion", kSteadyErosionColour, 1.5, Qt::DashLine),
           x, y);

    if (!cloud.empty()) {
        // Beneath the history and the sample, so both stay readable.
        QScatterSeries* draws = Markers(LogX(cloud), "Monte Carlo draws", kCloudColour, 4.0);
        draws->setPen(Qt::NoPen);
        Attach(chart, draws, x, y);
    }
    const std::vector<PlotPoint> path = LogX(plot.path);
    Attach(chart, Line(path, "Best history", kPathColour, 1.2), x, y);
    QScatterSeries* steps = Markers(path, QString(), kPathColour, 5.0);
    Attach(chart, steps, x, y);
    HideFromLegend(chart, steps);
    if (!path.empty()) {
        // An open square, so the measured sample shows through where the two meet.
        QScatterSeries* simulated =
            Markers({path.back()}, "Simulated sample", kPathColour, 13.0, QScatterSeries::MarkerShapeRectangle);
        simulated->setColor(Qt::transparent);
        simulated->setPen(QPen(kPathColour, 2.0));
        Attach(chart, simulated, x, y);
    }

    // The measured sample with its one-sigma bars.
    const PlotPoint s = plot.sample;
    // A bar reaching zero or below stops at the axis: a log axis has no place for it.
    const double left = std::max(s.x - plot.be10Sigma, plot.be10.minimum);
    QLineSeries* across =
        Line(LogX({{left, s.y}, {s.x + plot.be10Sigma, s.y}}), QString(), kSampleColour, 1.5);
    QLineSeries* upright =
        Line(LogX({{s.x, s.y - plot.ratioSigma}, {s.x, s.y + plot.ratioSigma}}), QString(), kSampleColour, 1.5);
    Attach(chart, across, x, y);
    Attach(chart, upright, x, y);
    HideFromLegend(chart, across);
    HideFromLegend(chart, upright);
    Attach(chart, Markers(LogX({s}), QString::fromUtf8("Measured \u00b1 1\u03c3"), kSampleColour, 9.0), x, y);
    // Six entries do not fit in a row below the plot.
    chart->legend()->setAlignment(Qt::AlignRight);
    QFont legendFont = chart->legend()->font();
    legendFont.setPointSizeF(std::max(6.0, legendFont.pointSizeF() - 1.0));
    chart->legend()->setFont(legendFont);
    ShowSymbolsInLegend(chart);
    return chart;
}

QChart* MakeFitChart(const FitPlot& plot)
{
    QChart* chart = NewChart(plot.title);
    auto* x = ValueAxis("Cut value", plot.cuts);
    auto* y = ValueAxis("Ratio difference ABS_diff (%)", plot.differences);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    Attach(chart, Line(plot.points, "Ratio difference per cut value", kCurveColour, 1.2), x, y);
    if (plot.hasBest) {
        QLineSeries* marker = Line({{plot.best.x, y->min()}, {plot.best.x, y->max()}}, QString(), kCutColour, 1.2,
                                   Qt::DashLine);
        Attach(chart, marker, x, y);
        HideFromLegend(chart, marker);
        Attach(chart, Markers({plot.best}, QString("Best fit, cut %1").arg(plot.best.x, 0, 'f', 5), kCutColour, 9.0),
               x, y);
    }
    ShowSymbolsInLegend(chart);
    return chart;
}

// One quantity's panel: its histogram over its own bins, the 68 % interval
// shaded, the median a dashed line.
QChart* MakeMonteCarloChart(const std::string& title, const MonteCarloHistogram& h, const QColor& colour)
{
    QChart* chart = NewChart(title + ": " + h.name);
    auto* x = ValueAxis(QString("%1 (kyr)").arg(FromUtf8(h.name)), h.ages);
    auto* y = ValueAxis("Draws per bin", h.draws);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    const qreal top = h.draws.maximum;
    QColor band = colour;
    band.setAlpha(40);
    auto* interval = new QAreaSeries(Line({{h.p16, top}, {h.p84, top}}, QString(), Qt::transparent, 0),
                                     Line({{h.p16, 0.0}, {h.p84, 0.0}}, QString(), Qt::transparent, 0));
    interval->setName(QString("68 % interval %1 to %2 kyr").arg(h.p16, 0, 'f', 1).arg(h.p84, 0, 'f', 1));
    interval->setColor(band);
    interval->setPen(Qt::NoPen);
    Attach(chart, interval, x, y);
    AdoptBoundaries(interval);
    Attach(chart, Line({{h.median, 0.0}, {h.median, top}}, QString("Median %1 kyr").arg(h.median, 0, 'f', 1), colour,
                       1.2, Qt::DashLine),
           x, y);
    Attach(chart, Line(h.outline, "Draws", colour, 1.5), x, y);
    ShowSymbolsInLegend(chart);
    return chart;
}

// An axis' range and scale.
bool AxisWindow(const QAbstractAxis* axis, AxisRange& range, AxisScale& scale)
{
    if (const auto* value = qobject_cast<const QValueAxis*>(axis)) {
        range = {value->min(), value->max()};
        scale = AxisScale::Linear;
        return true;
    }
    return false;
}

QAbstractAxis* FirstAxis(const QChart* chart, Qt::Orientation orientation)
{
    const QList<QAbstractAxis*> axes = chart->axes(orientation);
    return axes.isEmpty() ? nullptr : axes.first();
}

// The window a chart shows now (zoomed or not).
bool WindowOf(const QChart* chart, PlotWindow& window)
{
    return AxisWindow(FirstAxis(chart, Qt::Horizontal), window.x, window.xScale) &&
           AxisWindow(FirstAxis(chart, Qt::Vertical), window.y, window.yScale);
}

void SetAxisRange(QAbstractAxis* axis, const AxisRange& range)
{
    if (axis != nullptr)
        axis->setRange(range.minimum, range.maximum);
}

std::vector<PlotPoint> PointsOf(const QXYSeries* series)
{
    std::vector<PlotPoint> points;
    for (const QPointF& p : series->points())
        points.push_back({p.x(), p.y()});
    return points;
}

QList<QPointF> ToQPoints(const std::vector<PlotPoint>& points)
{
    QList<QPointF> list;
    for (const PlotPoint& p : points)
        list.append(QPointF(p.x, p.y));
    return list;
}

// Replaces each series' data by its part inside the chart's window, so that
// the chart needs no clipping from the surface it is drawn on: a line leaving
// the window and coming back becomes several lines (one in the legend), areas
// are cut to the window, markers outside it are left out.
void CutToWindow(QChart* chart)
{
    PlotWindow window;
    if (!WindowOf(chart, window))
        return;
    for (QAbstractSeries* series : chart->series()) {
        if (auto* area = qobject_cast<QAreaSeries*>(series)) {
            for (QLineSeries* boundary : {area->upperSeries(), area->lowerSeries()})
                if (boundary != nullptr)
                    boundary->replace(ToQPoints(ClipAreaBoundary(PointsOf(boundary), window)));
        } else if (auto* markers = qobject_cast<QScatterSeries*>(series)) {
            markers->replace(ToQPoints(PointsInWindow(PointsOf(markers), window)));
        } else if (auto* line = qobject_cast<QLineSeries*>(series)) {
            const auto pieces = ClipPolyline(PointsOf(line), window);
            line->replace(pieces.empty() ? QList<QPointF>() : ToQPoints(pieces.front()));
            for (std::size_t i = 1; i < pieces.size(); ++i) {
                auto* more = new QLineSeries;
                more->setPen(line->pen());
                more->replace(ToQPoints(pieces[i]));
                chart->addSeries(more);
                for (QAbstractAxis* axis : line->attachedAxes())
                    more->attachAxis(axis);
                HideFromLegend(chart, more);
            }
        }
    }
}

QChartView* NewView(QChart* chart)
{
    auto* view = new QChartView(chart);
    view->setRenderHint(QPainter::Antialiasing);
    // Drag a rectangle to zoom in; the right button zooms out.
    view->setRubberBand(QChartView::RectangleRubberBand);
    return view;
}

} // namespace

CPlotDlg::CPlotDlg(const PlotSet& plots, const QString& title, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(title);
    setObjectName("PlotWindow");
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName("PlotTabs");

    const ProxyHistoryPlot history = plots.history;
    m_makers.push_back([history] { return MakeHistoryChart(history); });
    m_tabs->addTab(NewView(m_makers.back()()), "Proxy Curve History");
    if (plots.hasSimulation) {
        const TwoNuclidePlot twoNuclide = plots.twoNuclide;
        const std::vector<PlotPoint> cloud = plots.hasMonteCarlo ? plots.monteCarlo.cloud : std::vector<PlotPoint>{};
        m_makers.push_back([twoNuclide, cloud] { return MakeTwoNuclideChart(twoNuclide, cloud); });
        m_tabs->addTab(NewView(m_makers.back()()), "Two-Nuclide Diagram");
        const FitPlot fit = plots.fit;
        m_makers.push_back([fit] { return MakeFitChart(fit); });
        m_tabs->addTab(NewView(m_makers.back()()), "Fit Across Cut Values");
    }
    if (plots.hasMonteCarlo) {
        const std::string title = plots.monteCarlo.title;
        for (std::size_t i = 0; i < plots.monteCarlo.histograms.size(); ++i) {
            const MonteCarloHistogram histogram = plots.monteCarlo.histograms[i];
            const QColor colour = kHistogramColours[i % std::size(kHistogramColours)];
            m_makers.push_back([title, histogram, colour] { return MakeMonteCarloChart(title, histogram, colour); });
            m_tabs->addTab(NewView(m_makers.back()()), "Monte Carlo: " + FromUtf8(histogram.name));
        }
    }

    m_resetZoom = new QPushButton("&Reset Zoom", this);
    m_resetZoom->setObjectName("ResetZoom");
    m_resetZoom->setToolTip("Show the whole chart again (Home)");
    connect(m_resetZoom, &QPushButton::clicked, this, &CPlotDlg::ResetZoom);
    auto* home = new QShortcut(QKeySequence(Qt::Key_Home), this);
    connect(home, &QShortcut::activated, this, &CPlotDlg::ResetZoom);

    m_saveImage = new QPushButton("Save &Image...", this);
    m_saveImage->setObjectName("SaveImage");
    auto* close = new QPushButton("&Close", this);
    close->setObjectName("1");
    close->setDefault(true);
    connect(m_saveImage, &QPushButton::clicked, this, &CPlotDlg::OnSaveImage);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_resetZoom);
    buttons->addStretch(1);
    buttons->addWidget(m_saveImage);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(buttons);
    resize(900, 620);
}

void CPlotDlg::showEvent(QShowEvent* event)
{
    if (!m_memoryRestored) {
        m_memoryRestored = true;
        RestoreDialogMemory(*this, {});
    }
    QDialog::showEvent(event);
}

void CPlotDlg::done(int result)
{
    if (isVisible())
        KeepDialogMemory(*this, {});
    QDialog::done(result);
}

QChart* CPlotDlg::Chart(int index) const
{
    auto* view = qobject_cast<QChartView*>(m_tabs->widget(index));
    return view != nullptr ? view->chart() : nullptr;
}

void CPlotDlg::ResetZoom()
{
    if (QChart* chart = Chart(m_tabs->currentIndex()))
        chart->zoomReset();
}

QSize CPlotDlg::FigurePixels()
{
    return QSize(static_cast<int>(std::lround(kFigureWidthMm / kMillimetresPerInch * kFigureDotsPerInch)),
                 static_cast<int>(std::lround(kFigureHeightMm / kMillimetresPerInch * kFigureDotsPerInch)));
}

QByteArray CPlotDlg::RenderImage(int index, ImageFormat format) const
{
    if (index < 0 || index >= ChartCount())
        return QByteArray();
    const QSizeF layout(kFigureWidthMm / kMillimetresPerInch * kLayoutDotsPerInch,
                        kFigureHeightMm / kMillimetresPerInch * kLayoutDotsPerInch);
    const QRectF source(QPointF(0, 0), layout);

    // A chart of its own, laid out at the figure size, showing the window the
    // screen shows (zoomed or not), its data cut to that window; the scene deletes it.
    QGraphicsScene scene;
    QChart* chart = m_makers[static_cast<std::size_t>(index)]();
    PlotWindow shown;
    if (const QChart* onScreen = Chart(index); onScreen != nullptr && WindowOf(onScreen, shown)) {
        SetAxisRange(FirstAxis(chart, Qt::Horizontal), shown.x);
        SetAxisRange(FirstAxis(chart, Qt::Vertical), shown.y);
    }
    CutToWindow(chart);
    scene.addItem(chart);
    chart->setGeometry(source);
    chart->layout()->activate();
    scene.setSceneRect(source);

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (format == ImageFormat::Svg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(layout.toSize());
        svg.setViewBox(source);
        svg.setResolution(static_cast<int>(kLayoutDotsPerInch));
        svg.setTitle(chart->title());
        QPainter painter(&svg);
        scene.render(&painter, source, source);
        painter.end();
    } else {
        const QSize pixels = FigurePixels();
        QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        scene.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)), source);
        painter.end();
        // Drawn at the screen's resolution; the file says the figure's.
        const int dotsPerMetre = static_cast<int>(std::lround(kFigureDotsPerInch * kInchesPerMetre));
        image.setDotsPerMeterX(dotsPerMetre);
        image.setDotsPerMeterY(dotsPerMetre);
        if (!image.save(&buffer, "PNG"))
            return QByteArray();
    }
    return bytes;
}

QString CPlotDlg::ImagePath(const QString& path, const QString& filter, ImageFormat& format)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == "png" || suffix == "svg") {
        format = suffix == "svg" ? ImageFormat::Svg : ImageFormat::Png;
        return path;
    }
    // No known extension typed: the kind of image chosen decides, and names the file.
    const QString extension = FilterExtension(kImageFilter, filter).toLower();
    if (extension != "png" && extension != "svg")
        return QString();
    format = extension == "svg" ? ImageFormat::Svg : ImageFormat::Png;
    return path + "." + extension;
}

bool CPlotDlg::SaveImage(const QString& path, const QString& filter)
{
    ImageFormat format = ImageFormat::Png;
    const QString file = ImagePath(path, filter, format);
    if (file.isEmpty()) {
        ShowMessage("Please save the image as a .png or .svg file!");
        return false;
    }
    const QByteArray bytes = RenderImage(m_tabs->currentIndex(), format);
    if (bytes.isEmpty()) {
        ShowMessage("Can not write the image file!");
        return false;
    }
    return WriteFileAtomically(file.toStdString(), std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                               "Can not write the image file!");
}

QString CPlotDlg::ProposedImageName() const
{
    // The shown tab's name as a file name: "Two-Nuclide Diagram" -> "two-nuclide-diagram.png".
    QString name = m_tabs->tabText(m_tabs->currentIndex()).toLower().remove('&');
    name.replace(QRegularExpression("[^a-z0-9]+"), "-");
    name.remove(QRegularExpression("^-+|-+$"));
    return (name.isEmpty() ? QString("plot") : name) + ".png";
}

void CPlotDlg::OnSaveImage()
{
    const auto chosen = FileChooser().ChooseFile(
        {ChooserKind::Save, "Save Image", kImageFilter, true, ProposedImageName()}, this);
    if (chosen)
        SaveImage(chosen->path, chosen->filter);
}

CPlotDlg* ShowPlotWindow(const PlotSet& plots, const QString& title, QWidget* parent)
{
    auto* window = new CPlotDlg(plots, title, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setModal(false);
    window->show();
    return window;
}

} // namespace qex

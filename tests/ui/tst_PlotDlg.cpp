// The plot windows of the cut results and the simulation: the Plot buttons,
// the series against the results lists and the report, the two-nuclide curves
// against hand-calculated values, Save Image (PNG at the figure size, SVG
// well-formed and drawn as the PNG, the kind chosen, whole or not at all), and
// zooming (round ticks, labels with their stretches, Reset Zoom). With
// QEX_SCREENSHOT_DIR set, the windows and the LR04 figures are also written there.

#include "core/AtomicFile.h"
#include "core/Message.h"
#include "proxy/CutResDlg.h"
#include "proxy/PlotDlg.h"
#include "proxy/ProxyDlg.h"
#include "tests/support/TestSupport.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/FileChooser.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QPushButton>
#include <QGraphicsSimpleTextItem>
#include <QPainter>
#include <QScatterSeries>
#include <QSvgRenderer>
#include <QTabWidget>
#include <QTest>
#include <QValueAxis>
#include <QXmlStreamReader>
#include <cmath>

using namespace qex;
using test::DifferingShare;
using test::Snap;

namespace {

constexpr int kPlotButton = 1040;

QAbstractSeries* Series(QChart* chart, const QString& name)
{
    for (QAbstractSeries* series : chart->series())
        if (series->name() == name)
            return series;
    return nullptr;
}

QList<QPointF> Points(QChart* chart, const QString& name)
{
    QAbstractSeries* series = Series(chart, name);
    if (auto* area = qobject_cast<QAreaSeries*>(series))
        return area->upperSeries()->points();
    if (auto* xy = qobject_cast<QXYSeries*>(series))
        return xy->points();
    return {};
}

// The x ranges where a band of stretches is raised, in order.
QList<QPair<double, double>> Raised(const QList<QPointF>& band)
{
    QList<QPair<double, double>> spans;
    for (int i = 0; i + 3 < band.size(); i += 4)
        spans.append({band[i + 1].x(), band[i + 2].x()});
    return spans;
}

// y of a polyline drawn over log10(x) at x, interpolated linearly there.
double AtLogX(const QList<QPointF>& line, double x)
{
    const double at = std::log10(x);
    for (int i = 1; i < line.size(); ++i) {
        const double a = line[i - 1].x();
        const double b = line[i].x();
        if ((a <= at && at <= b) || (b <= at && at <= a)) {
            const double f = (at - a) / (b - a);
            return line[i - 1].y() + f * (line[i].y() - line[i - 1].y());
        }
    }
    return NAN;
}

// The number after the colon of a result line.
double ValueOf(const QString& line)
{
    return line.section(':', 1).trimmed().toDouble();
}

std::string AlternatingCurve(const test::TempDir& dir)
{
    std::string text = "Proxy_Data\nAlternating\n";
    for (int i = 0; i <= 30; ++i)
        text += std::to_string(i * 20000) + (i % 2 == 0 ? " 3.0\n" : " 5.0\n");
    const std::string path = dir.File("alternating.dat");
    test::WriteFile(path, text);
    return path;
}

// An SVG drawn back at `size` on white, by Qt SVG.
QImage DrawSvg(const QByteArray& svg, const QSize& size)
{
    QSvgRenderer renderer(svg);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

// Zooms a chart on screen into the middle of its plot area.
void ZoomIntoTheMiddle(QChart* chart)
{
    const QRectF area = chart->plotArea();
    chart->zoomIn(QRectF(area.left() + area.width() * 0.3, area.top() + area.height() * 0.25, area.width() * 0.35,
                         area.height() * 0.4));
}

// True for 1, 2 or 5 times a power of ten.
bool IsRoundStep(double step)
{
    const double mantissa = step / std::pow(10.0, std::floor(std::log10(step) + 1e-9));
    return std::fabs(mantissa - 1) < 1e-9 || std::fabs(mantissa - 2) < 1e-9 || std::fabs(mantissa - 5) < 1e-9;
}

void RunSimulation(CProxyDlg& dialog, const std::string& curve, const std::string& report)
{
    dialog.Control<QLineEdit>(1023)->setText(QString::fromStdString(curve));
    dialog.Control<QLineEdit>(1027)->setText(QString::fromStdString(report));
    dialog.Control<QPushButton>(1004)->click();
}

// The bundled LR04 curve's simulation plotted: its plot window, shown (null when none came).
CPlotDlg* PlotLr04(CProxyDlg& dialog, const test::TempDir& dir)
{
    RunSimulation(dialog, test::SourceDir() + "/examples/proxy/LR04.dat", dir.File("report.txt"));
    dialog.OnPlot();
    CPlotDlg* window = dialog.PlotWindow();
    if (window != nullptr && !QTest::qWaitForWindowExposed(window))
        return nullptr;
    return window;
}

} // namespace

class PlotDlgTest : public QObject {
    Q_OBJECT

private slots:
    void cutResultsPlotShowsTheCurveTheCutAndTheHistory()
    {
        // State: a fresh cut results dialog. Action: cut the worked-example curve at 4 for 7000 yr, Plot.
        // Expected: Plot enabled only after the result; curve, cut, crossings 5 and 15 kyr, exposure 0..5 and
        // 15..17 kyr, burial 5..15 kyr.
        test::TempDir dir;
        const std::string path = dir.File("w.dat");
        test::WriteFile(path, "Proxy_Data\nW\n0 5\n10000 3\n20000 5\n30000 3\n");
        CCutResDlg dialog;
        dialog.show();
        auto* plot = dialog.Control<QPushButton>(kPlotButton);
        QVERIFY(plot != nullptr);
        QCOMPARE(plot->text(), QString("&Plot..."));
        QVERIFY(!plot->isEnabled());
        dialog.Control<QLineEdit>(1023)->setText(QString::fromStdString(path));
        dialog.Control<QCheckBox>(1002)->setChecked(false);
        dialog.Control<QLineEdit>(1000)->setText("4");
        dialog.Control<QLineEdit>(1003)->setText("7000");
        dialog.Control<QPushButton>(1025)->click();
        QVERIFY(plot->isEnabled());

        // A later calculation without a result keeps the result listed before it to plot.
        dialog.Control<QLineEdit>(1000)->setText("9");
        dialog.Control<QPushButton>(1025)->click();
        QCOMPARE(dialog.Results().Lines().back(), std::string("Reason: 9 is above the curve's maximum 5"));
        QVERIFY(plot->isEnabled());
        dialog.Control<QLineEdit>(1000)->setText("4");
        dialog.Control<QPushButton>(1025)->click();
        QVERIFY(plot->isEnabled());
        plot->click();
        CPlotDlg* window = dialog.PlotWindow();
        QVERIFY(window != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        Snap(*window, "plot-cut-results");
        QCOMPARE(window->ChartCount(), 1);
        QChart* chart = window->Chart(0);
        QVERIFY(chart->title().startsWith("W, cut value 4.000"));

        QCOMPARE(Points(chart, "W"), (QList<QPointF>{{0, 5}, {10, 3}, {20, 5}, {30, 3}}));
        QCOMPARE(Points(chart, "Crossings"), (QList<QPointF>{{5, 4}, {15, 4}}));
        const QList<QPointF> cut = Points(chart, "Cut 4.000");
        QCOMPARE(cut.size(), 2);
        QCOMPARE(cut[0].y(), 4.0);
        QVERIFY(cut[1].x() >= 17.0);
        using Spans = QList<QPair<double, double>>;
        QCOMPARE(Raised(Points(chart, "Exposure")), (Spans{{0, 5}, {15, 17}}));
        QCOMPARE(Raised(Points(chart, "Burial")), (Spans{{5, 15}}));
        window->close();
    }

    void simulationPlotsMatchTheListAndTheReport()
    {
        // State: the worked-example curve with the default sample. Action: Calculation, Plot.
        // Expected: three charts; the bands bounded by the listed crossings up to the listed total age; the
        // path from the report's first to its last pair; the end members through hand-calculated points;
        // the fit over 998 cut values with the best at 3.366.
        test::TempDir dir;
        CProxyDlg dialog;
        auto* plot = dialog.Control<QPushButton>(kPlotButton);
        QVERIFY(!plot->isEnabled());
        RunSimulation(dialog, AlternatingCurve(dir), dir.File("report.txt"));
        QVERIFY(plot->isEnabled());
        QVERIFY(dialog.OnCommand(kPlotButton));
        CPlotDlg* window = dialog.PlotWindow();
        QVERIFY(window != nullptr);
        QCOMPARE(window->ChartCount(), 3);
        QCOMPARE(window->Tabs()->tabText(1), QString("Two-Nuclide Diagram"));

        // History against the list: "Intersect year(kyr) i" and "Total Age(kyr)".
        const auto& lines = dialog.Results().Lines();
        QList<double> crossings;
        for (const std::string& line : lines)
            if (line.rfind("Intersect year(kyr)", 0) == 0)
                crossings.append(ValueOf(QString::fromStdString(line)));
        QCOMPARE(crossings.size(), 28);
        const double total = ValueOf(QString::fromStdString(lines.at(5)));
        QCOMPARE(QString::fromStdString(lines.at(5)).left(14), QString("Total Age(kyr)"));
        QChart* history = window->Chart(0);
        QCOMPARE(Points(history, "Alternating").size(), 31);
        QCOMPARE(Points(history, "Alternating").at(30), QPointF(600, 3));
        const auto exposure = Raised(Points(history, "Exposure"));
        const auto burial = Raised(Points(history, "Burial"));
        QCOMPARE(exposure.size(), 15);
        QCOMPARE(burial.size(), 14);
        QCOMPARE(exposure.front().first, 0.0);
        for (int i = 0; i < 14; ++i) {
            QVERIFY(std::fabs(exposure[i].second - crossings[2 * i]) < 0.0005);
            QVERIFY(std::fabs(burial[i].first - crossings[2 * i]) < 0.0005);
            QVERIFY(std::fabs(burial[i].second - crossings[2 * i + 1]) < 0.0005);
            QVERIFY(std::fabs(exposure[i + 1].first - crossings[2 * i + 1]) < 0.0005);
        }
        QVERIFY(std::fabs(exposure.back().second - total) < 0.0005);

        // The path against the report's pair lines, oldest first.
        const std::string report = test::ReadFile(dir.File("report.txt"));
        const std::string pairHeader = "       BeN,     AlN,    Ratio\n";
        const std::size_t pairs = report.find(pairHeader);
        QVERIFY(pairs != std::string::npos);
        double firstBe = 0, firstAl = 0, firstRatio = 0;
        QCOMPARE(std::sscanf(report.c_str() + pairs + pairHeader.size(), "%lf, %lf, %lf", &firstBe, &firstAl,
                             &firstRatio),
                 3);
        const std::size_t lastLine = report.rfind('\n', report.size() - 2) + 1;
        double lastBe = 0, lastAl = 0, lastRatio = 0;
        QCOMPARE(std::sscanf(report.c_str() + lastLine, "%lf, %lf, %lf", &lastBe, &lastAl, &lastRatio), 3);
        QCOMPARE(lastBe, 1165000.0);
        QChart* diagram = window->Chart(1);
        const QList<QPointF> path = Points(diagram, "Best history");
        QCOMPARE(path.size(), 29);
        QVERIFY(std::fabs(std::pow(10.0, path.front().x()) - firstBe) <= 0.5);
        QVERIFY(std::fabs(path.front().y() - firstRatio) <= 0.005);
        QVERIFY(std::fabs(std::pow(10.0, path.back().x()) - lastBe) <= 0.5);
        QVERIFY(std::fabs(path.back().y() - lastRatio) <= 0.005);
        QCOMPARE(Points(diagram, "Simulated sample"), QList<QPointF>{path.back()});

        // Hand calculation: 100 kyr of exposure give 1241104 atoms/g at 5.96467, 1 Myr 10169921 at 4.87778;
        // steady erosion of 1e-4 cm/yr 5532729 at 4.99848, of 1e-3 cm/yr 675696 at 5.95520.
        const QList<QPointF> constant = Points(diagram, "Constant exposure");
        const QList<QPointF> eroding = Points(diagram, "Steady erosion");
        QVERIFY(std::fabs(AtLogX(constant, 1241104.0) - 5.96467) < 1e-3);
        QVERIFY(std::fabs(AtLogX(constant, 10169921.0) - 4.87778) < 1e-3);
        QVERIFY(std::fabs(AtLogX(eroding, 5532729.0) - 4.99848) < 1e-3);
        QVERIFY(std::fabs(AtLogX(eroding, 675696.0) - 5.95520) < 1e-3);
        // The measured sample at 1165000 atoms/g and 6216000 / 1165000 = 5.335622.
        const QList<QPointF> sample = Points(diagram, QString::fromUtf8("Measured \u00b1 1\u03c3"));
        QCOMPARE(sample.size(), 1);
        QVERIFY(std::fabs(std::pow(10.0, sample[0].x()) - 1165000.0) < 1e-6);
        QVERIFY(std::fabs(sample[0].y() - 5.335622) < 1e-6);
        // The 10Be axis is labelled in powers of ten, its title with superscripts; zoomed into less than a
        // decade it keeps two labels at least.
        auto* be10Axis = qobject_cast<QCategoryAxis*>(diagram->axes(Qt::Horizontal).first());
        QVERIFY(be10Axis != nullptr);
        QCOMPARE(be10Axis->titleText(), QString::fromUtf8("\u00b9\u2070Be (atoms/g)"));
        QVERIFY(be10Axis->categoriesLabels().contains(QString::fromUtf8("10\u2076")));
        be10Axis->setRange(std::log10(1.1e6), std::log10(1.3e6));
        QVERIFY(be10Axis->categoriesLabels().size() >= 2);

        QChart* fit = window->Chart(2);
        const QList<QPointF> differences = Points(fit, "Ratio difference per cut value");
        QCOMPARE(differences.size(), 998);
        QVERIFY(std::fabs(differences.front().x() - 3.002) < 1e-9);
        QVERIFY(std::fabs(differences.front().y() - 0.623) < 5e-4);
        const QList<QPointF> best = Points(fit, "Best fit, cut 3.36600");
        QCOMPARE(best.size(), 1);
        QVERIFY(std::fabs(best[0].y() - 0.035) < 5e-4);

        QVERIFY(QTest::qWaitForWindowExposed(window));
        for (int tab = 0; tab < 3; ++tab) {
            window->Tabs()->setCurrentIndex(tab);
            QTest::qWait(20);
            Snap(*window, QString("plot-simulation-%1").arg(tab));
        }
        window->close();
    }

    void saveImageWritesAFigureWholeOrNotAtAll()
    {
        // State: the simulation's plots. Action: Save Image as PNG, as SVG, as JPG, and with the disk full.
        // Expected: PNG 170 x 110 mm at 300 dpi = 2008 x 1299 pixels; a well-formed SVG; a message for the
        // JPG; the disk-full write leaves the previous file as it was.
        test::TempDir dir;
        CProxyDlg dialog;
        RunSimulation(dialog, AlternatingCurve(dir), dir.File("report.txt"));
        dialog.OnPlot();
        CPlotDlg* window = dialog.PlotWindow();
        QVERIFY(window != nullptr);

        CScriptedFileChooser chooser;
        const QString png = QString::fromStdString(dir.File("history.png"));
        chooser.Answer(png);
        window->SaveImageButton()->click();
        QCOMPARE(int(chooser.Requests().size()), 1);
        QVERIFY(chooser.Requests()[0].kind == ChooserKind::Save);
        QCOMPARE(chooser.Requests()[0].filter, QString("PNG Image (*.png)|*.png|SVG Image (*.svg)|*.svg||"));
        QImage image;
        QVERIFY(image.load(png));
        QCOMPARE(image.size(), QSize(2008, 1299));
        // 300 dpi is 11811 dots per metre.
        QCOMPARE(image.dotsPerMeterX(), 11811);
        // Not blank: the curve is drawn in dark grey on white.
        int dark = 0;
        for (int y = 0; y < image.height(); y += 7)
            for (int x = 0; x < image.width(); x += 7)
                dark += qGray(image.pixel(x, y)) < 100;
        QVERIFY(dark > 100);

        window->Tabs()->setCurrentIndex(1);
        const QString svg = QString::fromStdString(dir.File("diagram.svg"));
        chooser.Answer(svg);
        window->SaveImageButton()->click();
        QFile file(svg);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QString root;
        int texts = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement) {
                if (root.isEmpty())
                    root = xml.name().toString();
                texts += xml.name() == QLatin1String("text");
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(root, QString("svg"));
        QVERIFY(texts > 5);

        CMessageRecorder messages;
        QVERIFY(!window->SaveImage(QString::fromStdString(dir.File("figure.jpg"))));
        QVERIFY(!test::FileExists(dir.File("figure.jpg")));
        test::WriteFile(dir.File("old.png"), "previous figure");
        CAtomicFile::SetByteLimitForTesting(1000);
        const bool saved = window->SaveImage(QString::fromStdString(dir.File("old.png")));
        CAtomicFile::SetByteLimitForTesting(-1);
        QVERIFY(!saved);
        QCOMPARE(test::ReadFile(dir.File("old.png")), std::string("previous figure"));
        // The full disk is named first, as every write failure names its cause.
        QCOMPARE(messages.Messages(), (std::vector<std::string>{"Please save the image as a .png or .svg file!",
                                                                "No space left on device: Can not write the image file!"}));
        window->close();
    }

    void theSvgOfEachChartIsDrawnAsItsPng()
    {
        // State: the LR04 simulation's three charts, each zoomed so that its data run past the plot area.
        // Action: export each as PNG and as SVG; draw the SVG back with Qt SVG.
        // Expected: the two pictures agree pixel by pixel within the renderers' smoothing and text hinting.
        test::TempDir dir;
        CProxyDlg dialog;
        CPlotDlg* window = PlotLr04(dialog, dir);
        QVERIFY(window != nullptr);
        for (int tab = 0; tab < window->ChartCount(); ++tab) {
            window->Tabs()->setCurrentIndex(tab);
            ZoomIntoTheMiddle(window->Chart(tab));
            QImage png;
            QVERIFY(png.loadFromData(window->RenderImage(tab, CPlotDlg::ImageFormat::Png), "PNG"));
            const QImage svg = DrawSvg(window->RenderImage(tab, CPlotDlg::ImageFormat::Svg), png.size());
            const double share = DifferingShare(png, svg);
            // The two renderers hint text a little differently; an unclipped export
            // (bands and curves over the whole page) differs on far more than this.
            QVERIFY2(share < 0.01, qPrintable(QString("chart %1: %2 of the pixels differ").arg(tab).arg(share)));
        }
        window->close();
    }

    void theImageKindFollowsTheChosenFilterAndTheTypedExtension()
    {
        // State: the cut results plot. Action: Save Image as "cutfig" under the SVG filter, "fig2.png" under
        // the SVG filter, "fig3" under the PNG filter. Expected: the chooser proposes a name after the tab;
        // cutfig.svg (SVG), fig2.png and fig3.png (PNG).
        test::TempDir dir;
        CCutResDlg dialog;
        dialog.Control<QLineEdit>(1023)->setText(QString::fromStdString(AlternatingCurve(dir)));
        dialog.Calculate();
        dialog.OnPlot();
        CPlotDlg* window = dialog.PlotWindow();
        QVERIFY(window != nullptr);
        CScriptedFileChooser chooser;
        const struct {
            const char* typed;
            const char* filter;
            const char* written;
            const char* startsWith;
        } saves[] = {
            {"cutfig", "SVG Image (*.svg)", "cutfig.svg", "<?xml"},
            {"fig2.png", "SVG Image (*.svg)", "fig2.png", "\x89PNG"},
            {"fig3", "PNG Image (*.png)", "fig3.png", "\x89PNG"},
        };
        for (const auto& save : saves) {
            chooser.Answer(QString::fromStdString(dir.File(save.typed)), save.filter);
            window->SaveImageButton()->click();
            QCOMPARE(chooser.Requests().back().proposedName, QString("proxy-curve-history.png"));
            QVERIFY2(test::FileExists(dir.File(save.written)), save.written);
            QVERIFY2(test::ReadFile(dir.File(save.written)).rfind(save.startsWith, 0) == 0, save.written);
        }
        QVERIFY(!test::FileExists(dir.File("cutfig.png")));
        window->close();
    }

    void zoomingKeepsRoundTicksAndLabelsWithTheirStretchesAndHomeResets()
    {
        // State: the LR04 history. Action: zoom into the middle; then Home.
        // Expected: round tick steps on both axes; each label shown lies within its stretch's part in view,
        // the labels of stretches out of view hidden; Home shows the whole chart again.
        test::TempDir dir;
        CProxyDlg dialog;
        CPlotDlg* window = PlotLr04(dialog, dir);
        QVERIFY(window != nullptr);
        QChart* chart = window->Chart(0);
        auto* x = qobject_cast<QValueAxis*>(chart->axes(Qt::Horizontal).first());
        auto* y = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).first());
        const std::pair whole{x->min(), x->max()};
        ZoomIntoTheMiddle(chart);
        QVERIFY(x->max() - x->min() < (whole.second - whole.first) / 2);
        for (QValueAxis* axis : {x, y}) {
            QCOMPARE(axis->tickType(), QValueAxis::TicksDynamic);
            QVERIFY2(IsRoundStep(axis->tickInterval()), qPrintable(QString::number(axis->tickInterval())));
            QVERIFY(std::fabs(std::remainder(axis->tickAnchor(), axis->tickInterval())) < 1e-9);
        }
        // The stretches, each with the label its duration gives.
        QList<QPair<QPair<double, double>, QString>> stretches;
        for (const char* band : {"Exposure", "Burial"})
            for (const auto& [a, b] : Raised(Points(chart, band)))
                stretches.append({{a, b}, QString::number(b - a, 'f', 1) + " kyr"});
        const QRectF area = chart->plotArea();
        int shown = 0;
        int hidden = 0;
        for (QGraphicsItem* item : chart->childItems()) {
            auto* label = dynamic_cast<QGraphicsSimpleTextItem*>(item);
            if (label == nullptr)
                continue;
            if (!label->isVisible()) {
                ++hidden;
                continue;
            }
            ++shown;
            const QPointF middle = label->mapToParent(label->boundingRect().center());
            const double centre = chart->mapToValue(middle).x();
            QVERIFY(area.contains(middle));
            bool inItsStretch = false;
            for (const auto& [span, text] : stretches)
                inItsStretch |= text == label->text() && centre >= span.first && centre <= span.second;
            QVERIFY2(inItsStretch, qPrintable(label->text()));
        }
        QVERIFY(shown > 0);
        QVERIFY(hidden > 0);
        QTest::keyClick(window, Qt::Key_Home);
        QCOMPARE(x->min(), whole.first);
        QCOMPARE(x->max(), whole.second);
        window->close();
    }

    void lr04FiguresExportWithHistoriesThatAddUpToTheList()
    {
        // State: the bundled LR04 curve with the default sample. Action: Calculation, Plot, export each chart.
        // Expected: exposure and burial bands add up to the listed ages; every figure 2008 x 1299 pixels.
        test::TempDir dir;
        CProxyDlg dialog;
        RunSimulation(dialog, test::SourceDir() + "/examples/proxy/LR04.dat", dir.File("report.txt"));
        const auto& lines = dialog.Results().Lines();
        QVERIFY(lines.size() > 8);
        dialog.OnPlot();
        CPlotDlg* window = dialog.PlotWindow();
        QVERIFY(window != nullptr);
        QChart* history = window->Chart(0);
        QVERIFY(Series(history, "LR04") != nullptr);
        auto sum = [](const QList<QPair<double, double>>& spans) {
            double s = 0;
            for (const auto& [a, b] : spans)
                s += b - a;
            return s;
        };
        QVERIFY(std::fabs(sum(Raised(Points(history, "Exposure"))) - ValueOf(QString::fromStdString(lines[3]))) <
                0.0005);
        QVERIFY(std::fabs(sum(Raised(Points(history, "Burial"))) - ValueOf(QString::fromStdString(lines[4]))) <
                0.0005);

        QString out = qEnvironmentVariable("QEX_SCREENSHOT_DIR");
        if (out.isEmpty())
            out = QString::fromStdString(dir.Path());
        QDir().mkpath(out);
        const char* names[] = {"lr04-history.png", "lr04-two-nuclide.png", "lr04-fit.png"};
        for (int tab = 0; tab < 3; ++tab) {
            window->Tabs()->setCurrentIndex(tab);
            const QString path = out + "/" + names[tab];
            QVERIFY(window->SaveImage(path));
            QCOMPARE(QImage(path).size(), QSize(2008, 1299));
        }
        window->close();
    }
};

QTEST_MAIN(PlotDlgTest)
#include "tst_PlotDlg.moc"

// The figure window and "Two-Nuclide Diagram...": Draw opens the diagram of a
// sample file; the screen, the PNG and the SVG (drawn back by Qt SVG) show
// the same picture; Save Image proposes a name, writes the chosen kind and
// never replaces the sample file; a bad file is named in a message; the isochron
// is drawn and, in its own dialog, dated. With
// QEX_SCREENSHOT_DIR set, the dialog, the window and the PNG are written there.

#include "batch/IsochronDlg.h"
#include "core/Message.h"
#include "figure/FigureDlg.h"
#include "figure/FigureRenderer.h"
#include "figure/TwoNuclideDlg.h"
#include "tests/support/TestSupport.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/FileChooser.h"

#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTest>
#include <unistd.h>

using namespace qex;
using test::DifferingShare;
using test::Snap;

namespace {

QByteArray Rendered(const figure::Figure& f, figure::ImageFormat format)
{
    std::string bytes;
    std::string error;
    if (!figure::RenderFigure(f, format, bytes, error))
        return QByteArray();
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

} // namespace

class FigureDlgTest : public QObject {
    Q_OBJECT

    test::TempDir m_dir;
    std::string m_samples;

    // Opens the diagram of the sample file through the dialog, as a user does.
    CFigureDlg* Draw()
    {
        CTwoNuclideDlg dialog;
        dialog.Control<QLineEdit>(CTwoNuclideDlg::IDC_INPUT)->setText(QString::fromStdString(m_samples));
        dialog.Control<QLineEdit>(CTwoNuclideDlg::IDC_BE10_PRODUCTION)->setText("11.65");
        dialog.Control<QLineEdit>(CTwoNuclideDlg::IDC_AL26_PRODUCTION)->setText("76.85");
        Snap(dialog, "two-nuclide-dialog");
        dialog.accept();
        return dialog.Window();
    }

private slots:
    void initTestCase()
    {
        m_samples = m_dir.File("cave.csv");
        test::WriteFile(m_samples, "sample,be10,be10-err,al26,al26-err\nSSC,111756,3409,416017,31939\n"
                                   "T1,250000,6000,1300000,60000\nT2,80000,2500,350000,25000\n");
    }

    void theScreenThePngAndTheSvgShowOnePicture()
    {
        // State: a sample file. Action: Draw; export PNG and SVG. Expected: a window of the figure; its screen
        // drawing at the PNG's size is the PNG; the SVG drawn back by Qt SVG differs in under 1 % of the pixels.
        CFigureDlg* window = Draw();
        QVERIFY(window != nullptr);
        QVERIFY(window->windowTitle().contains("cave.csv"));
        QVERIFY(QTest::qWaitForWindowExposed(window));
        Snap(*window, "two-nuclide-window");
        const figure::Figure& f = window->View()->Figure();
        QImage png;
        QVERIFY(png.loadFromData(Rendered(f, figure::ImageFormat::Png), "PNG"));
        QCOMPARE(png.size(), QSize(2008, 1299));
        const QString shots = qEnvironmentVariable("QEX_SCREENSHOT_DIR");
        if (!shots.isEmpty())
            png.save(shots + "/two-nuclide-export.png");
        // The screen fits the figure to whole pixels, a scale within 0.02 % of the PNG's.
        const QImage screen = CFigureView::Render(f, png.size()).convertToFormat(QImage::Format_RGB32);
        const double onScreen = DifferingShare(screen, png);
        QVERIFY2(onScreen < 0.002, qPrintable(QString("%1 of the pixels differ on screen").arg(onScreen)));

        QSvgRenderer svg(Rendered(f, figure::ImageFormat::Svg));
        QVERIFY(svg.isValid());
        QImage drawn(png.size(), QImage::Format_ARGB32_Premultiplied);
        drawn.fill(Qt::white);
        QPainter painter(&drawn);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter, QRectF(QPointF(0, 0), QSizeF(png.size())));
        painter.end();
        if (!shots.isEmpty())
            drawn.save(shots + "/two-nuclide-svg-by-qt.png");
        const double share = DifferingShare(png, drawn);
        QVERIFY2(share < 0.01, qPrintable(QString("%1 of the pixels differ").arg(share)));
        window->close();
    }

    void saveImageWritesTheChosenKindAndNeverTheSampleFile()
    {
        // State: the diagram. Action: Save Image as "fig" under the SVG filter, as "fig2.png", and over a link to
        // the sample file. Expected: the proposed name beside the samples; fig.svg and fig2.png; the link refused.
        CFigureDlg* window = Draw();
        QVERIFY(window != nullptr);
        CScriptedFileChooser chooser;
        chooser.Answer(QString::fromStdString(m_dir.File("fig")), "SVG Image (*.svg)");
        window->SaveImageButton()->click();
        QCOMPARE(chooser.Requests().back().proposedName, QString::fromStdString(m_dir.File("cave-two-nuclide.png")));
        QVERIFY(test::ReadFile(m_dir.File("fig.svg")).rfind("<?xml", 0) == 0);
        QVERIFY(window->SaveImage(QString::fromStdString(m_dir.File("fig2.png"))));
        QVERIFY(test::ReadFile(m_dir.File("fig2.png")).rfind("\x89PNG", 0) == 0);

        QCOMPARE(symlink(m_samples.c_str(), m_dir.File("cave.svg").c_str()), 0);
        CMessageRecorder messages;
        QVERIFY(!window->SaveImage(QString::fromStdString(m_dir.File("cave.svg"))));
        QCOMPARE(messages.Messages().size(), std::size_t(1));
        QVERIFY(messages.Messages()[0].find("may not replace an input") != std::string::npos);
        QVERIFY(test::ReadFile(m_samples).rfind("sample,", 0) == 0);
        window->close();
    }

    void aFileThatCannotBeDrawnIsNamedAndTheDialogStays()
    {
        // State: a file without the 26Al errors. Action: Draw. Expected: a message naming the line and the
        // column; no window.
        test::WriteFile(m_dir.File("short.csv"), "sample,be10,be10-err,al26\nA,1e5,3e3,4e5\n");
        CTwoNuclideDlg dialog;
        dialog.Control<QLineEdit>(CTwoNuclideDlg::IDC_INPUT)->setText(QString::fromStdString(m_dir.File("short.csv")));
        CMessageRecorder messages;
        dialog.accept();
        QVERIFY(dialog.Window() == nullptr);
        QVERIFY(messages.Contains("Can not read the sample file!"));
        QVERIFY(messages.DetailOf("Can not read the sample file!").find("line 2 (A): no value in the column 'al26-err'") !=
                std::string::npos);
    }

    void theIsochronIsDrawnAndDated()
    {
        // State: three samples. Action: Draw with "Isochron" ticked; Calculate in "Isochron Burial Age".
        // Expected: the legend names the isochron with its age; the results list its block.
        CTwoNuclideDlg dialog;
        dialog.Control<QLineEdit>(CTwoNuclideDlg::IDC_INPUT)->setText(QString::fromStdString(m_samples));
        dialog.Control<QCheckBox>(CTwoNuclideDlg::IDC_ISOCHRON)->setChecked(true);
        Snap(dialog, "two-nuclide-dialog-isochron");
        dialog.accept();
        QVERIFY(dialog.Window() != nullptr);
        bool legend = false;
        for (const auto& entry : dialog.Window()->View()->Figure().legend.entries)
            legend = legend || entry.text.rfind("Isochron ± 1σ: ", 0) == 0;
        QVERIFY(legend);
        dialog.Window()->close();

        CIsochronDlg isochron;
        isochron.Control<QLineEdit>(CIsochronDlg::IDC_INPUT)->setText(QString::fromStdString(m_samples));
        isochron.Control<QLineEdit>(1001)->setText("6.75");
        isochron.Calculate();
        Snap(isochron, "isochron-dialog");
        QStringList lines;
        for (const std::string& line : isochron.Results().Lines())
            lines << QString::fromStdString(line);
        QVERIFY2(lines.filter("Isochron Burial Age(kyr)").size() == 1, qPrintable(lines.join("\n")));
    }
};

QTEST_MAIN(FigureDlgTest)
#include "tst_FigureDlg.moc"

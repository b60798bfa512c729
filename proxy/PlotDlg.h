#pragma once
// The plot window of the cut results and the simulation: one tab per chart
// (the proxy curve with its cut and history; for a simulation also the
// two-nuclide diagram and the fit across cut values), and "Save Image..."
// writing the shown chart as PNG or SVG at a paper-figure size. It draws the
// plain data the core prepared and computes nothing itself.

#include "proxy/PlotData.h"

#include <QByteArray>
#include <QDialog>
#include <functional>
#include <vector>

class QChart;
class QPushButton;
class QTabWidget;

namespace qex {

class CPlotDlg : public QDialog {
    Q_OBJECT
public:
    // Exported figures: 170 mm by 110 mm (a two-column figure) at 300 dpi.
    static constexpr double kFigureWidthMm = 170.0;
    static constexpr double kFigureHeightMm = 110.0;
    static constexpr double kFigureDotsPerInch = 300.0;

    enum class ImageFormat { Png, Svg };
    // The kinds of image "Save Image..." offers.
    static constexpr const char* kImageFilter = "PNG Image (*.png)|*.png|SVG Image (*.svg)|*.svg||";

    CPlotDlg(const PlotSet& plots, const QString& title, QWidget* parent = nullptr);

    int ChartCount() const { return static_cast<int>(m_makers.size()); }
    // The chart shown on tab `index`.
    QChart* Chart(int index) const;
    QTabWidget* Tabs() const { return m_tabs; }
    QPushButton* SaveImageButton() const { return m_saveImage; }
    QPushButton* ResetZoomButton() const { return m_resetZoom; }

    // "Reset Zoom" (and the Home key): the shown chart whole again.
    void ResetZoom();

    // "Save Image...": asks for a path, proposing one after the shown tab, and writes the shown chart.
    void OnSaveImage();
    QString ProposedImageName() const;
    // Writes the shown chart, as the screen shows it, whole or not at all: as
    // PNG or SVG by the path's extension, or, when it has neither, by the
    // chosen filter ("SVG Image (*.svg)"), whose extension the file then
    // takes. False after a message when it cannot.
    bool SaveImage(const QString& path, const QString& filter = QString());
    // The file and format SaveImage writes for a path and filter; an empty path when neither names one.
    static QString ImagePath(const QString& path, const QString& filter, ImageFormat& format);

    // The chart of tab `index` drawn afresh at the figure size, showing the
    // window its tab shows (zoomed or not).
    QByteArray RenderImage(int index, ImageFormat format) const;
    // Pixel size of an exported PNG.
    static QSize FigurePixels();

    // Closing keeps the window's size and position for the next one.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool m_memoryRestored = false;
    QTabWidget* m_tabs = nullptr;
    QPushButton* m_saveImage = nullptr;
    QPushButton* m_resetZoom = nullptr;
    // One chart maker per tab: the window's chart and each export are made alike.
    std::vector<std::function<QChart*()>> m_makers;
};

// Opens a plot window beside `parent` (not modal, deleted when closed).
CPlotDlg* ShowPlotWindow(const PlotSet& plots, const QString& title, QWidget* parent);

} // namespace qex

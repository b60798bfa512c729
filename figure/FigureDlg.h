#pragma once
// The window of a figure: the figure drawn by the same cairo renderer that
// writes its PNG and SVG files, scaled to the window, so the screen shows
// what "Save Image..." writes; and "Save Image..." itself, proposing a file
// name, writing PNG (300 dpi) or SVG whole or not at all, and never over the
// files the figure was drawn from.

#include "core/FileIdentity.h"
#include "figure/Figure.h"

#include <QDialog>
#include <QImage>
#include <QWidget>
#include <vector>

class QPushButton;

namespace qex {

// Shows a figure as large as fits, on white.
class CFigureView : public QWidget {
    Q_OBJECT
public:
    explicit CFigureView(figure::Figure figure, QWidget* parent = nullptr);

    const figure::Figure& Figure() const { return m_figure; }
    // The figure drawn at `size` device pixels, as the view paints it.
    static QImage Render(const figure::Figure& figure, QSize size);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    figure::Figure m_figure;
    QImage m_image; // the last drawing, kept while the size stays
};

class CFigureDlg : public QDialog {
    Q_OBJECT
public:
    // The kinds of image "Save Image..." offers.
    static constexpr const char* kImageFilter = "PNG Image (*.png)|*.png|SVG Image (*.svg)|*.svg||";

    // `proposedName` is the file name "Save Image..." starts with; `inputs`
    // are the files the figure was drawn from, which an image may not replace.
    CFigureDlg(figure::Figure figure, const QString& title, const QString& proposedName,
               std::vector<FileUse> inputs = {}, QWidget* parent = nullptr);

    CFigureView* View() const { return m_view; }
    QPushButton* SaveImageButton() const { return m_saveImage; }

    // "Save Image...": asks for a path and writes the figure there.
    void OnSaveImage();
    // Writes the figure as PNG or SVG by the path's extension or, without
    // one, by the chosen filter ("SVG Image (*.svg)"), whose extension the
    // file then takes. False after a message when it cannot.
    bool SaveImage(const QString& path, const QString& filter = QString());

private:
    CFigureView* m_view = nullptr;
    QPushButton* m_saveImage = nullptr;
    QString m_proposedName;
    std::vector<FileUse> m_inputs;
};

// Opens a figure window (not modal, deleted when closed).
CFigureDlg* ShowFigureWindow(figure::Figure figure, const QString& title, const QString& proposedName,
                             std::vector<FileUse> inputs, QWidget* parent);

} // namespace qex

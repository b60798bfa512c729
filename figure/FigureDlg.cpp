#include "figure/FigureDlg.h"

#include "core/AtomicFile.h"
#include "core/Message.h"
#include "figure/FigureRenderer.h"
#include "ui/FileChooser.h"
#include "ui/StatusNotifier.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstring>

namespace qex {

namespace {
constexpr const char* kImageFailure = "Can not write the image file!";
// The view's natural size: the figure at a screen's 96 dpi.
constexpr double kScreenDotsPerInch = 96.0;
} // namespace

CFigureView::CFigureView(figure::Figure figure, QWidget* parent) : QWidget(parent), m_figure(std::move(figure))
{
    setObjectName("FigureView");
    setMinimumSize(320, 210);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QImage CFigureView::Render(const figure::Figure& figure, QSize size)
{
    const figure::Raster raster = figure::RenderRaster(figure, size.width(), size.height());
    if (raster.pixels.empty())
        return QImage();
    QImage image(raster.width, raster.height, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < raster.height; ++y)
        std::memcpy(image.scanLine(y), raster.pixels.data() + static_cast<std::ptrdiff_t>(y) * raster.stride,
                    static_cast<std::size_t>(raster.width) * 4);
    return image;
}

QSize CFigureView::sizeHint() const
{
    return {figure::FigurePixelsWide(m_figure, kScreenDotsPerInch), figure::FigurePixelsHigh(m_figure, kScreenDotsPerInch)};
}

void CFigureView::paintEvent(QPaintEvent*)
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (m_image.size() != pixels) {
        m_image = Render(m_figure, pixels);
        m_image.setDevicePixelRatio(ratio);
    }
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawImage(QPointF(0, 0), m_image);
}

CFigureDlg::CFigureDlg(figure::Figure figure, const QString& title, const QString& proposedName,
                       std::vector<FileUse> inputs, QWidget* parent)
    : QDialog(parent), m_proposedName(proposedName), m_inputs(std::move(inputs))
{
    setWindowTitle(title);
    setObjectName("FigureWindow");
    m_view = new CFigureView(std::move(figure), this);
    m_saveImage = new QPushButton("Save &Image...", this);
    m_saveImage->setObjectName("SaveImage");
    m_saveImage->setToolTip("Write the figure as PNG (170 x 110 mm at 300 dpi) or SVG");
    auto* close = new QPushButton("&Close", this);
    close->setObjectName("1");
    close->setDefault(true);
    connect(m_saveImage, &QPushButton::clicked, this, &CFigureDlg::OnSaveImage);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_saveImage);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addLayout(buttons);
    const QSize view = m_view->sizeHint();
    resize(view.width() + 24, view.height() + 64);
}

void CFigureDlg::OnSaveImage()
{
    ChooserRequest request{ChooserKind::Save, "Save Image", kImageFilter, true};
    request.proposedName = m_proposedName;
    if (const auto chosen = FileChooser().ChooseFile(request, this))
        SaveImage(chosen->path, chosen->filter);
}

bool CFigureDlg::SaveImage(const QString& path, const QString& filter)
{
    std::string file = path.toStdString();
    std::optional<figure::ImageFormat> format = figure::ImageFormatOf(file);
    if (!format) {
        // No known extension typed: the kind of image chosen decides, and names the file.
        const std::string extension = FilterExtension(kImageFilter, filter).toLower().toStdString();
        format = figure::ImageFormatOf("." + extension);
        file += "." + extension;
    }
    if (!format || path.isEmpty()) {
        ShowMessage("Please save the image as a .png or .svg file!");
        return false;
    }
    std::vector<FileUse> uses = m_inputs;
    uses.push_back({"Image File", file, FileRole::Output});
    const FileClash clash = FindSameFile(uses);
    if (!clash.message.empty()) {
        ShowMessage(clash.message, clash.detail);
        return false;
    }
    std::string bytes;
    std::string error;
    if (!figure::RenderFigure(m_view->Figure(), *format, bytes, error)) {
        ShowMessage(kImageFailure, error);
        return false;
    }
    if (!WriteFileAtomically(file, bytes, kImageFailure))
        return false;
    NotifyStatus("Wrote the image " + file);
    return true;
}

CFigureDlg* ShowFigureWindow(figure::Figure figure, const QString& title, const QString& proposedName,
                             std::vector<FileUse> inputs, QWidget* parent)
{
    auto* window = new CFigureDlg(std::move(figure), title, proposedName, std::move(inputs), parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setModal(false);
    window->show();
    return window;
}

} // namespace qex

#pragma once
// Helpers the desktop tests share: screenshots for looking at, and comparing
// two pictures of one drawing.

#include <QDir>
#include <QImage>
#include <QWidget>
#include <algorithm>
#include <cstdlib>

namespace qex::test {

// With QEX_SCREENSHOT_DIR set, writes the window there as NAME.png.
inline void Snap(QWidget& window, const QString& name)
{
    const QString dir = qEnvironmentVariable("QEX_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
        window.grab().save(dir + "/" + name + ".png");
    }
}

// The share of pixels that differ clearly between two pictures of one size,
// compared at a quarter of it, so that the renderers' smoothing does not count.
inline double DifferingShare(const QImage& a, const QImage& b)
{
    const QSize small = a.size() / 4;
    const QImage x = a.convertToFormat(QImage::Format_RGB32).scaled(small, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage y = b.convertToFormat(QImage::Format_RGB32).scaled(small, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    long differing = 0;
    for (int row = 0; row < small.height(); ++row)
        for (int col = 0; col < small.width(); ++col) {
            const QRgb p = x.pixel(col, row);
            const QRgb q = y.pixel(col, row);
            const int d = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                    std::abs(qBlue(p) - qBlue(q))});
            differing += d > 64;
        }
    return double(differing) / (double(small.width()) * small.height());
}

} // namespace qex::test

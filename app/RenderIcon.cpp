// Renders the application's SVG icon to a square PNG for the desktop's icon
// theme: qex_render_icon ICON.svg SIZE OUTPUT.png

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    bool sizeIsNumber = false;
    const int size = arguments.size() == 4 ? arguments[2].toInt(&sizeIsNumber) : 0;
    if (!sizeIsNumber || size <= 0) {
        std::fputs("usage: qex_render_icon ICON.svg SIZE OUTPUT.png\n", stderr);
        return 2;
    }
    QSvgRenderer drawing(arguments[1]);
    if (!drawing.isValid()) {
        std::fprintf(stderr, "%s: not a readable SVG drawing\n", qPrintable(arguments[1]));
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawing.render(&painter);
    painter.end();
    const QString output = arguments[3];
    QDir().mkpath(QFileInfo(output).absolutePath());
    if (!image.save(output, "PNG")) {
        std::fprintf(stderr, "%s: cannot write the image\n", qPrintable(output));
        return 1;
    }
    return 0;
}

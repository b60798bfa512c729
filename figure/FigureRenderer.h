#pragma once
// Draws a figure with cairo: to PNG (300 dpi, the resolution in the file),
// to SVG (its size in points, the same drawing on a vector surface) and to
// pixels for a window. One drawing function serves all three, so an
// exported figure is what the screen shows. Texts are set in DejaVu Sans
// without hinting, so they take the same room at every size and on every
// surface, and the same figure gives the same PNG bytes.

#include "figure/Figure.h"

#include <optional>
#include <string>
#include <vector>

namespace qex::figure {

enum class ImageFormat { Png, Svg };

// A PNG figure's resolution.
inline constexpr double kFigureDotsPerInch = 300.0;
// The family every text is set in (Debian's fonts-dejavu-core).
inline constexpr const char* kFigureFontFamily = "DejaVu Sans";

// By the path's extension, in any case: ".png" or ".svg"; none otherwise.
std::optional<ImageFormat> ImageFormatOf(const std::string& path);

// The pixels across and down of the figure at `dotsPerInch`.
int FigurePixelsWide(const Figure& figure, double dotsPerInch = kFigureDotsPerInch);
int FigurePixelsHigh(const Figure& figure, double dotsPerInch = kFigureDotsPerInch);

// The whole image file in `bytes`. False, with why in `error`, when cairo or
// the PNG writer fails (out of memory, a figure too large).
bool RenderFigure(const Figure& figure, ImageFormat format, std::string& bytes, std::string& error);

// The figure drawn into `width` by `height` pixels for a window, as large as
// fits and centred on white: 32-bit pixels, premultiplied alpha, in the
// machine's byte order (Qt's ARGB32_Premultiplied), `stride` bytes a row.
struct Raster {
    int width = 0;
    int height = 0;
    int stride = 0;
    std::vector<unsigned char> pixels;
};
Raster RenderRaster(const Figure& figure, int width, int height);

} // namespace qex::figure

// The figure layer: axis ticks and their labels, the PNG and SVG files of
// one drawing (their headers, sizes and the same elements in both), and the
// two-nuclide diagram's lines of constant burial against the hand-derived
// model.

#include "figure/AxisTicks.h"
#include "figure/FigureRenderer.h"
#include "figure/TwoNuclideFigure.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <set>

namespace qex {
namespace {

using namespace figure;

std::vector<std::string> Labels(const Axis& axis)
{
    std::vector<std::string> labels;
    for (const Tick& t : AxisTicks(axis))
        if (!t.label.empty())
            labels.push_back(t.label);
    return labels;
}

TEST(AxisTicks, LabelsReadAsAJournalWritesThem)
{
    struct Case {
        Scale scale;
        double minimum, maximum;
        std::vector<std::string> labels;
    } cases[] = {
        {Scale::Linear, 0.4, 1.2, {"0.4", "0.6", "0.8", "1.0", "1.2"}},
        {Scale::Linear, -1.0, 1.0, {"−1.0", "−0.5", "0.0", "0.5", "1.0"}},
        {Scale::Linear, 0.0, 4e6, {"0", "1×10⁶", "2×10⁶", "3×10⁶", "4×10⁶"}},
        {Scale::Log10, 1e3, 1e7, {"10³", "10⁴", "10⁵", "10⁶", "10⁷"}},
        {Scale::Log10, 1e-2, 1e1, {"10⁻²", "10⁻¹", "10⁰", "10¹"}},
        // Fewer than two powers of ten: 1, 2 and 5 times them, then every digit, then round steps.
        {Scale::Log10, 1.5e5, 6e5, {"2×10⁵", "5×10⁵"}},
        {Scale::Log10, 2.5e5, 4.5e5, {"3×10⁵", "4×10⁵"}},
        {Scale::Log10, 2.02e5, 2.09e5, {"2.02×10⁵", "2.04×10⁵", "2.06×10⁵", "2.08×10⁵"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.minimum << " to " << c.maximum);
        EXPECT_EQ(Labels({"", c.scale, c.minimum, c.maximum}), c.labels);
    }
    // Twenty-two decades: every fourth power labelled, at most seven.
    const auto wide = Labels({"", Scale::Log10, 1e-2, 1e20});
    EXPECT_LE(wide.size(), 7u);
    EXPECT_GE(wide.size(), 5u);
}

// The bytes of a big-endian 32-bit number in a PNG.
std::uint32_t BigEndian(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes.at(at + i));
    return value;
}

// A figure with one item of each kind, each in a colour of its own.
Figure EveryElement()
{
    Figure f;
    f.x = {"¹⁰Be (atoms g⁻¹)", Scale::Log10, 1e3, 1e7};
    f.y = {"²⁶Al / ¹⁰Be ± 1σ", Scale::Linear, 0.0, 1.0};
    f.items.emplace_back(Polygon{{{1e3, 0.0}, {1e5, 0.0}, {1e5, 0.5}, {1e3, 0.5}}, {1.0, 0.0, 0.0, 1.0}, {}});
    f.items.emplace_back(Polyline{{{1e3, 0.9}, {1e7, 0.9}}, {{0.0, 0.0, 1.0, 1.0}, 3.0, {}}});
    f.items.emplace_back(Ellipse{{1e6, 0.6}, 1e10, -1e3, 1e-3, 1.5, Color{0.0, 0.6, 0.0, 1.0}, {}});
    f.items.emplace_back(Markers{{{3e5, 0.2}}, {MarkerShape::Square, 12.0, Color{1.0, 0.0, 1.0, 1.0}, {}}});
    f.items.emplace_back(ErrorBars{{{3e4, 0.75}}, {}, {}, {0.1}, {0.1}, {{0.0, 1.0, 1.0, 1.0}, 4.0, {}}, 6.0});
    f.items.emplace_back(Label{{1e4, 0.7}, "SSC", 8.0});
    f.legend.entries = {{"Samples", {{}, Color{0.0, 0.6, 0.0, 1.0}, {}, true, {}}}};
    f.note = "P₁₀ 12.7 atoms g⁻¹ yr⁻¹";
    return f;
}

// SVG writes a colour as rgb(R%, G%, B%) of its components.
std::string SvgColour(const Color& c)
{
    auto percent = [](double v) {
        char text[16];
        std::snprintf(text, sizeof text, "%g%%", v * 100.0);
        return std::string(text);
    };
    return "rgb(" + percent(c.r) + "," + percent(c.g) + "," + percent(c.b) + ")";
}

TEST(FigureRenderer, PngAndSvgOfOneDrawingHoldTheSameElements)
{
    const Figure f = EveryElement();
    std::string png;
    std::string svg;
    std::string error;
    ASSERT_TRUE(RenderFigure(f, ImageFormat::Png, png, error)) << error;
    ASSERT_TRUE(RenderFigure(f, ImageFormat::Svg, svg, error)) << error;

    // PNG: the signature, 170 x 110 mm at 300 dpi (2008 x 1299), and 11811 dots per metre said in pHYs.
    ASSERT_GT(png.size(), 64u);
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(png.substr(12, 4), "IHDR");
    EXPECT_EQ(BigEndian(png, 16), 2008u);
    EXPECT_EQ(BigEndian(png, 20), 1299u);
    const std::size_t phys = png.find("pHYs");
    ASSERT_NE(phys, std::string::npos);
    EXPECT_EQ(BigEndian(png, phys + 4), 11811u);
    std::string again;
    ASSERT_TRUE(RenderFigure(f, ImageFormat::Png, again, error));
    EXPECT_EQ(again, png) << "the same figure gives the same bytes";

    // SVG: XML of the same size in points (481.89 x 311.81).
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find("width=\"481.889764pt\" height=\"311.811024pt\""), std::string::npos);
    EXPECT_NE(svg.find("</svg>"), std::string::npos);

    // Each item's colour: in the PNG's pixels (drawn at the screen's size,
    // the same drawing) and in the SVG's fills and strokes.
    const Raster raster = RenderRaster(f, 800, 520);
    std::set<std::uint32_t> pixels;
    for (int y = 0; y < raster.height; ++y)
        for (int x = 0; x < raster.width; ++x) {
            std::uint32_t p = 0;
            std::memcpy(&p, &raster.pixels[static_cast<std::size_t>(y * raster.stride + 4 * x)], 4);
            pixels.insert(p & 0xFFFFFF);
        }
    const Color colours[] = {{1, 0, 0, 1}, {0, 0, 1, 1}, {0, 0.6, 0, 1}, {1, 0, 1, 1}, {0, 1, 1, 1}};
    for (const Color& c : colours) {
        SCOPED_TRACE(SvgColour(c));
        const auto rgb = static_cast<std::uint32_t>(std::lround(c.r * 255)) << 16 |
                         static_cast<std::uint32_t>(std::lround(c.g * 255)) << 8 |
                         static_cast<std::uint32_t>(std::lround(c.b * 255));
        EXPECT_TRUE(pixels.count(rgb)) << "in the pixels";
        EXPECT_NE(svg.find(SvgColour(c)), std::string::npos) << "in the SVG";
    }
}

TEST(FigureRenderer, AxesPlaceDataWhereTheirScalesSay)
{
    // A red band over the left half of the decades and the lower half of the
    // ratio: a point a quarter across and a quarter up is red, one three
    // quarters across is white.
    Figure f;
    f.x = {"", Scale::Log10, 1e2, 1e6};
    f.y = {"", Scale::Linear, 0.0, 2.0};
    f.items.emplace_back(Polygon{{{1e2, 0.0}, {1e4, 0.0}, {1e4, 1.0}, {1e2, 1.0}}, {1.0, 0.0, 0.0, 1.0}, {}});
    const Raster r = RenderRaster(f, 1000, 647);
    auto pixel = [&](int x, int y) {
        std::uint32_t p = 0;
        std::memcpy(&p, &r.pixels[static_cast<std::size_t>(y * r.stride + 4 * x)], 4);
        return p & 0xFFFFFF;
    };
    auto dark = [&](int x, int y) { return (pixel(x, y) & 0xFF) < 100 && ((pixel(x, y) >> 16) & 0xFF) < 100; };
    // The frame, found from the middle of the figure (inside the plot area) outwards.
    const int row = r.height * 3 / 4;
    int left = r.width / 2, right = r.width / 2, top = r.height / 2, bottom = r.height / 2;
    while (left > 0 && !dark(left, row))
        --left;
    while (right < r.width - 1 && !dark(right, row))
        ++right;
    while (top > 0 && !dark(r.width / 2, top))
        --top;
    while (bottom < r.height - 1 && !dark(r.width / 2, bottom))
        ++bottom;
    auto colour = [&](double fx, double fy) {
        return pixel(left + static_cast<int>(fx * (right - left)), bottom - static_cast<int>(fy * (bottom - top)));
    };
    EXPECT_EQ(colour(0.25, 0.25), 0xFF0000u);
    EXPECT_EQ(colour(0.45, 0.45), 0xFF0000u);
    EXPECT_EQ(colour(0.55, 0.25), 0xFFFFFFu);
    EXPECT_EQ(colour(0.25, 0.55), 0xFFFFFFu);
}

TEST(TwoNuclideFigure, BurialLinesFollowTheHandDerivedModel)
{
    // Every point of the line labelled "t Myr" lies where steady erosion at
    // some rate, then t of burial, puts it: normalised, x = e^(-l10 t)/(l10 + m)
    // gives the removal m, and then y = e^(-(l26 - l10) t) (l10 + m)/(l26 + m).
    test::TempDir dir;
    TwoNuclideFigureInputs in;
    in.be10HalfLife = 1387000.0;
    in.al26HalfLife = 705000.0;
    const double l10 = std::log(2.0) / 1387000.0;
    const double l26 = std::log(2.0) / 705000.0;
    const std::vector<TwoNuclideSample> samples = {{"SSC", {111756, 3409, 416017, 31939, 11.65, 76.85}}};
    const Figure f = MakeTwoNuclideFigure(in, samples);
    std::set<std::string> checked;
    for (const Item& item : f.items) {
        const auto* label = std::get_if<Label>(&item);
        if (label == nullptr || label->text.size() < 5 || label->text.substr(label->text.size() - 4) != " Myr" ||
            label->text.find("m/") != std::string::npos)
            continue;
        const double t = std::stod(label->text) * 1e6;
        for (const Item& other : f.items) {
            const auto* line = std::get_if<Polyline>(&other);
            if (line == nullptr)
                continue;
            bool labelled = false;
            for (const Point& p : line->points)
                labelled = labelled || (p.x == label->at.x && p.y == label->at.y);
            if (!labelled)
                continue;
            checked.insert(label->text);
            for (const Point& p : line->points) {
                const double m = std::exp(-l10 * t) / p.x - l10;
                const double y = std::exp(-(l26 - l10) * t) * (l10 + m) / (l26 + m);
                EXPECT_NEAR(p.y, y, 1e-9 * y) << label->text << " at x = " << p.x;
            }
        }
    }
    // SSC lies near 1.2 Myr: the lines of 0.5, 1 and 1.5 Myr are in view.
    for (const char* expected : {"0.5 Myr", "1 Myr", "1.5 Myr"})
        EXPECT_TRUE(checked.count(expected)) << expected;
}

TEST(TwoNuclideFigure, SampleFileReadsAsABatchFileWithTheOptionsAsDefaults)
{
    // A ';' file with decimal commas and a production rate in one row only.
    test::TempDir dir;
    test::WriteFile(dir.File("s.csv"), "Sample;Be10;Be10-err;Al26;Al26-err;be10-production\r\n"
                                       "A;111756;3409;416017;31939;11,65\r\nB;2e5;5e3;1e6;5e4;\r\n");
    TwoNuclideFigureInputs in;
    in.input = dir.File("s.csv");
    in.be10Production = 5.0;
    in.al26Production = 30.0;
    std::vector<TwoNuclideSample> samples;
    std::string error;
    ASSERT_TRUE(ReadTwoNuclideSamples(in, samples, error)) << error;
    ASSERT_EQ(samples.size(), 2u);
    EXPECT_EQ(samples[0].name, "A");
    EXPECT_DOUBLE_EQ(samples[0].pair.be10Production, 11.65);
    EXPECT_DOUBLE_EQ(samples[0].pair.al26Production, 30.0);
    EXPECT_DOUBLE_EQ(samples[1].pair.be10Production, 5.0);
    EXPECT_DOUBLE_EQ(samples[1].pair.al26, 1e6);
}

TEST(TwoNuclideFigure, IsochronAndItsBandAreDrawnInPngAndSvg)
{
    // A line given by hand: on the raw diagram y = (a + b x) / x and its band
    // (a + b x +- sigma) / x, sigma^2 = var a + 2 x cov + x^2 var b.
    TwoNuclideFigureInputs in;
    in.raw = true;
    IsochronLine line;
    line.slope = 3.0;
    line.intercept = 2.0e4;
    line.varianceSlope = 0.04;
    line.varianceIntercept = 1.0e8;
    line.covariance = -50.0;
    line.be10Production = in.be10Production;
    line.al26Production = in.al26Production;
    line.dated = true;
    line.age = 1.234e6;
    line.ageError = 5.6e4;
    const std::vector<TwoNuclideSample> samples = {{"A", {1e5, 3e3, 3.2e5, 1.6e4, 12.7, 77.7}},
                                                   {"B", {4e5, 1e4, 1.2e6, 6e4, 12.7, 77.7}}};
    const Figure f = MakeTwoNuclideFigure(in, samples, line);
    const Color blue{0.0, 0.447, 0.698, 1.0};
    const Polyline* centre = nullptr;
    const Polygon* band = nullptr;
    for (const Item& item : f.items) {
        if (const auto* l = std::get_if<Polyline>(&item); l && l->stroke.color.b == blue.b && l->stroke.color.g == blue.g)
            centre = l;
        if (const auto* p = std::get_if<Polygon>(&item); p && p->fill.b == blue.b && p->fill.a < 1.0)
            band = p;
    }
    ASSERT_NE(centre, nullptr);
    ASSERT_NE(band, nullptr);
    ASSERT_EQ(band->points.size(), 2 * centre->points.size());
    const std::size_t n = centre->points.size();
    for (std::size_t i = 0; i < n; ++i) {
        const double x = centre->points[i].x;
        const double sigma = std::sqrt(1.0e8 + 2.0 * x * -50.0 + x * x * 0.04);
        EXPECT_NEAR(centre->points[i].y, (2.0e4 + 3.0 * x) / x, 1e-9 * centre->points[i].y);
        EXPECT_NEAR(band->points[i].y, (2.0e4 + 3.0 * x + sigma) / x, 1e-9 * band->points[i].y);
        EXPECT_NEAR(band->points[2 * n - 1 - i].y, (2.0e4 + 3.0 * x - sigma) / x, 1e-9 * centre->points[i].y);
    }
    bool legend = false;
    for (const auto& entry : f.legend.entries)
        legend = legend || entry.text == "Isochron ± 1σ: 1234 ± 56 kyr";
    EXPECT_TRUE(legend);

    // The line in the PNG's pixels and, with its band, in the SVG.
    const Raster raster = RenderRaster(f, 800, 520);
    bool inPixels = false;
    for (int y = 0; y < raster.height && !inPixels; ++y)
        for (int x = 0; x < raster.width; ++x) {
            const unsigned char* p = &raster.pixels[static_cast<std::size_t>(y * raster.stride + 4 * x)];
            if (p[0] == 178 && p[1] == 114 && p[2] == 0)
                inPixels = true;
        }
    EXPECT_TRUE(inPixels);
    std::string svg;
    std::string error;
    ASSERT_TRUE(RenderFigure(f, ImageFormat::Svg, svg, error)) << error;
    const std::size_t first = svg.find(SvgColour(blue));
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(svg.find(SvgColour(blue), first + 1), std::string::npos) << "the line and its band";
}

TEST(FigureRenderer, FormatComesFromTheExtension)
{
    EXPECT_EQ(ImageFormatOf("a/b.PNG"), ImageFormat::Png);
    EXPECT_EQ(ImageFormatOf("b.svg"), ImageFormat::Svg);
    EXPECT_FALSE(ImageFormatOf("b.jpg"));
    EXPECT_FALSE(ImageFormatOf("dir.svg/b"));
}

} // namespace
} // namespace qex

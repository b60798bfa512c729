#include "proxy/SimulationReport.h"

#include "core/Format.h"
#include "proxy/CurveOrientation.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace qex {

namespace {

// Appends one formatted line; short lines go through a stack buffer, so the
// thousand lines of a report cost no allocation each.
void AppendFormat(std::string& text, const char* format, ...) __attribute__((format(printf, 2, 3)));
void AppendFormat(std::string& text, const char* format, ...)
{
    char buffer[256];
    std::va_list args;
    va_start(args, format);
    std::va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (length >= 0 && static_cast<std::size_t>(length) < sizeof buffer)
        text.append(buffer, static_cast<std::size_t>(length));
    else
        text += FormatV(format, copy);
    va_end(copy);
}

} // namespace

double ReportRatioDifference(double ratio, double measuredRatio)
{
    return std::fabs(100.0 * (ratio - measuredRatio) / measuredRatio);
}

std::vector<std::string> SimulationSettingLines(const HalfLives& halfLives, bool exposureAboveCut)
{
    std::vector<std::string> lines;
    for (const Provenance& items : {HalfLifeProvenance(halfLives), ExposureAboveCutProvenance(exposureAboveCut)})
        for (const ProvenanceItem& item : items)
            if (!item.line.empty())
                lines.push_back(item.line);
    return lines;
}

std::string FormatSimulationReport(const std::vector<CutHistory>& histories, double measuredRatio,
                                   const SimulationBestFit* best, const std::vector<std::string>& settings)
{
    std::string text;
    text.reserve(80 * (histories.size() + 16) + (best != nullptr ? 40 * best->pairs.size() : 0));
    for (const std::string& line : settings)
        text += line + "\n";
    text += "\n[Calculation Information]\n";
    text += "Cut_value,  Cal_ratio, ABS_diff, First_cut_age, Exp_age, Burial_age\n";
    // Each row: "%10.3lf, %10.3lf, %10.3lf, %10.0lf, %10.0lf, %12.0lf".
    for (const CutHistory& h : histories) {
        AppendFixed(text, h.cutValue, 10, 3);
        text += ", ";
        AppendFixed(text, h.ratio, 10, 3);
        text += ", ";
        AppendFixed(text, ReportRatioDifference(h.ratio, measuredRatio), 10, 3);
        text += ", ";
        AppendFixed(text, h.firstCutAge, 10, 0);
        text += ", ";
        AppendFixed(text, h.exposure, 10, 0);
        text += ", ";
        AppendFixed(text, h.burial, 12, 0);
        text += '\n';
    }

    text += "\n[Best Fit Information]\n";
    if (best == nullptr) {
        text += "No cut value qualified as best fit.\n";
        return text;
    }
    AppendFormat(text, "Cut Value: %10.5lf\n", best->cutValue);
    AppendFormat(text, "Ratio_Diff(*100): %10.3lf\n", best->ratioDifference);
    AppendFormat(text, "Calcualted Ratio: %10.3lf\n", best->calculatedRatio);
    AppendFormat(text, "Total Exposure Age: %10.2lf\n", best->exposureTime);
    AppendFormat(text, "Total Burial Age: %10.2lf\n", best->burialTime);
    AppendFormat(text, "Total year: %10.3lf\n", best->totalTime);
    AppendFormat(text, "Cutting number: %d\n", best->cuttingNumber);
    for (std::size_t i = 0; i < best->cuttingAges.size(); ++i)
        AppendFormat(text, "Cuting age No.%d:   %10.0lf\n", static_cast<int>(i + 1), best->cuttingAges[i]);
    AppendFormat(text, "Number of BeN-R pair: %d\n", static_cast<int>(best->pairs.size()));
    text += "       BeN,     AlN,    Ratio\n";
    for (const NuclidePair& pair : best->pairs)
        AppendFormat(text, "%12.0lf, %12.0lf, %10.2lf\n", pair.be10, pair.al26, pair.ratio);
    return text;
}

} // namespace qex

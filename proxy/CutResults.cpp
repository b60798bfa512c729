#include "proxy/CutResults.h"

#include "core/Constants.h"
#include "core/Format.h"
#include "core/Message.h"
#include "proxy/ProxyCurve.h"
#include "proxy/ProxyResultLabels.h"

namespace qex {

const InputTable<CutInputs>& CutInputTable()
{
    using In = CutInputs;
    static const InputRow<In> rows[] = {
        {.name = "proxy", .controlId = 1023, .member = "m_strProxyFile", .label = "Proxy curve file",
         .kind = InputKind::FileToRead, .field = &In::path, .maxChars = 1000, .required = true,
         .help = "keyword Proxy_Data"},
        {.name = "exposure-age", .controlId = 1003, .member = "m_dExposureAge", .label = "Exposure age",
         .unit = "years", .boxUnit = "yr", .field = &In::exposureAge, .range = InputRange{0.0, 1e9}},
        {.name = "cut-age", .controlId = 1001, .member = "m_dCutAge", .label = "Cut age", .unit = "years",
         .boxUnit = "yr", .field = &In::cutAge, .range = InputRange{0.0, 1e8},
         .help = "cut at the proxy value the curve has at this age (the default cut)"},
        {.name = "cut-value", .controlId = 1000, .member = "m_dCutValue", .label = "Cut value",
         .unit = "proxy units", .field = &In::cutValue, .help = "cut at this proxy value instead of at an age"},
        {.name = "cut-by-age", .controlId = 1002, .member = "m_bCutByAge", .label = "Cut by age",
         .kind = InputKind::Flag, .field = &In::cutByAge, .option = false,
         .help = "cut at the value the curve has at the cut age; otherwise at the cut value"},
        {.name = "exposure-above-cut", .controlId = 1041, .member = "m_bExposureAboveCut",
         .label = "Exposure above the cut", .kind = InputKind::Flag, .field = &In::exposureAboveCut,
         .help = "for a curve where high means warm (sea level, ice-core temperature or deltaD): the cut of the "
                 "curve with every value negated, the cut value in the curve's own units"},
    };
    static const InputTable<In> table(rows);
    return table;
}

std::vector<std::string> CutFailureLines(const std::string& reason)
{
    return {kCutFailureHeading, kNoValidResultsLine, "Reason: " + reason};
}

const OutputTable<CutResult>& CutOutputTable()
{
    using R = CutResult;
    static const OutputRow<R> rows[] = {
        AgeRow(kExposureAgeLabel, "exposure_kyr", "%s  :   %-10.3f", &R::exposure),
        AgeRow(kBurialAgeLabel, "burial_kyr", "%s         :   %-10.3f", &R::burial),
        AgeRow(kTotalAgeLabel, "total_kyr", "%s         :   %-10.3f", &R::total),
        {.label = kCutValueLabel, .format = "%s              :   %-10.3f", .name = "cut_value", .field = &R::cutValue},
        CrossingsRow(&R::crossings),
        CrossingYearsRow(&R::crossingYears),
        ProvenanceRow<R, &R::constants>(),
    };
    static const OutputTable<R> table{rows};
    return table;
}

CutOutcome AppendCutResults(const CutInputs& inputs, CResultList& list, ProxyHistoryPlot* plot, COutputBlocks* blocks,
                            std::string* failure)
{
    if (inputs.path.empty()) {
        ShowMessage("Please select a proxy curve file!");
        return CutOutcome::Stopped;
    }
    CProxyCurve curve(inputs.path, inputs.exposureAboveCut);
    return AppendCutResults(curve, inputs, list, plot, blocks, failure);
}

CutOutcome AppendCutResults(CProxyCurve& curve, const CutInputs& inputs, CResultList& list, ProxyHistoryPlot* plot,
                            COutputBlocks* blocks, std::string* failure)
{
    if (!curve.IsLoaded())
        return CutOutcome::Stopped;
    // The cuts walk the years in order and refuse a curve whose years go back.
    if (!curve.IsAscending())
        ShowMessage(Format("Proxy data file is not correct: the years do not ascend at line %d!",
                           curve.DescendingLine()));

    // A cut value is typed in the curve's own units.
    const double end = inputs.cutByAge
                           ? curve.CutAtYear(inputs.cutAge, inputs.exposureAge)
                           : curve.CutAtValue(CurveValue(inputs.cutValue, curve.negated), inputs.exposureAge);
    if (end < 0.0) {
        // A block of its own, but no result: no number, nothing selected.
        for (const std::string& line : CutFailureLines(curve.failure))
            list.AppendLine(line);
        if (failure != nullptr)
            *failure = curve.failure;
        return CutOutcome::NoValidResult;
    }

    const CutResult result{curve.exposureAge, curve.burialAge, curve.totalAge, CurveValue(curve.cutValue, curve.negated),
                           static_cast<int>(curve.crossings.size()), curve.crossings,
                           ExposureAboveCutProvenance(curve.negated)};
    AppendResult(list, CutOutputTable(), result, blocks);
    if (plot != nullptr)
        *plot = MakeCutHistoryPlot(curve);
    return CutOutcome::Result;
}

} // namespace qex

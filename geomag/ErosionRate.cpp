#include "geomag/ErosionRate.h"

#include "core/Format.h"
#include "core/Message.h"

#include <cmath>

namespace qex {

namespace {

// 1 cm/yr is 0.01 m per 1e-6 Myr: the listed m/Myr are the cm/yr divided by 1e-4.
constexpr double kCmPerYrPerMetrePerMyr = 1e-4;

std::string ErosionCheck(ErosionInputs& in, const GivenInputs&)
{
    return CheckSample(in);
}

} // namespace

const InputTable<ErosionInputs>& ErosionInputTable()
{
    using In = ErosionInputs;
    static const NuclideSampleRows<In> s = MakeNuclideSampleRows<In>("of the erosion term", "");
    static const InputRow<In> rows[] = {
        s.latitude,      s.altitude,           s.thickness,      s.density,
        s.freePath,      s.shield,             s.concentration,  s.concentrationError,
        s.productionRate, s.productionRateError, s.nuclide,      s.be10Standard,
        s.al26Standard,  s.constants,          s.atmosphere,     s.pressure,
        s.be10HalfLife,  s.al26HalfLife,
    };
    static const InputTable<In> table(rows, ErosionCheck);
    return table;
}

const OutputTable<ErosionResult>& ErosionOutputTable()
{
    using R = ErosionResult;
    constexpr std::string_view kMetres = "%s:   %-5.6f";
    constexpr std::string_view kCentimetres = "%s:   %-5.10f"; // 1e-10 cm/yr = 1e-6 m/Myr
    static const OutputRow<R> rows[] = {
        {.label = "Erosion Rate(m/Myr)", .format = kMetres, .name = "erosion_rate_m_per_myr", .unit = "m/Myr",
         .scale = kCmPerYrPerMetrePerMyr, .field = &R::rate},
        {.label = "Internal uncertainty(m/Myr)", .format = kMetres, .name = "erosion_internal_m_per_myr",
         .unit = "m/Myr", .scale = kCmPerYrPerMetrePerMyr, .field = &R::internal},
        {.label = "External uncertainty(m/Myr)", .format = kMetres, .name = "erosion_external_m_per_myr",
         .unit = "m/Myr", .scale = kCmPerYrPerMetrePerMyr, .field = &R::external},
        {.label = "Erosion Rate(cm/yr)", .format = kCentimetres, .name = "erosion_rate_cm_per_yr", .unit = "cm/yr",
         .field = &R::rate},
        {.label = "Internal uncertainty(cm/yr)", .format = kCentimetres, .name = "erosion_internal_cm_per_yr",
         .unit = "cm/yr", .field = &R::internal},
        {.label = "External uncertainty(cm/yr)", .format = kCentimetres, .name = "erosion_external_cm_per_yr",
         .unit = "cm/yr", .field = &R::external},
        ProvenanceRow<R, &R::constants>(),
    };
    static const OutputTable<R> table{rows};
    return table;
}

ErosionResult SteadyStateErosion(double P, double dP, double N, double dN, double lambda, double rho, double Lambda)
{
    ErosionResult result;
    if (!(N > 0.0) || !(P / N > lambda)) {
        result.rate = result.internal = result.external = NAN;
        return result;
    }
    // eps = (P / N - lambda) Lambda / rho; to first order
    // d eps / dN = -P Lambda / (rho N^2) and d eps / dP = Lambda / (rho N).
    result.rate = (P / N - lambda) * Lambda / rho;
    result.internal = P * Lambda * dN / (rho * N * N);
    const double fromProduction = Lambda * dP / (rho * N);
    result.external = std::hypot(result.internal, fromProduction);
    return result;
}

bool AppendErosionRate(const ErosionInputs& in, CResultList& list, COutputBlocks* blocks)
{
    // Erosion carries rock mass up through the attenuation length: without either there is no rate to find.
    if (!(in.density > 0.0) || !(in.freePath > 0.0)) {
        ShowMessage("An erosion rate needs a density and an attenuation length above 0: no erosion rate.");
        return false;
    }
    SampleProduction sample;
    if (!PrepareSample(in, "erosion rate", sample))
        return false;
    // No atoms: the surface would erode infinitely fast.
    if (!(sample.concentration.value > 0.0)) {
        ShowMessage("A concentration of 0 atoms/g has no erosion rate.");
        return false;
    }
    ErosionResult result = SteadyStateErosion(sample.rate, sample.rateError, sample.concentration.value,
                                              sample.concentration.error, sample.decayConstant, in.density,
                                              in.freePath);
    if (std::isnan(result.rate)) {
        ShowMessage(Format("The concentration is at or above saturation without erosion (P/lambda = %.0f atoms/g): "
                           "no erosion rate.",
                           sample.rate / sample.decayConstant));
        return false;
    }
    // A vanishing density or concentration drives the rate beyond any number.
    if (!std::isfinite(result.rate) || !std::isfinite(result.external)) {
        ShowMessage("The erosion rate of this sample exceeds what can be computed: no erosion rate.");
        return false;
    }
    result.constants = SampleProvenance(in);
    AppendResult(list, ErosionOutputTable(), result, blocks);
    return true;
}

} // namespace qex

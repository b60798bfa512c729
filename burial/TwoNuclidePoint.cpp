#include "burial/TwoNuclidePoint.h"

#include <cmath>

namespace qex {

DiagramPosition PlaceOnDiagram(const MeasuredPair& s, bool normalized)
{
    // Normalising divides x by P10 and y by P26/P10: constants, which scale
    // the covariance and leave the correlation alone.
    const double xScale = normalized ? 1.0 / s.be10Production : 1.0;
    const double yScale = normalized ? s.be10Production / s.al26Production : 1.0;
    DiagramPosition p;
    p.x = s.be10 * xScale;
    p.y = s.al26 / s.be10 * yScale;
    // Jacobian of (x, y) in (N10, N26): dx/dN10 = x/N10, dx/dN26 = 0,
    // dy/dN10 = -y/N10, dy/dN26 = y/N26; C = J diag(s10^2, s26^2) J^T.
    const double r10 = s.be10Error / s.be10; // relative errors
    const double r26 = s.al26Error / s.al26;
    p.varianceX = p.x * p.x * r10 * r10;
    p.covarianceXY = -p.x * p.y * r10 * r10;
    p.varianceY = p.y * p.y * (r10 * r10 + r26 * r26);
    return p;
}

const InputTable<MeasuredPair>& MeasuredPairTable()
{
    using In = MeasuredPair;
    // A ratio needs both nuclides: at least one atom per gram of each.
    constexpr InputRange kConcentration{1.0, 1e12};   // atoms/g
    constexpr InputRange kUncertainty{0.0, 1e12};     // atoms/g
    constexpr InputRange kProduction{0.001, 100000.0}; // atoms/g/yr
    static const InputRow<In> rows[] = {
        {.name = "be10", .label = "Measured 10Be concentration", .unit = "atoms/g", .field = &In::be10,
         .range = kConcentration, .required = true},
        {.name = "be10-err", .label = "Uncertainty of the 10Be concentration (1 sigma)", .unit = "atoms/g",
         .field = &In::be10Error, .range = kUncertainty, .required = true},
        {.name = "al26", .label = "Measured 26Al concentration", .unit = "atoms/g", .field = &In::al26,
         .range = kConcentration, .required = true},
        {.name = "al26-err", .label = "Uncertainty of the 26Al concentration (1 sigma)", .unit = "atoms/g",
         .field = &In::al26Error, .range = kUncertainty, .required = true},
        {.name = "be10-production", .label = "10Be production rate at the sample's source", .unit = "atoms/g/yr",
         .field = &In::be10Production, .range = kProduction},
        {.name = "al26-production", .label = "26Al production rate at the sample's source", .unit = "atoms/g/yr",
         .field = &In::al26Production, .range = kProduction},
        {.name = "post-burial-be10-production", .label = "10Be production at the sample's depth since burial",
         .unit = "atoms/g/yr", .field = &In::be10PostBurialProduction, .range = InputRange{0.0, 100000.0}},
        {.name = "post-burial-al26-production", .label = "26Al production at the sample's depth since burial",
         .unit = "atoms/g/yr", .field = &In::al26PostBurialProduction, .range = InputRange{0.0, 100000.0}},
    };
    static const InputTable<In> table(rows);
    return table;
}

double EllipseScale(double probability)
{
    return std::sqrt(-2.0 * std::log1p(-probability));
}

} // namespace qex

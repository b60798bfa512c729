#pragma once
// Where a measured sample lies on the two-nuclide diagram and how uncertain
// that place is. The diagram's x is 10Be and its y the ratio 26Al/10Be, so
// the two coordinates share the 10Be measurement and their errors are
// correlated: an error ellipse, not two bars.
//
// The field's standard form (Granger 2006; Balco & Rovey 2008) divides each
// concentration by its production rate: x = N10/P10 (yr) against
// y = (N26/P26)/(N10/P10), so that samples of different sites share one
// diagram and its lines; the raw form is N10 (atoms/g) against N26/N10.

#include "burial/BurialModel.h"
#include "core/InputTable.h"

namespace qex {

// One measured sample: concentrations with their 1-sigma uncertainties
// (atoms/g) and the production rates at its source (atoms/g/yr).
struct MeasuredPair {
    double be10 = 0.0;
    double be10Error = 0.0;
    double al26 = 0.0;
    double al26Error = 0.0;
    double be10Production = 0.0;
    double al26Production = 0.0;
    // atoms/g/yr at the sample's depth since burial, for an isochron's
    // post-burial correction (burial/IsochronAge.h); the diagram draws the
    // concentrations as measured.
    double be10PostBurialProduction = 0.0;
    double al26PostBurialProduction = 0.0;
};

// The columns of a file of such samples, one a row beside "sample": be10,
// be10-err, al26, al26-err (required) and be10-production, al26-production
// (a row that leaves them out takes the command's), post-burial-be10-production,
// post-burial-al26-production (0 where left out).
const InputTable<MeasuredPair>& MeasuredPairTable();

// A place on the diagram with the covariance of its two coordinates.
struct DiagramPosition {
    double x = 0.0;
    double y = 0.0;
    double varianceX = 0.0;
    double covarianceXY = 0.0;
    double varianceY = 0.0;
};

// The sample's place, normalised by its production rates or raw. The
// covariance propagates the two independent measurement errors linearly
// through x and y (production rates taken as exact). Both need positive
// concentrations and, normalised, positive production rates.
DiagramPosition PlaceOnDiagram(const MeasuredPair& sample, bool normalized);

// The scale of the covariance whose ellipse holds `probability` of a
// bivariate normal distribution: sqrt(-2 ln(1 - p)), the chi-square
// quantile of two degrees of freedom (1.51 for 68 %).
double EllipseScale(double probability);

} // namespace qex

#pragma once
// The two-nuclide diagram of many samples: 26Al/10Be against 10Be, in the
// field's standard form (each concentration divided by its production rate,
// 10Be on a logarithmic axis; Granger 2006) or raw. Each sample is drawn
// with its 68 % error ellipse, among the constant-exposure and
// steady-erosion lines that bound simple exposure, lines of constant burial
// time after steady erosion at the source and lines of constant source
// erosion (burial/BurialModel.h), with sample labels, a legend and a note of
// the constants that made it.

#include "burial/TwoNuclidePoint.h"
#include "core/InputTable.h"
#include "figure/Figure.h"

#include <optional>
#include <string>
#include <vector>

namespace qex {

struct TwoNuclideFigureInputs {
    std::string input;            // CSV of samples: sample, be10, be10-err, al26, al26-err[, be10-production, al26-production]
    double be10Production = 12.7; // atoms/g/yr, for rows without their own
    double al26Production = 77.7; // atoms/g/yr
    double density = 2.75;        // g/cm3
    double freePath = 150.0;      // g/cm2
    double be10HalfLife = kBe10HalfLifeYears; // yr
    double al26HalfLife = kAl26HalfLifeYears; // yr
    double burialStep = 0.5;      // Myr between lines of constant burial time
    bool raw = false;             // N10 against N26/N10 instead of the normalised form
    bool noLabels = false;        // leave the sample names off
    bool isochron = false;        // fit the samples' isochron and draw it with its band
};
const InputTable<TwoNuclideFigureInputs>& TwoNuclideFigureInputTable();

struct TwoNuclideSample {
    std::string name;
    MeasuredPair pair;
};

// A straight line N26 = intercept + slope N10 through samples of one horizon
// (an isochron) with the covariance of its two parameters: drawn as a curve
// on the diagram with its 1-sigma band.
struct IsochronLine {
    double slope = 0.0;     // 26Al per 10Be
    double intercept = 0.0; // atoms/g of 26Al
    double varianceSlope = 0.0;
    double varianceIntercept = 0.0;
    double covariance = 0.0;
    double be10Production = 0.0; // atoms/g/yr, to place the line on the normalised diagram
    double al26Production = 0.0;
    bool dated = false;   // the slope gave a burial age, shown in the legend
    double age = 0.0;     // yr
    double ageError = 0.0; // yr, 1 sigma (scaled by sqrt(MSWD) when above 1)
    // The age once the samples' post-burial production is taken off (the line
    // drawn is the one through the samples as measured).
    bool corrected = false;
    double correctedAge = 0.0;      // yr
    double correctedAgeError = 0.0; // yr
};

// The isochron of the samples: a York fit of 26Al on 10Be (burial/YorkFit.h)
// dated with the production ratio of the inputs' rates and their half-lives
// (burial/IsochronAge.h), placed with the inputs' rates; with the samples'
// post-burial production, also the corrected age. False, with why in
// `error`, when there is no line (fewer than three samples...).
bool FitTwoNuclideIsochron(const TwoNuclideFigureInputs& inputs, const std::vector<TwoNuclideSample>& samples,
                           IsochronLine& line, std::string& error);

// Reads the samples of inputs.input; rows without production rates take the
// inputs'. False, with why in `error`, as ReadSampleFile refuses a file.
bool ReadTwoNuclideSamples(const TwoNuclideFigureInputs& inputs, std::vector<TwoNuclideSample>& samples,
                           std::string& error);

// The diagram of the samples (at least one). The isochron, where given, is
// drawn over the lines and under the samples.
figure::Figure MakeTwoNuclideFigure(const TwoNuclideFigureInputs& inputs, const std::vector<TwoNuclideSample>& samples,
                                    const std::optional<IsochronLine>& isochron = std::nullopt);

// The probability a sample's ellipse holds.
inline constexpr double kEllipseProbability = 0.68;

} // namespace qex

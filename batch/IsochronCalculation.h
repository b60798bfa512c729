#pragma once
// The isochron burial age as a calculator: a file of samples of one horizon
// (any format a batch reads, one sample a row, the columns of
// MeasuredPairTable: sample, be10, be10-err, al26, al26-err and optionally
// post-burial-be10-production and post-burial-al26-production), the
// production ratio and the half-lives; its
// block (the York fit, its MSWD and the age with and without the MSWD's
// scaling) and, with draws, a Monte Carlo block (burial/IsochronAge.h).

#include "burial/IsochronAge.h"
#include "core/ConstantSets.h"
#include "core/InputTable.h"
#include "core/OutputTable.h"
#include "core/ResultList.h"

#include <functional>
#include <string>
#include <vector>

namespace qex {

struct IsochronInputs {
    std::string input;                 // the file of samples
    // R0; the constant set's P26/P10 unless given (here the original set's).
    double productionRatio = kAl26SeaLevelProduction / kBe10SeaLevelProduction;
    double productionRatioError = 0.0; // 1 sigma
    std::string constants = std::string(kOriginalConstants);
    double be10HalfLife = kBe10HalfLifeYears; // yr
    double al26HalfLife = kAl26HalfLifeYears; // yr
    double be10PostBurialProduction = 0.0; // atoms/g/yr, for rows without their own
    double al26PostBurialProduction = 0.0;
    double monteCarloDraws = 0.0;
    double seed = 1.0;
};
const InputTable<IsochronInputs>& IsochronInputTable();

struct IsochronResult {
    int samples = 0;
    double slope = 0.0, slopeError = 0.0;         // 26Al per 10Be
    double intercept = 0.0, interceptError = 0.0; // atoms/g of 26Al
    double covariance = 0.0;                      // of intercept and slope
    double mswd = 0.0;
    double probability = 0.0; // of a chi-square at least as large, n - 2 degrees of freedom
    double productionRatio = 0.0, productionRatioError = 0.0;
    double age = 0.0, ageError = 0.0, ageErrorScaled = 0.0; // yr
    int refits = 0;
    bool postBurial = false;
    Provenance constants;
};
const OutputTable<IsochronResult>& IsochronOutputTable();

// The Monte Carlo block: "Monte Carlo (D draws, seed S)", the age's median
// and intervals over the draws with an age, and the shares of all draws with
// an age, with a slope at or above R0 and without a fit.
struct IsochronMonteCarloBlock {
    int draws = 0;
    double seed = 0.0;
    bool any = false;
    DistributionSummary age; // yr
    double agePercent = 0.0, notBuriedPercent = 0.0, noFitPercent = 0.0;
};
const OutputTable<IsochronMonteCarloBlock>& IsochronMonteCarloOutputTable();

// The samples of inputs.input; rows without post-burial production take the
// inputs'. False, with why in `error`.
bool ReadIsochronSamples(const IsochronInputs& inputs, std::vector<IsochronSample>& samples,
                         std::vector<std::string>& names, std::string& error);

// The settings of the inputs (R0 and the half-lives).
IsochronSettings IsochronSettingsOf(const IsochronInputs& inputs);

// Reads, fits and dates; appends the block and, with draws, the Monte Carlo
// block. False after a message when there is no age. `threads` <= 0 takes
// every core; `running` false stops the draws.
bool AppendIsochronAge(const IsochronInputs& inputs, CResultList& list, COutputBlocks* blocks = nullptr,
                       int threads = 0, const std::function<bool()>& running = {});

} // namespace qex

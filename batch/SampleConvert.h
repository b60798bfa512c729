#pragma once
// Samples in any format QEX reads written as a v3 input block, so that the
// same samples can go to the online calculators for comparison, or as QEX's
// own CSV (the exposure age's columns). A sample is read as the exposure age
// reads it; a v3 block written here reads back to the same samples.

#include "batch/SampleFormats.h"

#include <string>
#include <string_view>
#include <vector>

namespace qex {

struct ConvertedSamples {
    SampleFormat format = SampleFormat::Csv; // the format the input was read in
    std::string text;                         // the block or the table
    int samples = 0;                          // sample lines (v3) or rows (CSV) written
    std::vector<std::string> notes;           // read and not carried over
    std::vector<std::string> failures;        // "line 4 (S): why", for samples that cannot be written
};

// Converts the text of a file of samples (`from`: its format, or Auto). False,
// with why in `error`, for a file that cannot be read at all; true otherwise,
// with the samples that cannot be written in `failures` (the caller then
// writes nothing: a converted file never lacks a sample).
bool ConvertSampleText(std::string_view text, SampleFormat from, bool toV3, ConvertedSamples& out,
                       std::string& error);

} // namespace qex

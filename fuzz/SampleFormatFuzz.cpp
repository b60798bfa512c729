// A reader of the field's sample files on any bytes, the format forced
// (QEX_FUZZ_FORMAT, one target a reader): the file is refused with a reason
// or read into rows that each name their line; up to 16 of them run through
// the exposure age to a finite result or an error; a file that converts
// whole to a v3 block reads back to as many rows, and converts to itself.

#include "batch/BatchRun.h"
#include "batch/SampleConvert.h"
#include "fuzz/FuzzSupport.h"

using namespace qex;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::DropMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text = fuzz::Text(data, size);
    const SampleFormat format = *FindSampleFormat(QEX_FUZZ_FORMAT);
    const BatchCalculator& exposure = *FindBatchCalculator("exposure");
    BatchJob job;
    std::string error;
    if (!OpenBatchText(exposure, text, ".", format, job, error)) {
        fuzz::Require(!error.empty(), "a refused file says why");
        return 0;
    }
    for (const BatchInputRow& row : job.rows)
        fuzz::Require(row.line >= 1, "each row names its line");
    if (job.rows.size() <= 16) {
        for (const BatchRowOutcome& row : RunBatch(job, 1, false).rows) {
            fuzz::Require(!row.result.failed || !row.result.messages.empty(), "a failed row says why");
            for (const std::string& cell : OutputCells(row.result.results, CellDigits::Full))
                fuzz::Require(fuzz::IsFiniteText(cell), "results are finite numbers");
        }
    }

    ConvertedSamples v3;
    if (!ConvertSampleText(text, format, true, v3, error) || !v3.failures.empty() || v3.samples == 0)
        return 0;
    BatchJob back;
    fuzz::Require(OpenBatchText(exposure, v3.text, ".", SampleFormat::V3, back, error), "the v3 block reads");
    fuzz::Require(back.rows.size() == job.rows.size(), "as many rows from the v3 block");
    for (const BatchInputRow& row : back.rows)
        fuzz::Require(row.error.empty(), "every sample of the v3 block reads");
    ConvertedSamples again;
    fuzz::Require(ConvertSampleText(v3.text, SampleFormat::V3, true, again, error) && again.text == v3.text,
                  "the v3 block converts to itself");
    return 0;
}

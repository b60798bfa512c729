// The reader of batch outputs for group statistics on any bytes: it refuses
// the text with a reason, or every group with values has finite statistics,
// no more outliers than half its values, and its block of lines.

#include "batch/GroupSummary.h"
#include "fuzz/FuzzSupport.h"

#include <cmath>

using namespace qex;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::DropMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text = fuzz::Text(data, size);
    for (OutlierTest test : {OutlierTest::Gesd, OutlierTest::Chauvenet}) {
        SummaryTable table;
        std::string error;
        if (!ReadSummaryText(text, {test, 0.05}, table, error)) {
            fuzz::Require(!error.empty(), "a refused text says why");
            return 0;
        }
        for (const GroupSummary& group : table.groups) {
            if (group.samples.empty())
                continue;
            const GroupStatistics& s = group.all;
            fuzz::Require(s.n == static_cast<int>(group.samples.size()), "every value counted");
            fuzz::Require(s.probability >= 0.0 && s.probability <= 1.0, "a probability");
            fuzz::Require(!std::isnan(s.weightedMean) && !std::isnan(s.mswd), "statistics are numbers");
            fuzz::Require(2 * group.outliers.size() <= group.samples.size(), "outliers are a minority");
        }
        CResultList list;
        AppendSummary(table, list);
        fuzz::Require(!list.Lines().empty(), "a block per group");
    }
    return 0;
}

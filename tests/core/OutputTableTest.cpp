// The output tables: the digits a line format shows, full-precision cells, the
// JSON of values that are not finite, and names that cannot collide.

#include "batch/BatchRun.h"
#include "calculators/CalculatorList.h"
#include "core/JsonDocument.h"

#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <limits>
#include <nlohmann/json.hpp>
#include <set>

namespace qex {
namespace {

TEST(OutputTable, TheListsDigitsComeFromTheLinesValueConversion)
{
    const struct {
        const char* format;
        bool count;
        const char* digits;
    } cases[] = {
        {"%s  :   %-10.3f", false, "%.3f"},          {"%s:  %5.6f", false, "%.6f"},
        {"%s %d:   %-10.3f", false, "%.3f"},         {"%-18s:   %.1f %% of draws", false, "%.1f"},
        {"Half-life 10Be(yr)  :   %.0f", false, "%.0f"}, {"%s   :    %d", true, "%d"},
        {"%.5f", false, "%.5f"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ValueDigits(c.format, c.count), c.digits) << c.format;
}

TEST(OutputTable, AFullCellReadsBackToTheSameNumber)
{
    for (const double value : {0.1, 1.0 / 3.0, 981.88965582637, 1e-300, 4.9e-324, 1.7976931348623157e308, -2.5})
        EXPECT_EQ(std::strtod(ShortestText(value).c_str(), nullptr), value) << ShortestText(value);
}

// Thickness 2 cm, density 2.75 g/cm3, free path 150 g/cm2: x = 5.5 / 150 and
// the factor (1 - e^-x) / x; the batch's cell carries it to the last digit,
// its list digits are the line's six decimals.
TEST(OutputTable, BatchCellsCarryTheNumbersNotTheListsDigits)
{
    BatchJob job;
    std::string error;
    ASSERT_TRUE(OpenBatchText("thickness", "sample,thickness,density,free-path\nA,2,2.75,150\n", ".", job, error));
    const BatchOutcome outcome = RunBatch(job, 1, false);
    ASSERT_EQ(outcome.failed, 0);
    const double x = 2.0 * 2.75 / 150.0;
    const double factor = -std::expm1(-x) / x;
    const std::vector<std::string> full = OutputCells(outcome.rows[0].result.results, CellDigits::Full);
    ASSERT_EQ(full.size(), 1u);
    EXPECT_NEAR(std::strtod(full[0].c_str(), nullptr), factor, 1e-15);
    EXPECT_GT(full[0].size(), std::string("0.981889").size());
    EXPECT_EQ(OutputCells(outcome.rows[0].result.results, CellDigits::List), std::vector<std::string>{"0.981889"});
}

TEST(OutputTable, ANumberThatIsNotFiniteIsNullInJson)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    OutputValue value{"x", "X", "yr", "%.3f", false, false, true, {nan}};
    OutputValue list{"y", "Y", "kyr", "%.3f", false, true, true, {1.0, -inf}};
    const std::vector<OutputValue> values = {value, list};
    const Json results = ResultsJson(values);
    EXPECT_TRUE(results["x"]["value"].is_null());
    EXPECT_TRUE(results["y"]["value"][1].is_null());
    const Json constants = ConstantsJson({{"c", "yr", inf, ""}});
    EXPECT_TRUE(constants["c"]["value"].is_null());
    // What is written reads back as JSON.
    EXPECT_TRUE(Json::parse(JsonText(results), nullptr, false).is_object());
}

// A CSV row or JSON object has one member per name: no calculator may give
// two columns one name.
TEST(OutputTable, NoCalculatorNamesTwoColumnsAlike)
{
    for (const BatchCalculator& calculator : BatchCalculators()) {
        std::set<std::string> names = {"sample", "error"};
        for (const BatchColumn& column : calculator.inputColumns)
            EXPECT_TRUE(names.insert(column.name).second) << calculator.name << ": " << column.name;
        for (const std::string& column : calculator.resultColumns)
            EXPECT_TRUE(names.insert(column).second) << calculator.name << ": " << column;
    }
}

} // namespace
} // namespace qex

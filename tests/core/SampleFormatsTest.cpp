// The files of samples the field exchanges: each format of the same sample
// gives the ages of the sample mapped by hand into QEX's own columns, and
// reads back from the v3 block it converts to; each fault fails its sample
// alone, naming the line and the field.

#include "batch/BatchRun.h"
#include "batch/SampleConvert.h"
#include "core/TextNumber.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qex {
namespace {

// The age of each row (0 for a row without one) with the constants current;
// with `knstd`, a 10Be concentration without a standard is taken as KNSTD
// (as --be10-standard does for a CREp row, which names none).
std::vector<double> Ages(BatchJob& job, bool knstd)
{
    for (BatchInputRow& row : job.rows) {
        row.cells.cells.emplace("constants", "current");
        if (knstd && row.cells.Find("be10-standard") == nullptr)
            row.cells.cells["be10-standard"] = "KNSTD";
    }
    std::vector<double> ages;
    for (const BatchRowOutcome& row : RunBatch(job, 1, false).rows) {
        ages.push_back(0.0);
        for (const OutputValue& value : row.result.results)
            if (value.name == "exposure_age_yr" && value.present)
                ages.back() = value.numbers.front();
    }
    return ages;
}

std::vector<double> AgesOfText(const std::string& text, bool knstd = true, SampleFormat format = SampleFormat::Auto)
{
    BatchJob job;
    std::string error;
    EXPECT_TRUE(OpenBatchText(*FindBatchCalculator("exposure"), text, ".", format, job, error)) << error;
    return Ages(job, knstd);
}

TEST(SampleFormats, EveryFormatOfASampleGivesItsHandMappedAgesAndReadsBackFromV3)
{
    // PH-1 as QEX's own columns name it: erosion 0.00008 cm/yr = 0.8 mm/ka = 0.8 m/Myr.
    const std::string byHand =
        "sample,latitude,longitude,altitude,thickness,density,shield,erosion,nuclide,concentration,"
        "concentration-err,be10-standard,al26-standard\n"
        "PH-1,41.3567,-70.7348,91,4.5,2.65,1,0.00008,be10,123453,3717,KNSTD,\n"
        "PH-1,41.3567,-70.7348,91,4.5,2.65,1,0.00008,al26,712408,31238,,KNSTD\n";
    const std::vector<double> expected = AgesOfText(byHand);
    ASSERT_EQ(expected.size(), 2u);
    ASSERT_GT(expected[0], 0.0);
    ASSERT_GT(expected[1], 0.0);

    const struct {
        const char* file;
        SampleFormat format;
        std::size_t rows; // CREp rows hold 10Be only
    } cases[] = {
        {"v3-block.txt", SampleFormat::V3, 2},         {"expage-option1.txt", SampleFormat::Expage, 2},
        {"expage-option2.txt", SampleFormat::V2, 2},   {"crep.txt", SampleFormat::Crep, 1},
        {"icetea.csv", SampleFormat::IceTea, 2},       {"tab-separated.tsv", SampleFormat::Csv, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string text = test::ReadFile(test::SourceDir() + "/examples/batch/" + c.file);
        EXPECT_EQ(DetectSampleFormat(text), c.format);
        const std::vector<double> ages = AgesOfText(text);
        ASSERT_EQ(ages.size(), c.rows);
        for (std::size_t i = 0; i < c.rows; ++i)
            EXPECT_NEAR(ages[i], expected[i], 1e-9 * expected[i]);

        ConvertedSamples v3;
        std::string error;
        ASSERT_TRUE(ConvertSampleText(text, SampleFormat::Auto, true, v3, error)) << error;
        EXPECT_TRUE(v3.failures.empty());
        EXPECT_EQ(AgesOfText(v3.text, false, SampleFormat::V3), AgesOfText(text, false));
        // The block read back converts to itself.
        ConvertedSamples again;
        ASSERT_TRUE(ConvertSampleText(v3.text, SampleFormat::Auto, true, again, error)) << error;
        EXPECT_EQ(again.text, v3.text);
    }
}

TEST(SampleFormats, EachFaultFailsItsSampleAloneNamingTheLineAndField)
{
    const struct {
        const char* what;
        std::string text;
        int failedLine;  // 0: the file itself is refused
        const char* said; // in the row's error (or the file's)
    } cases[] = {
        {"a v3 line of the wrong length",
         "A 41 -70 91 std 4.5 2.65 1 0 0;\nA Be-10 quartz 1e5 3e3 07KNSTD;\nB 41 -70 91 std 4.5 2.65;\n"
         "B Be-10 quartz 1e5 3e3 07KNSTD;\nC 41 -70 91 std 4.5 2.65 1 0 0;\nC Be-10 quartz 1e5 3e3 07KNSTD;\n",
         3, "line 3: not a sample line"},
        {"a v3 number that is not one",
         "A 41 -70 91 std 4.5 2.65 1 0 0;\nA Be-10 quartz 1e5x 3e3 07KNSTD;\nC 41 -70 91 std 4.5 2.65 1 0 0;\n"
         "C Be-10 quartz 1e5 3e3 07KNSTD;\n",
         1, "line 2, field 4 (N)"},
        {"a v3 nuclide line without its sample",
         "A 41 -70 91 std 4.5 2.65 1 0 0;\nA Be-10 quartz 1e5 3e3 07KNSTD;\nZ Be-10 quartz 1e5 3e3 07KNSTD;\n", 3,
         "no sample line for Z"},
        {"a pressure flag that is none",
         "sample lat long elv Pflag thick dens shield erosion N10 N10unc std10 N26 N26unc std26 samplingyr\n"
         "A 41 -70 91 std 4.5 2.65 1 0.8 1e5 3e3 KNSTD 0 0 KNSTD 1999\n"
         "B 41 -70 91 xyz 4.5 2.65 1 0.8 1e5 3e3 KNSTD 0 0 KNSTD 1999\n",
         3, "pflag: 'xyz'"},
        {"an unknown column", "sample,lat,foo\nA,41,1\n", 0, "'foo'; the columns of exposure are"},
        {"two names of one column", "sample,N10,Be10\nA,1e5,1e5\n", 0, "'n10' and 'be10' both give be10"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        BatchJob job;
        std::string error;
        const bool opened = OpenBatchText(*FindBatchCalculator("exposure"), c.text, ".", job, error);
        ASSERT_EQ(opened, c.failedLine != 0) << error;
        if (!opened) {
            EXPECT_NE(error.find(c.said), std::string::npos) << error;
            continue;
        }
        const BatchOutcome outcome = RunBatch(job, 1, false);
        ASSERT_EQ(outcome.rows.size(), job.rows.size());
        int failed = 0;
        for (std::size_t r = 0; r < job.rows.size(); ++r) {
            const bool bad = job.rows[r].line == c.failedLine;
            failed += bad ? 1 : 0;
            EXPECT_EQ(outcome.rows[r].result.failed, bad) << job.rows[r].line << ": " << outcome.rows[r].Said();
            if (bad) {
                EXPECT_NE(outcome.rows[r].Said().find(c.said), std::string::npos) << outcome.rows[r].Said();
            }
        }
        EXPECT_EQ(failed, 1);
        EXPECT_GT(job.rows.size(), 1u);
    }
}

TEST(SampleFormats, UnitsAndFlagsBecomeTheCalculatorsCells)
{
    // 1 mm/ka = 1 m/Myr = 1e-4 cm/yr = 0.1 cm/kyr; "pre": the elevation field is a pressure in hPa.
    const struct {
        const char* calculator;
        std::string text;
        const char* cell;
        const char* value;
    } cases[] = {
        {"exposure", "sample,erosion_mm_ka,N10\nA,2,1e5\n", "erosion", "0.0002"},
        {"exposure", "sample\terosion_m_Myr\tN10\nA\t2\t1e5\n", "erosion", "0.0002"},
        {"simulate", "sample erosion_cm_yr be10\nA 0.002 1e5\n", "aerial-erosion", "2"},
        {"exposure", "sample;elv;pflag;N10\nA;850,5;pre;1e5\n", "pressure", "850,5"},
        {"exposure", "sample elv pflag N10\nA 850 ant 1e5\n", "atmosphere", "antarctic"},
        {"exposure", "A 41 -70 850 pre 4.5 2.65 1 0 0;\nA Al-26 quartz 1e5 3e3 ZAL94;\n", "nuclide", "al26"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        BatchJob job;
        std::string error;
        ASSERT_TRUE(OpenBatchText(*FindBatchCalculator(c.calculator), c.text, ".", job, error)) << error;
        ASSERT_EQ(job.rows.size(), 1u);
        EXPECT_EQ(job.rows[0].error, "");
        ASSERT_NE(job.rows[0].cells.Find(c.cell), nullptr);
        // Numbers as numbers (the shortest text of a converted one), words as written.
        double value = 0.0;
        double expected = 0.0;
        if (ParseNumber(c.value, expected) && ParseNumber(*job.rows[0].cells.Find(c.cell), value))
            EXPECT_EQ(value, expected);
        else
            EXPECT_EQ(*job.rows[0].cells.Find(c.cell), c.value);
    }
}

} // namespace
} // namespace qex

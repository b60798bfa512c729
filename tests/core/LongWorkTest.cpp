// Long inputs and long work: a curve of a million points loads and cuts within
// seconds and bounded memory; the simulation reports its progress and stops
// when asked, leaving the list and the report file as they were.

#include "core/Message.h"
#include "proxy/ProxyCurve.h"
#include "proxy/SimulationCalculation.h"
#include "tests/core/SimulationTestCurves.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sys/resource.h>

namespace qex {
namespace {

using test::TempDir;

long PeakMemoryKb()
{
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST(LongCurve, AMillionPointsLoadAndCutWithinSecondsAndBoundedMemory)
{
    // Points every 10 years alternating 3, 5, 3, ...: every segment crosses the
    // cut 4 at its middle, so each contributes 5 years of exposure.
    constexpr int kPoints = 1000000;
    std::string text = "Proxy_Data\nMillion\n";
    text.reserve(static_cast<std::size_t>(kPoints) * 12);
    for (int i = 0; i < kPoints; ++i)
        text += std::to_string(i * 10) + (i % 2 == 0 ? " 3\n" : " 5\n");
    TempDir dir;
    test::WriteFile(dir.File("million.dat"), text);
    text.clear();
    text.shrink_to_fit();

    const long memoryBefore = PeakMemoryKb();
    const auto start = std::chrono::steady_clock::now();
    CProxyCurve curve(dir.File("million.dat"));
    ASSERT_EQ(curve.pointCount, kPoints);
    // An exposure longer than the curve's: the walk reaches the last point,
    // 9999990, having crossed 999999 times; it last left the exposure side at
    // 9999985 with 999999 * 5 years of exposure.
    const double end = curve.CutAtValue(4.0, 1e9);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(end, 9999985.0);
    EXPECT_EQ(curve.crossings.size(), 999999u);
    EXPECT_EQ(curve.burialAge, 9999985.0 - 4999995.0);
    EXPECT_LT(seconds, 5.0);
    // About 10 MB of text and 16 MB of points; a fifth of a gigabyte is far beyond.
    EXPECT_LT(PeakMemoryKb() - memoryBefore, 200L * 1024);
}

TEST(SimulationProgress, CountsTheCutValuesWalkedUpToTheTotal)
{
    TempDir dir;
    SimulationInputs in;
    in.proxyFile = test::WriteCurve(dir, "alternating.dat", test::AlternatingCurveText());
    in.outputFile = dir.File("report.txt");
    std::vector<std::pair<int, int>> calls;
    auto record = [&calls](int done, int total) {
        calls.emplace_back(done, total);
        return true;
    };
    CResultList list;
    ASSERT_TRUE(AppendSingleSimulation(in, list, nullptr, record));
    // One run walks the 998 cut values.
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), std::make_pair(998, 998));

    calls.clear();
    ASSERT_TRUE(AppendSimulationWithUncertainties(in, list, nullptr, record));
    for (std::size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].second, 9980); // ten runs of 998
        EXPECT_LE(calls[i].first, 9980);
        if (i > 0) {
            EXPECT_GE(calls[i].first, calls[i - 1].first);
        }
    }
    EXPECT_EQ(list.m_nResultCount, 2);
}

TEST(SimulationProgress, StoppingAppendsNothingWritesNothingAndSaysNothing)
{
    TempDir dir;
    SimulationInputs in;
    in.proxyFile = test::WriteCurve(dir, "alternating.dat", test::AlternatingCurveText());
    in.outputFile = dir.File("report.txt");
    test::WriteFile(in.outputFile, "the report of an earlier calculation\n");
    CResultList list;
    list.AppendBlock({"an earlier block"});

    // The uncertainties walk 2994 cut values: three 10Be values, 998 each.
    for (int stopAfter : {1, 500, 1500, 2500}) {
        for (bool single : {true, false}) {
            SCOPED_TRACE(stopAfter);
            bool stopped = false;
            int callsAfterStop = 0;
            auto stop = [&](int walked, int) {
                if (stopped)
                    ++callsAfterStop;
                stopped = stopped || walked >= stopAfter;
                return !stopped;
            };
            CMessageRecorder messages;
            const bool done = single ? AppendSingleSimulation(in, list, nullptr, stop)
                                     : AppendSimulationWithUncertainties(in, list, nullptr, stop);
            if (single && stopAfter > 998) {
                EXPECT_TRUE(done); // one run walks only 998
                list.CleanUp();
                list.AppendBlock({"an earlier block"});
                test::WriteFile(in.outputFile, "the report of an earlier calculation\n");
                continue;
            }
            EXPECT_FALSE(done);
            EXPECT_EQ(callsAfterStop, 0);
            EXPECT_TRUE(messages.Messages().empty());
            EXPECT_EQ(list.Lines(), std::vector<std::string>({"Calculation Result 1", "an earlier block"}));
            EXPECT_EQ(list.m_nResultCount, 1);
            EXPECT_EQ(test::ReadFile(in.outputFile), "the report of an earlier calculation\n");
        }
    }
}

} // namespace
} // namespace qex

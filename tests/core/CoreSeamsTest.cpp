// The small seams every calculator uses: formatting, number reading,
// messages and the command guard.

#include "core/CommandGuard.h"
#include "core/Concurrency.h"
#include "core/Format.h"
#include "core/Message.h"
#include "core/TextNumber.h"

#include <chrono>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <vector>

namespace qex {
namespace {

TEST(Format, FormatsWholeValuesOfAnyLength)
{
    EXPECT_EQ(Format("Factor:   %-5.6f", 0.9818894), "Factor:   0.981889");
    EXPECT_EQ(Format("Ratio_diff(100%%) :   %-10.3f", 0.035), "Ratio_diff(100%) :   0.035     ");
    // 1e300 printed in full: 301 digits before the point, no truncation.
    const std::string huge = Format("Cut Value  :   %-10.5f", 1e300);
    EXPECT_EQ(huge.size(), std::string("Cut Value  :   ").size() + 301 + 1 + 5);
}

// The report's fast fixed-point writer must give printf's bytes, halfway
// cases (round half to even on the exact binary value), signs, huge values
// and non-numbers included.
TEST(Format, AppendFixedWritesWhatPrintfWrites)
{
    const double values[] = {0.0,    -0.0,   0.0005, 0.0015, 2.5,     3.5,       -2.5,    1.0005, 123456.789,
                             1e-300, 1e300,  -1e22,  1e16,   0.125,   4.1234567, 999.9995, 1e308,  HUGE_VAL,
                             -HUGE_VAL, NAN, -NAN};
    const int formats[][2] = {{10, 3}, {10, 0}, {12, 0}, {0, 5}, {8, 6}, {0, 7}};
    auto check = [&formats](double value) {
        for (const auto& format : formats) {
            std::string text = "x";
            AppendFixed(text, value, format[0], format[1]);
            if (text != "x" + Format("%*.*f", format[0], format[1], value))
                return ::testing::AssertionFailure()
                       << value << " %" << format[0] << "." << format[1] << "f: " << text;
        }
        return ::testing::AssertionSuccess();
    };
    for (const double value : values)
        EXPECT_TRUE(check(value));
    // Values next to halfway points at every scale the report uses, and
    // random values of every size a report holds.
    std::mt19937_64 random(12345);
    for (int i = 0; i < 100000; ++i) {
        const double halfway = (static_cast<double>(random() % 2000001) - 1000000.0 + 0.5) /
                               std::pow(10.0, static_cast<double>(random() % 7));
        const double nearby = std::nextafter(halfway, (random() & 1) != 0 ? HUGE_VAL : -HUGE_VAL);
        const double any = std::ldexp(static_cast<double>(random() >> 11), static_cast<int>(random() % 80) - 80);
        for (const double value : {halfway, nearby, any, -any})
            ASSERT_TRUE(check(value));
    }
}

TEST(TextNumber, AcceptsOnlyOneFiniteDecimalNumber)
{
    double v = -1;
    EXPECT_TRUE(ParseNumber("12.7", v));
    EXPECT_DOUBLE_EQ(v, 12.7);
    EXPECT_TRUE(ParseNumber("  1e3 ", v));
    EXPECT_DOUBLE_EQ(v, 1000);
    EXPECT_TRUE(ParseNumber("+5", v));
    EXPECT_DOUBLE_EQ(v, 5);
    EXPECT_TRUE(ParseNumber("-0", v));
    EXPECT_DOUBLE_EQ(v, 0);
    v = 7;
    for (const char* bad : {"", "  ", "abc", "12abc", "1,5", "nan", "inf", "-inf", "1e999", "++5", "0x10"}) {
        EXPECT_FALSE(ParseNumber(bad, v)) << bad;
        EXPECT_DOUBLE_EQ(v, 7) << bad;
    }
}

TEST(TextNumber, TheRuntimeConversionTakesTheLeadingNumberOrZero)
{
    EXPECT_DOUBLE_EQ(TextToNumberOrZero("100"), 100);
    EXPECT_DOUBLE_EQ(TextToNumberOrZero("45deg"), 45);
    EXPECT_DOUBLE_EQ(TextToNumberOrZero("north"), 0);
    EXPECT_DOUBLE_EQ(TextToNumberOrZero("nan"), 0);
}

TEST(Message, ABatchShowsEachTextOnce)
{
    CMessageRecorder messages;
    {
        CMessageBatch batch;
        for (int i = 0; i < 5; ++i)
            ShowMessage("Error inside!");
        ShowMessage("Error outside!");
    }
    ShowMessage("Error inside!");
    EXPECT_EQ(messages.Messages(),
              (std::vector<std::string>{"Error inside!", "Error outside!", "Error inside!"}));
}

TEST(CommandGuard, AnIndexErrorAbandonsTheCommandWithAMessage)
{
    CMessageRecorder messages;
    std::vector<double> values(3);
    bool finished = false;
    EXPECT_FALSE(RunGuarded([&] {
        values.at(3) = 1.0;
        finished = true;
    }));
    EXPECT_FALSE(finished);
    EXPECT_EQ(messages.Messages(), std::vector<std::string>{kImproperArgumentMessage});
    EXPECT_TRUE(RunGuarded([] {}));

    // Memory running out, and no thread to be had, on the calling thread or
    // on a helper sharing the work: a message, not the end of the program.
    const std::vector<std::pair<std::function<void()>, const char*>> failures = {
        {[] { throw std::bad_alloc(); }, kOutOfMemoryMessage},
        {[] { throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again)); },
         kNoThreadMessage},
        {[] {
             ShareWork(8, 4, 1, [](int participant, int, int) {
                 if (participant != 0)
                     throw std::bad_alloc();
                 std::this_thread::sleep_for(std::chrono::milliseconds(20));
             });
         },
         kOutOfMemoryMessage},
    };
    for (const auto& [failure, said] : failures) {
        messages.Clear();
        EXPECT_FALSE(RunGuarded(failure));
        ASSERT_EQ(messages.Messages().size(), 1u);
        EXPECT_EQ(messages.Messages()[0], said);
    }
}

TEST(PrintableText, ControlCharactersCannotReachTheTerminal)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"M1-03 erratic", "M1-03 erratic"},
        {"two\nlines\r", "two\\nlines\\r"},
        {"\x1b[31mred", "\\x1b[31mred"},
        {"back\\slash", "back\\\\slash"},
        {"Gr\xc3\xb6nland \xe2\x80\x94 ok", "Gr\xc3\xb6nland \xe2\x80\x94 ok"}, // UTF-8 kept
        {"\xc2\x9b" "2J", "\\xc2\\x9b2J"}, // the C1 control CSI
        {"\xff\xc3", "\\xff\\xc3"},     // not UTF-8
    };
    for (const auto& [text, shown] : cases)
        EXPECT_EQ(PrintableText(text), shown);
}

} // namespace
} // namespace qex

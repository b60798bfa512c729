// Horizon files and point texts: the accepted layouts, the refusals with a
// message naming the line, and damaged bytes that must never crash.

#include "core/Message.h"
#include "corrections/HorizonFile.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qex {
namespace {

std::vector<std::pair<double, double>> Pairs(const std::vector<HorizonPoint>& points)
{
    std::vector<std::pair<double, double>> pairs;
    for (const auto& p : points)
        pairs.emplace_back(p.azimuth, p.angle);
    return pairs;
}

TEST(HorizonPointText, BlanksOrOneCommaSeparateTheTwoNumbers)
{
    for (const char* text : {"100,30", "100 30", " 100 , 30 ", "100\t30", "100, 30", "+100 30.0", "1e2,3e1"}) {
        HorizonPoint point;
        EXPECT_EQ(ParseHorizonPoint(text, point), "") << text;
        EXPECT_EQ(point.azimuth, 100.0) << text;
        EXPECT_EQ(point.angle, 30.0) << text;
    }
    HorizonPoint edge;
    EXPECT_EQ(ParseHorizonPoint("400,30", edge), "the azimuth 400 is outside the range 0 to 360");
    EXPECT_EQ(ParseHorizonPoint("360,90", edge), "");
    for (const char* text : {"", "100", "100,", ",100 30", "100,,30", "100 30 5", "100;30", "abc 30", "100 nan",
                             "-1 30", "0 90.5"}) {
        HorizonPoint untouched{7.0, 8.0};
        EXPECT_NE(ParseHorizonPoint(text, untouched), "") << text;
        EXPECT_EQ(untouched.azimuth, 7.0) << text;
    }
}

TEST(HorizonFile, ReadsPointsInFileOrderSkippingCommentsAndBlankLines)
{
    const std::string text = "\xEF\xBB\xBF# azimuth angle\r\n"
                             "300 10\r\n"
                             "\n"
                             "   # the ridge\n"
                             "20,40   # col\n"
                             "\t150 ,  25\n"
                             "360 0";
    std::vector<HorizonPoint> points;
    CMessageRecorder messages;
    ASSERT_TRUE(ParseHorizonText(text, "ridge.txt", points));
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(Pairs(points), (std::vector<std::pair<double, double>>{{300, 10}, {20, 40}, {150, 25}, {360, 0}}));

    points.clear();
    EXPECT_TRUE(ParseHorizonText("# nothing but a comment\n\n", "open.txt", points));
    EXPECT_TRUE(points.empty());
}

TEST(HorizonFile, AFaultyLineIsNamedAndNothingIsRead)
{
    std::vector<HorizonPoint> points = {{1, 2}};
    CMessageRecorder messages;
    EXPECT_FALSE(ParseHorizonText("0 10\n# fine\n90 120\n", "h.txt", points));
    EXPECT_EQ(messages.Messages(),
              std::vector<std::string>{"Horizon file h.txt, line 3: the angle 120 is outside the range 0 to 90."});
    EXPECT_EQ(points.size(), 1u);

    messages.Clear();
    EXPECT_FALSE(ParseHorizonText("0 10\nfoo\n", "h.txt", points));
    EXPECT_EQ(messages.Messages(),
              std::vector<std::string>{"Horizon file h.txt, line 2: expected an azimuth and an angle."});
}

TEST(HorizonFile, UnreadablePathsGiveAMessage)
{
    test::TempDir dir;
    std::vector<HorizonPoint> points;
    CMessageRecorder messages;
    EXPECT_FALSE(ReadHorizonFile(dir.File("missing.txt"), points));
    EXPECT_FALSE(ReadHorizonFile(dir.Path(), points));
    ASSERT_EQ(messages.Messages().size(), 2u);
    EXPECT_EQ(messages.Messages()[0], "Can not open horizon file " + dir.File("missing.txt") + "!");

    test::WriteFile(dir.File("h.txt"), "45 20\n135,20\n");
    ASSERT_TRUE(ReadHorizonFile(dir.File("h.txt"), points));
    EXPECT_EQ(Pairs(points), (std::vector<std::pair<double, double>>{{45, 20}, {135, 20}}));
}

TEST(HorizonFile, DamagedBytesGiveAMessageOrPoints)
{
    std::string everyByte;
    for (int c = 0; c < 256; ++c)
        everyByte += static_cast<char>(c);
    const std::vector<std::string> damaged = {
        everyByte, std::string(1000, '\0'), std::string("10\0 5", 5), std::string(100000, '9'),
        "1e400 10", "0x10 5", "10 20\n\r\r\n,\n", std::string(5000, ','), "10 5#\xff\xfe\n20 6"};
    for (const std::string& bytes : damaged) {
        std::vector<HorizonPoint> points;
        CMessageRecorder messages;
        const bool read = ParseHorizonText(bytes, "d.txt", points);
        EXPECT_EQ(messages.Messages().size(), read ? 0u : 1u);
        for (const auto& p : points) {
            EXPECT_TRUE(p.azimuth >= 0.0 && p.azimuth <= 360.0);
            EXPECT_TRUE(p.angle >= 0.0 && p.angle <= 90.0);
        }
    }
}

} // namespace
} // namespace qex

// Geomagnetic pole and intensity records: loading, gap filling, merging,
// geomagnetic latitudes and the written layout.

#include "core/DataFileReader.h"
#include "core/Message.h"
#include "geomag/GeomagneticIntensityData.h"
#include "geomag/GeomagneticPoleData.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace qex {
namespace {

using test::TempDir;
using test::WriteFile;

std::string PoleFile(const TempDir& dir, const std::string& records, const std::string& keyword = "Geomagnetic_Pole_Data")
{
    const std::string path = dir.File("pole.dat");
    WriteFile(path, keyword + "\nPoles\n" + records);
    return path;
}

std::string IntensityFile(const TempDir& dir, const std::string& records,
                          const std::string& keyword = "Geomagnetic_Intensity_Data")
{
    const std::string path = dir.File("intensity.dat");
    WriteFile(path, keyword + "\nStack\n" + records);
    return path;
}

TEST(DataFileReader, ReadsRecordsAcrossAnyWhiteSpaceAndLineEnds)
{
    CDataFileReader reader;
    reader.OpenText("\xEF\xBB\xBFProxy_Data\r\nName\r\n0 1.5\r\n\r\n10\t2 20 +3\n1e3 -0");
    std::string token;
    ASSERT_TRUE(reader.ReadToken(token));
    EXPECT_EQ(token, "Proxy_Data");
    ASSERT_TRUE(reader.ReadToken(token));
    EXPECT_EQ(token, "Name");
    std::vector<double> numbers;
    double record[2];
    while (reader.ReadRecord(record, 2) == CDataFileReader::Record::Read)
        numbers.insert(numbers.end(), record, record + 2);
    EXPECT_EQ(numbers, (std::vector<double>{0, 1.5, 10, 2, 20, 3, 1000, -0.0}));
}

TEST(DataFileReader, NamesTheLineOfAWordANanOrALoneNumber)
{
    double record[2];
    for (const auto& [text, line] : std::vector<std::pair<std::string, int>>{
             {"K\nN\n0 1\n5 abc\n", 4}, {"K\nN\n0 1\n10 nan\n", 4}, {"K\nN\n0 1\n20\n\n", 4}, {"K\nN\n0 inf", 3}}) {
        CDataFileReader reader;
        reader.OpenText(text);
        std::string token;
        reader.ReadToken(token);
        reader.ReadToken(token);
        CDataFileReader::Record status;
        while ((status = reader.ReadRecord(record, 2)) == CDataFileReader::Record::Read) {
        }
        EXPECT_EQ(status, CDataFileReader::Record::Bad) << text;
        EXPECT_EQ(reader.BadLine(), line) << text;
    }
}

TEST(GeomagneticPoleData, KeywordIsCaseSensitiveAndAMissingFileIsReported)
{
    TempDir dir;
    CMessageRecorder messages;
    const CGeomagneticPoleData wrongCase(PoleFile(dir, "0 90 0\n", "Geomagnetic_pole_data"));
    const CGeomagneticPoleData missing(dir.File("none.dat"));
    EXPECT_EQ(messages.Messages(), (std::vector<std::string>{"Geomagnetic Pole file is not correct!",
                                                             "Can not find Geomagnetic Pole file!"}));
    EXPECT_EQ(wrongCase.pointCount, 0);
    EXPECT_FALSE(wrongCase.IsLoaded());
    EXPECT_EQ(missing.pointCount, 0);
}

TEST(GeomagneticPoleData, CloseRecordsMergeIntoTheFirstAgeWithAveragedCoordinates)
{
    TempDir dir;
    const CGeomagneticPoleData poles(PoleFile(dir, "0 90 0\n1000 80 10\n1000.0005 82 20\n"));
    ASSERT_EQ(poles.pointCount, 2);
    EXPECT_DOUBLE_EQ(poles.years[1], 1000);
    EXPECT_DOUBLE_EQ(poles.poleLatitudes[1], 81);
    EXPECT_DOUBLE_EQ(poles.poleLongitudes[1], 15);
    EXPECT_DOUBLE_EQ(poles.yearMax, 1000.0005);

    // Each record is compared with the age kept: 0.0012 is 0.0012 from 0 and stays.
    const CGeomagneticPoleData chain(PoleFile(dir, "0 80 0\n0.0006 82 0\n0.0012 84 0\n"));
    ASSERT_EQ(chain.pointCount, 2);
    EXPECT_DOUBLE_EQ(chain.years[1], 0.0012);
    EXPECT_DOUBLE_EQ(chain.poleLatitudes[0], 81);
}

TEST(GeomagneticPoleData, ABadRecordFailsTheLoadNamingItsLine)
{
    TempDir dir;
    CMessageRecorder messages;
    const CGeomagneticPoleData poles(PoleFile(dir, "0 90 0\n100 89.5\n"));
    EXPECT_FALSE(poles.IsLoaded());
    EXPECT_EQ(poles.pointCount, 0);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_NE(messages.Messages()[0].find("Line 4"), std::string::npos) << messages.Messages()[0];
    // A header without records loads, with no record.
    const CGeomagneticPoleData empty(PoleFile(dir, ""));
    EXPECT_TRUE(empty.IsLoaded());
    EXPECT_EQ(empty.pointCount, 0);
}

TEST(GeomagneticPoleData, GeomagneticLatitudesFollowThePole)
{
    TempDir dir;
    CGeomagneticPoleData poles(PoleFile(dir, "0 90 0\n500 80 0\n1000 80 180\n1500 8 0\n"));
    poles.ComputeGeomagneticLatitudes(0, 0);
    ASSERT_EQ(poles.geomagneticLatitudes.size(), 4u);
    EXPECT_NEAR(poles.geomagneticLatitudes[0], 0, 1e-12);
    EXPECT_NEAR(poles.geomagneticLatitudes[1], 10, 1e-12);
    EXPECT_NEAR(poles.geomagneticLatitudes[2], -10, 1e-12);
    EXPECT_NEAR(poles.geomagneticLatitudes[3], 82, 1e-12); // 8 degrees from the pole

    CGeomagneticPoleData north(PoleFile(dir, "0 90 0\n"));
    north.ComputeGeomagneticLatitudes(34.33375, 77.35);
    EXPECT_NEAR(north.geomagneticLatitudes[0], 34.33375, 1e-9);

    // A site exactly at the pole: the cosine rounds a hair above 1, and the
    // latitude must still be 90, not "nan".
    CGeomagneticPoleData atPole(PoleFile(dir, "0 8 0\n"));
    atPole.ComputeGeomagneticLatitudes(8, 0);
    EXPECT_DOUBLE_EQ(atPole.geomagneticLatitudes[0], 90);
}

TEST(GeomagneticIntensityData, EachWideGapGainsExactlyOneMidpoint)
{
    TempDir dir;
    const CGeomagneticIntensityData a(IntensityFile(dir, "0 1.0\n1000 0.8\n"));
    EXPECT_EQ(a.years, (std::vector<double>{0, 500, 1000}));
    EXPECT_EQ(a.intensities[1], 0.9);
    const CGeomagneticIntensityData b(IntensityFile(dir, "0 1.0\n501 0.8\n"));
    EXPECT_EQ(b.pointCount, 2);
    const CGeomagneticIntensityData c(IntensityFile(dir, "0 1.0\n3000 0.6\n4000 0.7\n"));
    EXPECT_EQ(c.years, (std::vector<double>{0, 1500, 3000, 3500, 4000}));
    EXPECT_DOUBLE_EQ(c.intensities[1], 0.8);
    EXPECT_DOUBLE_EQ(c.intensities[3], 0.65);
    EXPECT_DOUBLE_EQ(c.yearMax, 4000);
    // The record before the first is (0, 0).
    const CGeomagneticIntensityData d(IntensityFile(dir, "1000 0.8\n"));
    EXPECT_EQ(d.years, (std::vector<double>{500, 1000}));
    EXPECT_DOUBLE_EQ(d.intensities[0], 0.4);
}

TEST(GeomagneticIntensityData, RejectsThePoleKeyword)
{
    TempDir dir;
    CMessageRecorder messages;
    const CGeomagneticIntensityData data(IntensityFile(dir, "0 1\n", "Geomagnetic_Pole_Data"));
    EXPECT_EQ(messages.Messages(), std::vector<std::string>{"Geomagnetic Intensity file is not correct!"});
    EXPECT_EQ(data.pointCount, 0);
    EXPECT_EQ(data.name, "");
}

TEST(GeomagneticIntensityData, SavesFixedColumnsAndReloadingFillsGapsAgain)
{
    TempDir dir;
    const CGeomagneticIntensityData data(IntensityFile(dir, "0 1.0\n3000 0.6\n3000.0004 0.8\n"));
    const std::string saved = dir.File("saved.dat");
    ASSERT_EQ(data.SaveFile(saved), 1);
    EXPECT_EQ(test::ReadFile(saved), "Geomagnetic_Intensity_Data\nStack\n"
                                     "       0.0      1.000\n"
                                     "    1500.0      0.800\n"
                                     "    3000.0      0.700\n");
    const CGeomagneticIntensityData again(saved);
    EXPECT_EQ(again.years, (std::vector<double>{0, 750, 1500, 2250, 3000}));

    CMessageRecorder messages;
    EXPECT_EQ(data.SaveFile(dir.File("no-folder/x.dat")), 0);
    EXPECT_EQ(messages.Messages(), std::vector<std::string>{"Can not find this file!"});
}

} // namespace
} // namespace qex

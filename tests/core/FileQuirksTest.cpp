// Files as other programs write them, through every reader of outside text:
// Windows line ends, no final line end, a byte-order mark, tabs, several
// records on a line, numbers such as "1e3", "-0" and "+5", and the words
// "nan" and "inf", which are refused with the line that holds them.

#include "core/Format.h"
#include "core/Message.h"
#include "corrections/HorizonFile.h"
#include "geomag/GeomagneticIntensityData.h"
#include "geomag/GeomagneticPoleData.h"
#include "geomag/SampleSite.h"
#include "proxy/ProxyCurve.h"
#include "proxy/SimulationCurve.h"
#include "scaling/Nuclide.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace qex {
namespace {

using Numbers = std::vector<double>;
using Texts = std::vector<std::string>;

// What a reader made of a file: every number it kept, in order, and what it said.
struct Read {
    bool loaded = false;
    Numbers numbers;
    Texts messages;
};

struct Reader {
    const char* name;
    std::string keyword; // the header line ("" for horizon files)
    int perRecord;
    std::function<Read(const std::string& path)> read;
};

void Append(Numbers& to, const std::vector<double>& a, const std::vector<double>& b, std::size_t from = 0)
{
    for (std::size_t i = from; i < a.size(); ++i) {
        to.push_back(a[i]);
        to.push_back(b[i]);
    }
}

std::vector<Reader> Readers()
{
    return {
        {"proxy curve", "Proxy_Data", 2,
         [](const std::string& path) {
             CMessageRecorder m;
             CProxyCurve c(path);
             Read r{c.IsLoaded(), {}, {}};
             Append(r.numbers, c.years, c.values);
             r.messages = m.Messages();
             return r;
         }},
        {"simulation curve", "Proxy_Data", 2,
         [](const std::string& path) {
             SimulationCurve c;
             std::string message;
             Read r{LoadSimulationCurve(path, c, message), {}, {}};
             Append(r.numbers, c.years, c.values, 1); // point 0 is the present the loader adds
             if (!message.empty())
                 r.messages.push_back(message);
             return r;
         }},
        {"pole data", "Geomagnetic_Pole_Data", 3,
         [](const std::string& path) {
             CMessageRecorder m;
             CGeomagneticPoleData d(path);
             Read r{d.IsLoaded(), {}, m.Messages()};
             for (std::size_t i = 0; i < d.years.size(); ++i)
                 r.numbers.insert(r.numbers.end(), {d.years[i], d.poleLatitudes[i], d.poleLongitudes[i]});
             return r;
         }},
        {"intensity data", "Geomagnetic_Intensity_Data", 2,
         [](const std::string& path) {
             CMessageRecorder m;
             CGeomagneticIntensityData d(path);
             Read r{d.IsLoaded(), {}, m.Messages()};
             Append(r.numbers, d.years, d.intensities);
             return r;
         }},
        {"horizon file", "", 2,
         [](const std::string& path) {
             CMessageRecorder m;
             std::vector<HorizonPoint> points;
             Read r{ReadHorizonFile(path, points), {}, m.Messages()};
             for (const HorizonPoint& p : points)
                 r.numbers.insert(r.numbers.end(), {p.azimuth, p.angle});
             return r;
         }},
    };
}

// Six records as a careful program writes them: header lines, then one
// record a line, each line ending in LF. Ages ascend 0 to 250, 50 apart, so
// that no loader adds or merges a record; every number is a valid azimuth,
// angle, latitude and intensity.
std::vector<Numbers> Records(int perRecord)
{
    std::vector<Numbers> records;
    for (int i = 0; i < 6; ++i) {
        Numbers r = {50.0 * i, 10.0 + i};
        if (perRecord == 3)
            r.push_back(20.0 + i);
        records.push_back(r);
    }
    return records;
}

std::string Header(const Reader& reader, const char* eol)
{
    return reader.keyword.empty() ? std::string() : reader.keyword + eol + "Name" + eol;
}

std::string LineOf(const Numbers& record, const char* separator)
{
    std::string line;
    for (double n : record) {
        if (!line.empty())
            line += separator;
        line += Format("%g", n);
    }
    return line;
}

TEST(FileQuirks, EveryReaderTakesWindowsLineEndsAMarkTabsAndSpellingsOfNumbers)
{
    test::TempDir dir;
    for (const Reader& reader : Readers()) {
        SCOPED_TRACE(reader.name);
        const auto records = Records(reader.perRecord);
        Numbers expected;
        std::string plain = Header(reader, "\n");
        std::string crlf = Header(reader, "\r\n");
        std::string marked = "\xEF\xBB\xBF";
        marked += Header(reader, "\n");
        std::string tabs = Header(reader, "\t\n");
        for (const Numbers& r : records) {
            expected.insert(expected.end(), r.begin(), r.end());
            plain += LineOf(r, " ") + "\n";
            crlf += LineOf(r, " ") + "\r\n";
            marked += LineOf(r, " ") + "\n";
            tabs += '\t';
            tabs += LineOf(r, "\t");
            tabs += "\t\n";
        }
        std::string unended = crlf.substr(0, crlf.size() - 2); // no line end after the last record
        std::vector<std::string> layouts = {plain, crlf, unended, marked, tabs};
        if (!reader.keyword.empty()) {
            // Several records on one line.
            std::string packed = Header(reader, "\n");
            for (const Numbers& r : records)
                packed += LineOf(r, " ") + "  ";
            layouts.push_back(packed);
        }
        for (const std::string& text : layouts) {
            SCOPED_TRACE(text);
            test::WriteFile(dir.File("f.dat"), text);
            const Read read = reader.read(dir.File("f.dat"));
            EXPECT_TRUE(read.loaded);
            EXPECT_TRUE(read.messages.empty());
            EXPECT_EQ(read.numbers, expected);
        }

        // Numbers spelt "-0", "+1e1", "1e2" and "1.0e1".
        std::string spelt = Header(reader, "\n") + "-0 +1e1" + (reader.perRecord == 3 ? " +5" : "") + "\n1e2 1.0e1" +
                            (reader.perRecord == 3 ? " 5" : "") + "\n";
        test::WriteFile(dir.File("f.dat"), spelt);
        const Read read = reader.read(dir.File("f.dat"));
        Numbers wanted = {0.0, 10.0};
        if (reader.perRecord == 3)
            wanted.push_back(5.0);
        wanted.insert(wanted.end(), {100.0, 10.0});
        if (reader.perRecord == 3)
            wanted.push_back(5.0);
        EXPECT_TRUE(read.loaded) << spelt;
        EXPECT_EQ(read.numbers, wanted) << spelt;
    }
}

TEST(FileQuirks, NanAndInfAreRefusedNamingTheirLine)
{
    test::TempDir dir;
    // What each reader says of line 4 (line 2 for a horizon file, which has no header).
    const std::map<std::string, std::string> said = {
        {"proxy curve", "Proxy data file is not correct: line 4 does not hold a year and a proxy value!"},
        {"simulation curve", "Proxy data file is not correct! Line 4 does not hold two numbers."},
        {"pole data", "Geomagnetic Pole file is not correct! Line 4 does not hold an age, a pole latitude and a "
                      "pole longitude."},
        {"intensity data", "Geomagnetic Intensity file is not correct! Line 4 does not hold an age and an intensity."},
    };
    for (const Reader& reader : Readers()) {
        for (const char* word : {"nan", "inf", "-inf", "NaN", "infinity", "1e400"}) {
            SCOPED_TRACE(std::string(reader.name) + " " + word);
            const std::string good = reader.perRecord == 3 ? "0 10 20\n" : "0 10\n";
            const std::string bad = reader.perRecord == 3 ? std::string("100 ") + word + " 20\n"
                                                          : std::string("100 ") + word + "\n";
            test::WriteFile(dir.File("f.dat"), Header(reader, "\n") + good + bad + good);
            const Read read = reader.read(dir.File("f.dat"));
            EXPECT_FALSE(read.loaded);
            EXPECT_TRUE(read.numbers.empty());
            ASSERT_EQ(read.messages.size(), 1u);
            if (reader.keyword.empty())
                EXPECT_NE(read.messages[0].find("line 2"), std::string::npos) << read.messages[0];
            else
                EXPECT_EQ(read.messages[0], said.at(reader.name));
        }
    }
}

TEST(FileQuirks, TheBytesThemselvesLoadAsTheFileDoes)
{
    // The fuzzers hand the readers bytes; the dialogs hand them paths.
    test::TempDir dir;
    CMessageRecorder messages;
    const std::string proxy = "\xEF\xBB\xBFProxy_Data\r\nX\r\n500 3\r\n1000 3.5\t1500 3.2";
    test::WriteFile(dir.File("p.dat"), proxy);
    CProxyCurve fromFile(dir.File("p.dat"));
    CProxyCurve fromText(dir.File("elsewhere.dat")); // nothing there: its load fails
    EXPECT_EQ(fromText.LoadText(proxy), 1);
    EXPECT_EQ(fromText.years, fromFile.years);
    EXPECT_EQ(fromText.values, fromFile.values);
    EXPECT_EQ(fromText.years, (Numbers{0.0, 500.0, 1000.0, 1500.0}));

    SimulationCurve curve;
    std::string message;
    ASSERT_TRUE(LoadSimulationCurveText(proxy, curve, message));
    EXPECT_EQ(curve.years, (Numbers{0.0, 500.0, 1000.0, 1500.0}));
    EXPECT_EQ(curve.values.front(), 3.0); // the smallest value, since the file starts after year 0

    const std::string pole = "Geomagnetic_Pole_Data\r\nP\r\n0 90 0\r\n1000 80 10";
    CGeomagneticPoleData poles(dir.File("none.dat"));
    EXPECT_EQ(poles.LoadText(pole), 1);
    EXPECT_TRUE(poles.IsLoaded());
    EXPECT_EQ(poles.poleLongitudes, (Numbers{0.0, 10.0}));
    CGeomagneticIntensityData intensities(dir.File("none.dat"));
    messages.Clear();
    EXPECT_EQ(intensities.LoadText("Geomagnetic_Intensity_Data\nI\n0 1\n1000 0.8\n"), 1);
    EXPECT_TRUE(intensities.IsLoaded());
    EXPECT_EQ(intensities.years, (Numbers{0.0, 500.0, 1000.0}));
    EXPECT_EQ(intensities.LoadText("Geomagnetic_Pole_Data\nI\n0 1\n"), 0);
    EXPECT_FALSE(intensities.IsLoaded());
    EXPECT_EQ(messages.Messages(), Texts{"Geomagnetic Intensity file is not correct!"});
}

TEST(FileQuirks, YearsThatGoBackGiveAMessageAndNoNumber)
{
    test::TempDir dir;
    // Line 5 holds 500 after 1000; 2000 - 1999.9995 lies within the merging
    // tolerance and does not count as going back.
    const std::string text = "Proxy_Data\nBack\n0 3\n1000 5\n500 3\n2000 5\n1999.9995 4\n3000 3\n";
    test::WriteFile(dir.File("back.dat"), text);
    CMessageRecorder messages;
    CProxyCurve curve(dir.File("back.dat"));
    ASSERT_TRUE(curve.IsLoaded());
    EXPECT_FALSE(curve.IsAscending());
    EXPECT_EQ(curve.DescendingLine(), 5);
    EXPECT_EQ(curve.CutAtValue(4.0, 100.0), -1.0);
    EXPECT_EQ(curve.CutAtYear(250.0, 100.0), -1.0);
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_TRUE(CProxyCurve(dir.File("back.dat")).IsLoaded());

    test::WriteFile(dir.File("fine.dat"), "Proxy_Data\nFine\n0 3\n2000 5\n1999.9995 4\n3000 3\n");
    EXPECT_TRUE(CProxyCurve(dir.File("fine.dat")).IsAscending());

    // The simulation walks from the present: a year below the one before
    // it, or below 0, is refused with its line.
    SimulationCurve sim;
    std::string message;
    EXPECT_FALSE(LoadSimulationCurveText(text, sim, message));
    EXPECT_EQ(message, "Proxy data file is not correct! The years do not ascend from 0 at line 5.");
    EXPECT_FALSE(LoadSimulationCurveText("Proxy_Data\nRecent\n-50 3\n0 3\n1000 5\n", sim, message));
    EXPECT_EQ(message, "Proxy data file is not correct! The years do not ascend from 0 at line 3.");
    // Equal years are not going back.
    EXPECT_TRUE(LoadSimulationCurveText("Proxy_Data\nSame\n0 3\n1000 5\n1000 4\n2000 3\n", sim, message));
}

TEST(FileQuirks, ImpossibleRecordsAndShiftedNumbersAreBlamedOnTheirOwnLine)
{
    test::TempDir dir;
    struct Case {
        const char* what;
        std::function<std::string(const std::string& text)> load; // the message, or "" when loaded
        std::string text;
        std::string message;
    };
    auto poles = [&dir](const std::string& text) {
        CMessageRecorder messages;
        CGeomagneticPoleData data(dir.File("none.dat"));
        return data.LoadText(text) == 1 ? std::string() : messages.Messages().back();
    };
    // A negative intensity loads (a climatic curve may go below 0) but gives no exposure age.
    auto intensities = [&dir](const std::string& text) {
        CMessageRecorder messages;
        CGeomagneticIntensityData data(dir.File("none.dat"));
        CGeomagneticPoleData pole(dir.File("none.dat"));
        pole.LoadText("Geomagnetic_Pole_Data\nP\n0 90 0\n500 90 0\n1000 90 0\n");
        CNuclide be10;
        be10.Init(kBe10);
        be10.concentration = 6000.0;
        if (data.LoadText(text) != 1 || CSampleSite().GeomagneticExposureAge(&pole, &data, &be10, 0.0).first >= 0.0)
            return std::string();
        return messages.Messages().back();
    };
    auto simulation = [](const std::string& text) {
        SimulationCurve curve;
        std::string message;
        return LoadSimulationCurveText(text, curve, message) ? std::string() : message;
    };
    const std::vector<Case> cases = {
        {"pole latitude", poles, "Geomagnetic_Pole_Data\nP\n0 90 0\n500 91 0\n",
         "Geomagnetic Pole file is not correct! Line 4 holds a pole latitude of 91, outside -90 to 90."},
        {"pole longitude", poles, "Geomagnetic_Pole_Data\nP\n0 -90 -360\n500 0 360.5\n",
         "Geomagnetic Pole file is not correct! Line 4 holds a pole longitude of 360.5, outside -360 to 360."},
        // Without its name line the age 500 becomes a longitude: line 3 holds it.
        {"pole, no name line", poles, "Geomagnetic_Pole_Data\n0 80 0\n500 80 0\n",
         "Geomagnetic Pole file is not correct! Line 3 holds a pole longitude of 500, outside -360 to 360."},
        {"negative intensity", intensities, "Geomagnetic_Intensity_Data\nI\n0 1\n500 0.5\n1000 -0.2\n",
         "Geomagnetic Intensity file is not correct! Line 5 holds a negative intensity (-0.2)."},
        // Without its name line "0" is the name and the years are 3, 5 and
        // 1: the year 1 stands on line 4, the record it starts ends on line 5.
        {"years, no name line", simulation, "Proxy_Data\n0 3\n1000 5\n2000 1\n3000 4\n4000\n",
         "Proxy data file is not correct! The years do not ascend from 0 at line 4."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.load(c.text), c.message);
    }
    // A name line lost in the cut's curve too.
    test::WriteFile(dir.File("shifted.dat"), "Proxy_Data\n0 3\n1000 5\n2000 1\n3000 4\n4000\n");
    EXPECT_EQ(CProxyCurve(dir.File("shifted.dat")).DescendingLine(), 4);
}

} // namespace
} // namespace qex

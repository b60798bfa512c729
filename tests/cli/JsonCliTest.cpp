// --json on every command of the list, and the batch's JSON output: valid
// against the schema in packaging/, the exit status inside, the numbers whole.

#include "calculators/CalculatorList.h"
#include "tests/cli/RunQexcli.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <nlohmann/json.hpp>
#include <set>

namespace qex {
namespace {

using test::RunQexcli;

struct JsonCase {
    std::string command; // the calculator of the list it stands for
    std::vector<std::string> arguments;
    int status;
    std::string output; // a JSON file the command writes, validated too; empty for none
};

std::vector<JsonCase> Cases()
{
    const std::string examples = test::SourceDir() + "/examples";
    const std::string proxy = examples + "/proxy/LR04.dat";
    return {
        {"simulate", {"simulate", "--proxy", proxy, "--report", "r.txt", "--monte-carlo", "20"}, 0, ""},
        {"simulate", {"simulate", "--proxy", proxy, "--report", "r.txt", "--single"}, 0, ""},
        {"simulate", {"simulate", "--proxy", "missing.dat", "--report", "r.txt"}, 1, ""},
        {"cut", {"cut", "--proxy", proxy}, 0, ""},
        {"cut", {"cut", "--proxy", proxy, "--cut-value", "99"}, 1, ""},
        {"scaling", {"scaling", "--latitude", "-45"}, 0, ""},
        {"world-table", {"world-table", "--output", "w.txt", "--lat-interval", "45"}, 0, ""},
        {"thickness", {"thickness"}, 0, ""},
        {"thickness", {"thickness", "--thickness", "abc"}, 2, ""},
        {"slope-thickness", {"slope-thickness", "--slope", "30"}, 0, ""},
        {"shielding", {"shielding", "--point", "100,30"}, 0, ""},
        {"exposure", {"exposure", "--be10-half-life", "1387000"}, 0, ""},
        {"exposure", {"exposure", "--concentration", "1e9"}, 1, ""},
        {"exposure",
         {"exposure", "--nuclide", "al26", "--al26-standard", "zal94", "--constants", "current", "--atmosphere",
          "pressure", "--pressure", "850"},
         0, ""},
        {"erosion", {"erosion", "--concentration", "500000", "--be10-standard", "KNSTD"}, 0, ""},
        {"erosion", {"erosion", "--concentration", "1e9"}, 1, ""},
        {"normalize", {"normalize", examples + "/geomag/pmagstack1.dat", "n.dat"}, 0, ""},
        {"batch",
         {"batch", "simulate", "--input", examples + "/batch/simulate.csv", "--output", "s.json", "--output-format",
          "json", "--monte-carlo", "10"},
         0, "s.json"},
        {"batch",
         {"batch", "exposure", "--input", examples + "/batch/exposure.csv", "--output", "e.json", "--output-format",
          "json", "--constants", "current"},
         0, "e.json"},
        {"batch",
         {"batch", "shielding", "--input", examples + "/batch/shielding.csv", "--output", "h.json", "--output-format",
          "json"},
         0, "h.json"},
        {"summary", {"summary", "--calculator", "exposure", "--input", examples + "/batch/moraines.csv"}, 0, ""},
        {"convert", {"convert", "--input", examples + "/batch/expage-option1.txt", "--output", "v3.txt"}, 0, ""},
        // --json belongs to the command, before its figure.
        {"plot", {"plot", "--json", "two-nuclide", "--input", "missing.csv", "--output", "x.png"}, 2, ""},
        {"burial", {"burial", "--burial-depth", "5000", "--monte-carlo", "100", "--seed", "3"}, 0, ""},
        {"burial", {"burial", "--source", "exposure", "--al26", "735000"}, 0, ""},
        {"burial", {"burial", "--al26", "780000"}, 1, ""},
        {"isochron", {"isochron", "--input", examples + "/burial/isochron.csv", "--monte-carlo", "20"}, 0, ""},
    };
}

TEST(Json, EveryCommandsDocumentMatchesTheSchema)
{
    test::TempDir dir;
    std::vector<std::string> validate = {"-c",
                                         "import json, sys, jsonschema\n"
                                         "schema = json.load(open(sys.argv[1]))\n"
                                         "for path in sys.argv[2:]:\n"
                                         "    jsonschema.Draft202012Validator(schema).validate(json.load(open(path)))\n",
                                         test::SourceDir() + "/packaging/qexcli-output.schema.json"};
    std::set<std::string> covered;
    int n = 0;
    for (const JsonCase& c : Cases()) {
        std::vector<std::string> arguments = c.arguments;
        if (std::find(arguments.begin(), arguments.end(), "--json") == arguments.end())
            arguments.push_back("--json");
        const auto result = RunQexcli(arguments, dir.Path());
        SCOPED_TRACE(arguments.front() + " " + arguments.back());
        EXPECT_EQ(result.exitCode, c.status) << result.err;
        const nlohmann::json document = nlohmann::json::parse(result.out, nullptr, false);
        ASSERT_FALSE(document.is_discarded()) << result.out;
        EXPECT_EQ(document["status"], c.status);
        // What was said on standard error is in the document too (the plot
        // command writes its own messages).
        if (c.command != "plot") {
            EXPECT_EQ(document["messages"].empty(), result.err.empty()) << result.err;
        }
        const std::string path = dir.File("doc-" + std::to_string(++n) + ".json");
        test::WriteFile(path, result.out);
        validate.push_back(path);
        if (!c.output.empty())
            validate.push_back(dir.File(c.output));
        covered.insert(c.command);
    }
    for (const Calculator& calculator : Calculators())
        EXPECT_EQ(covered.count(std::string(calculator.info.name)), 1u) << calculator.info.name;
    const auto checked = test::RunProgram("/usr/bin/python3", validate);
    EXPECT_EQ(checked.exitCode, 0) << checked.err;
}

// Thickness 2 cm, density 2.75 g/cm3, free path 150 g/cm2: the factor
// (1 - e^-x) / x with x = 5.5 / 150, to the last digit, where the line shows six.
TEST(Json, ResultsCarryFullPrecisionAndTheirUnits)
{
    const auto result = RunQexcli({"thickness", "--json"});
    const nlohmann::json document = nlohmann::json::parse(result.out);
    const double x = 2.0 * 2.75 / 150.0;
    EXPECT_NEAR(document["results"]["thickness_factor"]["value"].get<double>(), -std::expm1(-x) / x, 1e-15);
    EXPECT_EQ(document["lines"].back(), "Factor:   0.981889");
    EXPECT_EQ(document["inputs"]["density"]["unit"], "g/cm3");

    const auto cut = RunQexcli({"cut", "--proxy", test::SourceDir() + "/examples/proxy/LR04.dat", "--json"});
    const nlohmann::json cutDocument = nlohmann::json::parse(cut.out);
    EXPECT_EQ(cutDocument["results"]["exposure_kyr"]["unit"], "kyr");
    EXPECT_NEAR(cutDocument["results"]["exposure_kyr"]["value"].get<double>(), 25.0, 1e-12);
    EXPECT_EQ(cutDocument["results"]["crossing_years_kyr"]["value"].size(),
              cutDocument["results"]["crossings"]["value"].get<std::size_t>());
}

} // namespace
} // namespace qex

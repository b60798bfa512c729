// Every calculator of the one list has each face it should: a qexcli command
// that takes --json, a batch calculator where it takes numbers, a section of
// the man page and a place in the test support. (The desktop's faces, its
// menu entry, dialog and help row, are checked in tst_Shell.)

#include "batch/BatchCalculator.h"
#include "calculators/CalculatorList.h"
#include "tests/cli/RunQexcli.h"
#include "tests/support/InputTables.h"

#include <gtest/gtest.h>
#include <set>

namespace qex {
namespace {

using test::RunQexcli;

// A name as the man page writes it, its hyphens escaped.
std::string ManName(std::string_view name)
{
    std::string text;
    for (char c : name)
        text += c == '-' ? std::string("\\-") : std::string(1, c);
    return text;
}

TEST(CalculatorFaces, EveryCalculatorOfTheListHasEachFace)
{
    std::set<std::string> supported;
    test::ForEveryInputTable([&supported](const std::string& command, const auto&) { supported.insert(command); });
    const std::string man = test::ReadFile(test::SourceDir() + "/packaging/qexcli.1");
    const std::string commands = RunQexcli({"--help"}).out;
    for (const Calculator& calculator : Calculators()) {
        const std::string name(calculator.info.name);
        SCOPED_TRACE(name);
        EXPECT_NE(commands.find("  " + name + " "), std::string::npos);
        const auto help = RunQexcli({name, "--help"});
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_NE(help.out.find("--json"), std::string::npos);
        EXPECT_EQ(FindBatchCalculator(name) != nullptr, calculator.info.batch);
        EXPECT_NE(man.find(".SS \"" + ManName(name) + " \\(em "), std::string::npos);
        EXPECT_EQ(supported.count(name), calculator.form ? 1u : 0u);
    }
}

} // namespace
} // namespace qex

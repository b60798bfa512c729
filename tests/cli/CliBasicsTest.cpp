// qexcli's front: help, version and usage errors.

#include "tests/cli/RunQexcli.h"
#include "tests/support/InputTables.h"

#include <gtest/gtest.h>

namespace qex {
namespace {

using test::RunQexcli;

TEST(Cli, HelpListsTheCommandsAndExitsZero)
{
    const auto result = RunQexcli({"--help"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.out.find("qexcli"), std::string::npos);
    EXPECT_NE(result.out.find("Exit status"), std::string::npos);
}

TEST(Cli, VersionExitsZero)
{
    const auto result = RunQexcli({"--version"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.out.find("qexcli 1.0"), std::string::npos);
}

TEST(Cli, EveryOptionsHelpGivesItsUnitDefaultAndRange)
{
    test::ForEveryInputTable([](const std::string& command, const auto& table) {
        const auto help = RunQexcli({command, "--help"});
        EXPECT_EQ(help.exitCode, 0);
        for (const auto& row : table.Rows()) {
            SCOPED_TRACE(command + " --" + std::string(row.name));
            EXPECT_EQ(help.out.find("--" + std::string(row.name) + " ") != std::string::npos, row.option);
            if (row.option) {
                EXPECT_NE(help.out.find(InputHelpLine(DescribeInput(row))), std::string::npos) << help.out;
            }
        }
    });
}

TEST(Cli, UnknownCommandOrNoCommandIsAUsageError)
{
    EXPECT_EQ(RunQexcli({"no-such-command"}).exitCode, 2);
    EXPECT_EQ(RunQexcli({}).exitCode, 2);
}

} // namespace
} // namespace qex

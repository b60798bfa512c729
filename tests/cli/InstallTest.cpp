// What `make install` gives: the layout a Debian desktop expects, programs
// that find the bundled records beside themselves, one version for both
// programs, and a man page that names every command and option of the help.

#include "tests/cli/RunQexcli.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

namespace qex {
namespace {

using namespace test;
namespace fs = std::filesystem;

// The word that follows the prefix on every line starting with it.
std::set<std::string> WordsAfter(const std::string& text, const std::string& prefix)
{
    std::set<std::string> words;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line))
        if (line.rfind(prefix, 0) == 0 && line.size() > prefix.size() && line[prefix.size()] != ' ')
            words.insert(line.substr(prefix.size(), line.find(' ', prefix.size()) - prefix.size()));
    return words;
}

// The commands `qexcli --help` lists under "Subcommands:".
std::set<std::string> HelpCommands()
{
    const std::string help = RunQexcli({"--help"}).out;
    const std::string list = help.substr(help.find("Subcommands:"));
    std::set<std::string> commands;
    for (const std::string& word : WordsAfter(list, "  "))
        if (std::islower(static_cast<unsigned char>(word[0])))
            commands.insert(word);
    return commands;
}

// The long options of one command's help ("--help" aside).
std::set<std::string> HelpOptions(const std::string& command)
{
    std::set<std::string> options;
    for (const std::string& word : WordsAfter(RunQexcli({command, "--help"}).out, "  --"))
        options.insert("--" + word);
    options.erase("--help");
    return options;
}

// The man page by command: each ".SS" section's name and the options of its
// ".TP" items (troff writes a hyphen as "\-").
std::map<std::string, std::set<std::string>> ManPageCommands()
{
    std::string page = ReadFile(SourceDir() + "/packaging/qexcli.1");
    for (std::size_t at = page.find("\\-"); at != std::string::npos; at = page.find("\\-", at))
        page.erase(at, 1);
    std::map<std::string, std::set<std::string>> commands;
    std::istringstream lines(page);
    std::string line;
    std::string command;
    bool item = false;
    while (std::getline(lines, line)) {
        if (line.rfind(".SS \"", 0) == 0) {
            command = line.substr(5, line.find(' ', 5) - 5);
            commands[command];
        } else if (line.rfind(".SH", 0) == 0) {
            command.clear();
        } else if (item && !command.empty() && (line.rfind(".B ", 0) == 0 || line.rfind(".BI ", 0) == 0)) {
            const std::size_t name = line.find(' ') + 1;
            if (line.compare(name, 2, "--") == 0)
                commands[command].insert(line.substr(name, line.find(' ', name) - name));
        }
        item = line == ".TP";
    }
    return commands;
}

TEST(Install, TheManPageNamesEveryCommandAndOptionOfTheHelpAndNoOther)
{
    const auto page = ManPageCommands();
    std::set<std::string> pageCommands;
    for (const auto& [command, options] : page)
        pageCommands.insert(command);
    const std::set<std::string> helpCommands = HelpCommands();
    ASSERT_FALSE(helpCommands.empty());
    EXPECT_EQ(pageCommands, helpCommands);
    for (const std::string& command : helpCommands) {
        SCOPED_TRACE(command);
        const auto options = page.find(command);
        ASSERT_NE(options, page.end());
        EXPECT_EQ(options->second, HelpOptions(command));
    }
}

TEST(Install, BothProgramsPrintTheProjectVersion)
{
    EXPECT_EQ(RunQexcli({"--version"}).out, "qexcli " QEX_PROJECT_VERSION "\n");
#ifdef QEX_PATH
    const ProcessResult qex = RunProgram(QEX_PATH, {"--version"});
    EXPECT_EQ(qex.exitCode, 0);
    EXPECT_EQ(qex.out, "qex " QEX_PROJECT_VERSION "\n");
#endif
}

// Installs the build into a fresh prefix (the tree `make install` writes).
class Installed : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_prefix = new TempDir;
        const ProcessResult install =
            RunProgram(CMAKE_COMMAND_PATH, {"--install", QEX_BINARY_DIR, "--prefix", s_prefix->Path()});
        ASSERT_EQ(install.exitCode, 0) << install.out << install.err;
    }
    static void TearDownTestSuite()
    {
        delete s_prefix;
        s_prefix = nullptr;
    }
    static std::string Path(const std::string& relative) { return s_prefix->File(relative); }

    static TempDir* s_prefix;
};
TempDir* Installed::s_prefix = nullptr;

TEST_F(Installed, EveryFileIsWhereTheDesktopAndManLookForIt)
{
    std::vector<std::string> files = {"bin/qexcli",
                                      "share/man/man1/qexcli.1.gz",
                                      "share/doc/qex/README.md",
                                      "share/doc/qex/copyright",
                                      "share/doc/qex/changelog.gz",
                                      "share/qex/examples/README.md",
                                      "share/qex/examples/proxy/LR04.dat",
                                      "share/qex/examples/geomag/pole02.dat",
                                      "share/qex/examples/geomag/pmagstack1.dat"};
#ifdef QEX_PATH
    const std::string id = QEX_APP_ID;
    for (const char* file : {"bin/qex", "share/man/man1/qex.1.gz"})
        files.push_back(file);
    for (const std::string& file :
         {"share/applications/" + id + ".desktop", "share/metainfo/" + id + ".metainfo.xml",
          "share/icons/hicolor/scalable/apps/" + id + ".svg", "share/icons/hicolor/48x48/apps/" + id + ".png",
          "share/icons/hicolor/128x128/apps/" + id + ".png", "share/icons/hicolor/256x256/apps/" + id + ".png"})
        files.push_back(file);
#endif
    for (const std::string& file : files)
        EXPECT_TRUE(fs::is_regular_file(Path(file))) << file;
}

// The geomagnetic exposure age goes by the fixed names: an installed program
// falls back to its bundled records, a path given on the command line does
// not, and a program run from its build folder has nothing to fall back on.
TEST_F(Installed, OnlyTheFixedRecordNamesFallBackToTheInstalledRecords)
{
    const std::string examples = SourceDir() + "/examples/geomag/";
    const ProcessResult reference = RunQexcli({"exposure", "--geomagnetic", "--pole", examples + "pole02.dat",
                                               "--intensity", examples + "pmagstack1.dat", "--table", "omr.txt"},
                                              TempDir().Path());
    ASSERT_EQ(reference.exitCode, 0) << reference.err;

    struct Case {
        const char* name;
        bool installed;
        std::vector<std::string> arguments;
        int exitCode;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"installed, fixed names", true, {"exposure", "--geomagnetic"}, 0, ""},
        {"installed, only the pole given", true, {"exposure", "--geomagnetic", "--pole", "pole02.dat"}, 1,
         "Can not find Geomagnetic Pole file!"},
        {"installed, only the intensity given", true, {"exposure", "--geomagnetic", "--intensity", "pmagstack1.dat"},
         1, "Can not find Geomagnetic Intensity file!"},
        {"build folder, fixed names", false, {"exposure", "--geomagnetic"}, 1, "Can not find Geomagnetic Pole file!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir empty;
        const ProcessResult result =
            RunProgram(c.installed ? Path("bin/qexcli") : QEXCLI_PATH, c.arguments, empty.Path());
        EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
        if (c.exitCode == 0) {
            EXPECT_EQ(result.out, reference.out);
            EXPECT_TRUE(FileExists(empty.File("omr.txt"))); // the scratch table stays in the working folder
        } else {
            EXPECT_EQ(result.out, "");
            EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        }
    }
}

} // namespace
} // namespace qex

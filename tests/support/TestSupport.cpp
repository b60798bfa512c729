#include "tests/support/TestSupport.h"

#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace qex::test {

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "qex-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    m_path = pattern;
}

TempDir::~TempDir()
{
    std::error_code ec;
    // Make read-only folders made by a test removable again.
    for (auto it = std::filesystem::recursive_directory_iterator(m_path, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_path, ec);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

bool FileExists(const std::string& path)
{
    return std::filesystem::exists(path);
}

std::vector<std::string> EntriesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool AllFinite(const std::string& text)
{
    auto letter = [&text](std::size_t i) { return std::isalpha(static_cast<unsigned char>(text[i])) != 0; };
    for (std::size_t i = 0; i + 3 <= text.size(); ++i) {
        std::string word = text.substr(i, 3);
        for (char& c : word)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if ((word == "nan" || word == "inf") && (i == 0 || !letter(i - 1)) && (i + 3 == text.size() || !letter(i + 3)))
            return false;
    }
    return true;
}

bool AllFinite(const std::vector<std::string>& lines)
{
    for (const std::string& line : lines)
        if (!AllFinite(line))
            return false;
    return true;
}

std::string SourceDir()
{
    return QEX_SOURCE_DIR;
}

std::string SharedDataDir()
{
    return QEX_SHARED_DATA_DIR;
}

namespace {
std::string Slurp(const std::string& path)
{
    std::string text = ReadFile(path);
    std::remove(path.c_str());
    return text;
}
} // namespace

namespace {
std::vector<char*> Argv(const std::string& program, const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    return argv;
}
} // namespace

int WaitProgram(pid_t pid)
{
    int status = 0;
    if (pid <= 0 || ::waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

pid_t StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                   const std::vector<std::string>& environment, const std::string& errPath)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (std::freopen("/dev/null", "w", stdout) == nullptr || std::freopen(errPath.c_str(), "w", stderr) == nullptr)
            ::_exit(127);
        for (const std::string& entry : environment)
            ::putenv(const_cast<char*>(entry.c_str()));
        // As started from a terminal, whatever the test runner ignores.
        for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
            std::signal(signal, SIG_DFL);
        std::vector<char*> argv = Argv(program, arguments);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    return pid;
}

ProcessResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& workingDir, const std::function<void()>& inChild)
{
    TempDir scratch;
    const std::string outPath = scratch.File("stdout");
    const std::string errPath = scratch.File("stderr");
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (!workingDir.empty() && ::chdir(workingDir.c_str()) != 0)
            ::_exit(127);
        std::FILE* out = std::freopen(outPath.c_str(), "w", stdout);
        std::FILE* err = std::freopen(errPath.c_str(), "w", stderr);
        if (out == nullptr || err == nullptr)
            ::_exit(127);
        if (inChild)
            inChild();
        std::vector<char*> argv = Argv(program, arguments);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ProcessResult result;
    result.exitCode = WaitProgram(pid);
    result.out = Slurp(outPath);
    result.err = Slurp(errPath);
    return result;
}

} // namespace qex::test

#pragma once
// Helpers for the tests: a temporary folder removed afterwards, reading and
// writing whole files, and running a program with its output captured.

#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace qex::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return m_path; }
    // A path inside the folder.
    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

std::string ReadFile(const std::string& path);
// The lines of a text, without their line ends.
std::vector<std::string> Lines(const std::string& text);
void WriteFile(const std::string& path, const std::string& text);
bool FileExists(const std::string& path);
// The names in a folder, sorted.
std::vector<std::string> EntriesIn(const std::string& folder);

// True when the text holds no "nan" or "inf" as printf writes them ("-nan",
// "inf", ...); words such as "Information" do not count.
bool AllFinite(const std::string& text);
bool AllFinite(const std::vector<std::string>& lines);

// The project's source folder and the shared data folder beside it.
std::string SourceDir();
std::string SharedDataDir();

struct ProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs the program with the arguments (no shell), optionally in a folder.
// `inChild` runs in the child just before the program starts, its standard
// output and error already redirected (to close or replace them).
ProcessResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& workingDir = std::string(), const std::function<void()>& inChild = {});

// Starts the program with extra environment entries ("NAME=value"), its
// standard output to /dev/null and its standard error to `errPath`; returns
// its process id. WaitProgram returns its exit status, or 128 + the signal
// that ended it.
pid_t StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                   const std::vector<std::string>& environment, const std::string& errPath);
int WaitProgram(pid_t pid);

} // namespace qex::test

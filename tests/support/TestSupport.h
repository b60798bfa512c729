#pragma once
// Helpers for the tests: a temporary folder removed afterwards, reading and
// writing whole files, and running a program with its output captured.

#include <string>
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
void WriteFile(const std::string& path, const std::string& text);
bool FileExists(const std::string& path);

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
ProcessResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& workingDir = std::string());

} // namespace qex::test

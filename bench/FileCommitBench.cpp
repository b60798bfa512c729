// How long outputs stay half in place: the time a commit takes to name its
// finished files. For one file replacing another this is the moment a
// second name exists (link, then rename); for two files written together it
// bounds the moment in which the first is new and the second still old.
// Only a SIGKILL or a power cut can land in it: the other signals are held
// back for its duration.

#include "core/AtomicFile.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

using Files = std::vector<std::pair<std::string, std::string>>; // name, text

// A simulation report and its table for LR04 are about this long.
const std::string kReport(70000, 'r');
const std::string kTable(90000, 't');

void Write(const std::string& path, const std::string& text)
{
    qex::CAtomicFile file(path);
    if (file.Open()) {
        std::fwrite(text.data(), 1, text.size(), file.Stream());
        file.Commit();
    }
}

// Times only the commit of files that replace earlier ones.
void CommitOverEarlierFiles(benchmark::State& state, const Files& files)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("qex-commit-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    for (const auto& [name, text] : files)
        Write((folder / name).string(), text);
    for (auto _ : state) {
        qex::CFileTransaction transaction;
        for (const auto& [name, text] : files)
            Write((folder / name).string(), text);
        const auto start = std::chrono::steady_clock::now();
        const bool committed = transaction.Commit();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (!committed) {
            state.SkipWithError("the files could not be committed");
            break;
        }
    }
    std::filesystem::remove_all(folder);
}

void BM_CommitOneFileOverAnother(benchmark::State& state)
{
    CommitOverEarlierFiles(state, {{"report.txt", kReport}});
}
BENCHMARK(BM_CommitOneFileOverAnother)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_CommitTwoFilesTogether(benchmark::State& state)
{
    CommitOverEarlierFiles(state, {{"report.txt", kReport}, {"table.csv", kTable}});
}
BENCHMARK(BM_CommitTwoFilesTogether)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

#include "cli/Command.h"

#include "core/Format.h"
#include "core/Message.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qex::cli {

namespace {

std::vector<Registration>& Registry()
{
    static std::vector<Registration> registry;
    return registry;
}

// The order of the calculators in `qexcli --help`.
int Rank(const std::string& name)
{
    static const char* const order[] = {"simulate", "cut", "scaling", "world-table", "thickness",
                                        "slope-thickness", "shielding", "exposure", "normalize", "batch"};
    for (int i = 0; i < static_cast<int>(std::size(order)); ++i)
        if (name == order[i])
            return i;
    return static_cast<int>(std::size(order));
}

// The lines for standard output, written once the command's files are in
// place: a reader that goes away early (`| head`) cannot stop them.
std::string g_standardOutput;

volatile std::sig_atomic_t g_stopRequested = 0;

// The signals a stop request takes over, and what they did before.
constexpr int kStopSignals[] = {SIGINT, SIGTERM};
struct sigaction g_before[std::size(kStopSignals)];
bool g_taken[std::size(kStopSignals)];

extern "C" void RequestStop(int signal)
{
    if (g_stopRequested == 0) {
        g_stopRequested = 1;
        return;
    }
    // Asked twice: what the signal did before (remove the temporaries and
    // end), once this handler returns and the signal is no longer blocked.
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i)
        if (kStopSignals[i] == signal)
            ::sigaction(signal, &g_before[i], nullptr);
    ::raise(signal);
}

} // namespace

CStopRequest::CStopRequest()
{
    g_stopRequested = 0;
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
        g_taken[i] = false;
        if (::sigaction(kStopSignals[i], nullptr, &g_before[i]) != 0 || g_before[i].sa_handler == SIG_IGN)
            continue;
        struct sigaction action {};
        action.sa_handler = RequestStop;
        sigemptyset(&action.sa_mask);
        for (int other : kStopSignals)
            sigaddset(&action.sa_mask, other);
        g_taken[i] = ::sigaction(kStopSignals[i], &action, nullptr) == 0;
    }
}

CStopRequest::~CStopRequest()
{
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i)
        if (g_taken[i])
            ::sigaction(kStopSignals[i], &g_before[i], nullptr);
}

bool CStopRequest::Requested() const
{
    return g_stopRequested != 0;
}

bool RegisterCommand(Registration registration)
{
    Registry().push_back(std::move(registration));
    return true;
}

std::vector<Registration> RegisteredCommands()
{
    std::vector<Registration> commands = Registry();
    std::stable_sort(commands.begin(), commands.end(),
                     [](const Registration& a, const Registration& b) { return Rank(a.name) < Rank(b.name); });
    return commands;
}

CLI::Option* AddNumber(CLI::App& command, const std::string& name, double& value, const std::string& help,
                       const std::optional<InputRange>& range, bool whole)
{
    CLI::Option* option = command.add_option(name, value, help);
    option->type_name("NUMBER");
    option->check(CLI::Validator(
        [range, whole](std::string& text) -> std::string {
            double number = 0.0;
            return ReadInputNumber(text, range, number, whole);
        },
        "", ""));
    return option;
}

CLI::Option* AddPath(CLI::App& command, const std::string& name, std::string& value, const std::string& help,
                     bool required, int maxChars)
{
    CLI::Option* option = command.add_option(name, value, help);
    option->type_name("FILE");
    if (required)
        option->required();
    if (maxChars >= 0)
        option->check(CLI::Validator([maxChars](std::string& path) { return CheckInputLength(path, maxChars); }, "",
                                     ""));
    return option;
}

CLI::Option* AddCommandFlag(CLI::App& command, const std::string& name, bool& value, const std::string& help)
{
    return command.add_flag(name, value, help + "; default off");
}

void PrintList(const CResultList& list)
{
    g_standardOutput += list.Text();
}

bool DistinctFiles(std::vector<FileUse> uses)
{
    struct stat st {};
    if (::fstat(STDOUT_FILENO, &st) == 0 && S_ISREG(st.st_mode)) {
        char path[4096];
        const ssize_t length = ::readlink("/proc/self/fd/1", path, sizeof path - 1);
        path[length > 0 ? length : 0] = '\0';
        uses.push_back({"standard output", length > 0 ? path : "/dev/stdout", FileRole::Output});
    }
    const FileClash clash = FindSameFile(uses);
    if (clash.message.empty())
        return true;
    ShowMessage(clash.message, clash.detail);
    return false;
}

void GuardStandardStreams()
{
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd)
        if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF)
            ::open("/dev/null", O_RDONLY); // takes the lowest free number: fd; writes to it fail
}

int FinishStandardOutput(int status)
{
    errno = 0;
    int error = 0;
    const bool written =
        std::fwrite(g_standardOutput.data(), 1, g_standardOutput.size(), stdout) == g_standardOutput.size();
    if (!written || std::fflush(stdout) != 0 || std::ferror(stdout))
        error = errno != 0 ? errno : EIO;
    if (std::fclose(stdout) != 0 && error == 0)
        error = errno != 0 ? errno : EIO;
    if (error == 0)
        return status;
    ShowMessage("Can not write the standard output!", FileErrorDetail("standard output", error));
    return status == kSuccess ? kFailure : status;
}

} // namespace qex::cli

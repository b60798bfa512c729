#include "cli/Command.h"

#include "calculators/CalculatorList.h"
#include "core/Format.h"
#include "core/JsonDocument.h"
#include "core/Message.h"

#include <algorithm>
#include <memory>
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

// The lines for standard output, written once the command's files are in
// place: a reader that goes away early (`| head`) cannot stop them.
std::string g_standardOutput;

// The JSON document of a command run with --json.
struct JsonState {
    bool flag = false;   // --json was given
    bool active = false; // the document replaces the lines
    CommandJson document;
};
JsonState g_json;

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

const Setup* RegisteredSetup(std::string_view name)
{
    for (const Registration& registration : Registry())
        if (registration.name == name)
            return &registration.setup;
    return nullptr;
}

std::vector<std::string> UnlistedCommands()
{
    std::vector<std::string> names;
    for (const Registration& registration : Registry())
        if (FindCalculator(registration.name) == nullptr)
            names.push_back(registration.name);
    return names;
}

Runner GenericCommand(CLI::App& command, const Calculator& calculator)
{
    // The inputs live as long as the program: the options are bound to them.
    static std::vector<std::unique_ptr<CCalculatorForm>> forms;
    forms.push_back(calculator.form());
    CCalculatorForm* form = forms.back().get();
    for (const InputField& field : form->Fields())
        if (field.option)
            AddInputOption(command, field.name, field.description, field.target);
    return [form, &command]() -> int {
        const std::string why = form->Complete(GivenOptions(command));
        if (!why.empty()) {
            ShowMessage(why);
            return kUsage;
        }
        std::vector<FileUse> uses;
        for (const InputField& field : form->Fields())
            if (field.option && (field.description.kind == InputKind::FileToRead ||
                                 field.description.kind == InputKind::FileToWrite))
                uses.push_back({"--" + std::string(field.name), *field.target.text,
                                field.description.kind == InputKind::FileToRead ? FileRole::Input : FileRole::Output});
        if (!DistinctFiles(uses))
            return kUsage;
        JsonInputs(form->Values());
        CResultList list;
        COutputBlocks blocks;
        CalculatorContext context;
        const bool computed = form->Compute(list, blocks, context);
        JsonBlocks(blocks);
        PrintList(list);
        return computed ? kSuccess : kFailure;
    };
}

GivenInputs GivenOptions(const CLI::App& command)
{
    return [&command](std::string_view name) { return command.count("--" + std::string(name)) > 0; };
}

void AddInputOption(CLI::App& command, std::string_view row, const InputDescription& description,
                    const InputTarget& target)
{
    const std::string name = "--" + std::string(row);
    const std::string help = InputHelpLine(description);
    if (target.number != nullptr)
        AddNumber(command, name, *target.number, help, description.range, description.whole);
    else if (description.kind == InputKind::Choice)
        AddChoice(command, name, *target.text, help, description.choices);
    else if (target.text != nullptr)
        AddPath(command, name, *target.text, help, description.required,
                description.kind == InputKind::FileToRead ? description.maxChars : -1);
    else
        command.add_flag(name, *target.flag, help);
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

CLI::Option* AddChoice(CLI::App& command, const std::string& name, std::string& value, const std::string& help,
                       std::span<const std::string_view> choices)
{
    CLI::Option* option = command.add_option(name, value, help);
    // A short list reads as the words themselves; a long one is in the help.
    std::string words;
    for (const std::string_view word : choices)
        words += (words.empty() ? "" : "|") + std::string(word);
    option->type_name(choices.size() <= 4 ? words : std::string("NAME"));
    // Any case is taken; the value is the word as the list writes it.
    option->transform(CLI::Validator(
        [choices](std::string& text) {
            std::string word;
            std::string why = ReadInputChoice(text, choices, word);
            if (why.empty())
                text = word;
            return why;
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
    g_json.document.lines.insert(g_json.document.lines.end(), list.Lines().begin(), list.Lines().end());
}

void JsonInputs(std::vector<InputValue> inputs)
{
    g_json.document.inputs = std::move(inputs);
}

void JsonBlocks(const COutputBlocks& blocks)
{
    g_json.document.results = blocks.Values();
    g_json.document.constants = blocks.Constants();
}

bool JsonWanted()
{
    return g_json.active;
}

void AddJsonFlag(CLI::App& command)
{
    AddCommandFlag(command, "--json", g_json.flag,
                   "Print one JSON document on standard output instead of the lines: the inputs as used, the results "
                   "with their units, the constants in force, the messages (also on standard error) and the QEX "
                   "version (schema: qexcli-output.schema.json)");
}

void GatherJsonMessages(const std::string& command)
{
    if (!g_json.flag)
        return;
    g_json.active = true;
    g_json.document.command = command;
    // Said on standard error as always, and kept for the document.
    auto previous = std::make_shared<DetailedMessageSink>();
    *previous = SetDetailedMessageSink([previous](const std::string& text, const std::string& detail) {
        g_json.document.messages.push_back({text, detail});
        (*previous)(text, detail);
    });
}

void JsonUsageError(int argc, char** argv, const std::string& message)
{
    bool asked = false;
    for (int i = 1; i < argc; ++i)
        asked = asked || std::string_view(argv[i]) == "--json";
    if (!asked)
        return;
    g_json.active = true;
    g_json.document.command = argc > 1 ? argv[1] : "";
    g_json.document.messages.push_back({message, std::string()});
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
    if (g_json.active) {
        g_json.document.status = status;
        g_standardOutput = CommandJsonText(g_json.document);
    }
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

#pragma once
// The one way core code talks to the user: a fixed text, shown and acknowledged.
// The desktop shows a modal box captioned "QEX", qexcli prints to standard error,
// tests record the texts.
//
// A message may carry a detail: what the fixed text cannot know, such as the
// path and the system's reason for a failed file ("/data/r.txt: No space left
// on device"). qexcli prints it on the line after the text, the desktop as the
// box's detailed text.

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace qex {

using MessageSink = std::function<void(const std::string& text)>;
using DetailedMessageSink = std::function<void(const std::string& text, const std::string& detail)>;

// Show a message through the installed sink.
void ShowMessage(const std::string& text);
void ShowMessage(const std::string& text, const std::string& detail);

// How many messages this thread has said so far, repeats a CMessageBatch
// kept from the user included: a failure that follows a message has been
// explained, and needs no second, vaguer one.
std::uint64_t MessagesSaid();

// Install a sink; returns the previous one. An empty sink restores the default
// (standard error). A text-only sink does not see details; a sink returned by
// this call and installed again keeps receiving them.
MessageSink SetMessageSink(MessageSink sink);
DetailedMessageSink SetDetailedMessageSink(DetailedMessageSink sink);

// "path: reason" for a failed operation on a file, the reason being the
// system's text for the error number.
std::string FileErrorDetail(const std::string& path, int errorNumber);

// The text of a message about a file that failed: the usual text when the
// error is about the file itself (missing, a folder, no permission), but led
// by the real cause when it is not ("No space left on device: Can not find
// Output file!"): a full disk, too many open files, a name too long, memory,
// an input/output error.
std::string FileFailureText(const std::string& usual, int errorNumber);

// The confirmation that a file was written, for the desktop's status bar:
// "Wrote 1,234 rows to /data/table.txt" (`what` names the counted things).
std::string WrittenNotice(std::uint64_t count, const std::string& what, const std::string& path);

// Records every message while it lives (tests); restores the previous sink after.
class CMessageRecorder {
public:
    CMessageRecorder();
    ~CMessageRecorder();
    CMessageRecorder(const CMessageRecorder&) = delete;
    CMessageRecorder& operator=(const CMessageRecorder&) = delete;

    const std::vector<std::string>& Messages() const { return m_messages; }
    // The detail of each message, empty where it had none, in the same order.
    const std::vector<std::string>& Details() const { return m_details; }
    bool Contains(const std::string& text) const;
    // The detail of the first message with this text; empty when none.
    std::string DetailOf(const std::string& text) const;
    void Clear()
    {
        m_messages.clear();
        m_details.clear();
    }

private:
    std::vector<std::string> m_messages;
    std::vector<std::string> m_details;
    DetailedMessageSink m_previous;
};

// While one lives, a text already shown is not shown again: one press of a
// button that trips the same warning a hundred times shows it once.
class CMessageBatch {
public:
    CMessageBatch();
    ~CMessageBatch();
    CMessageBatch(const CMessageBatch&) = delete;
    CMessageBatch& operator=(const CMessageBatch&) = delete;

private:
    friend void ShowMessage(const std::string& text, const std::string& detail);
    std::set<std::string> m_shown;
    CMessageBatch* m_outer;
};

// While one lives, the messages shown on its thread go to it alone, not to
// the installed sink: a batch runs rows on several threads and keeps each
// row's messages with the row.
class CThreadMessageCapture {
public:
    CThreadMessageCapture();
    ~CThreadMessageCapture();
    CThreadMessageCapture(const CThreadMessageCapture&) = delete;
    CThreadMessageCapture& operator=(const CThreadMessageCapture&) = delete;

    const std::vector<std::string>& Messages() const { return m_messages; }
    // The detail of each message, empty where it had none, in the same order.
    const std::vector<std::string>& Details() const { return m_details; }

private:
    friend void ShowMessage(const std::string& text, const std::string& detail);
    std::vector<std::string> m_messages;
    std::vector<std::string> m_details;
    CThreadMessageCapture* m_outer;
};

} // namespace qex

#pragma once
// The one way core code talks to the user: a fixed text, shown and acknowledged.
// The desktop shows a modal box captioned "QEX", qexcli prints to standard error,
// tests record the texts.

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace qex {

using MessageSink = std::function<void(const std::string& text)>;

// Show a message through the installed sink.
void ShowMessage(const std::string& text);

// Install a sink; returns the previous one. An empty sink restores the default
// (standard error).
MessageSink SetMessageSink(MessageSink sink);

// Records every message while it lives (tests); restores the previous sink after.
class CMessageRecorder {
public:
    CMessageRecorder();
    ~CMessageRecorder();
    CMessageRecorder(const CMessageRecorder&) = delete;
    CMessageRecorder& operator=(const CMessageRecorder&) = delete;

    const std::vector<std::string>& Messages() const { return m_messages; }
    bool Contains(const std::string& text) const;
    void Clear() { m_messages.clear(); }

private:
    std::vector<std::string> m_messages;
    MessageSink m_previous;
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
    friend void ShowMessage(const std::string& text);
    std::set<std::string> m_shown;
    CMessageBatch* m_outer;
};

} // namespace qex

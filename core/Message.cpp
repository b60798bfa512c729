#include "core/Message.h"

#include <cstdio>
#include <utility>

namespace qex {

namespace {

void StandardErrorSink(const std::string& text)
{
    std::fprintf(stderr, "%s\n", text.c_str());
}

MessageSink& CurrentSink()
{
    static MessageSink sink = StandardErrorSink;
    return sink;
}

thread_local CMessageBatch* t_batch = nullptr;

} // namespace

void ShowMessage(const std::string& text)
{
    if (t_batch != nullptr && !t_batch->m_shown.insert(text).second)
        return;
    CurrentSink()(text);
}

MessageSink SetMessageSink(MessageSink sink)
{
    MessageSink previous = std::move(CurrentSink());
    CurrentSink() = sink ? std::move(sink) : MessageSink(StandardErrorSink);
    return previous;
}

CMessageRecorder::CMessageRecorder()
    : m_previous(SetMessageSink([this](const std::string& text) { m_messages.push_back(text); }))
{
}

CMessageRecorder::~CMessageRecorder()
{
    SetMessageSink(std::move(m_previous));
}

bool CMessageRecorder::Contains(const std::string& text) const
{
    for (const auto& m : m_messages)
        if (m == text)
            return true;
    return false;
}

CMessageBatch::CMessageBatch() : m_outer(t_batch)
{
    t_batch = this;
}

CMessageBatch::~CMessageBatch()
{
    t_batch = m_outer;
}

} // namespace qex

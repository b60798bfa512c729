#include "core/Message.h"

#include "core/Format.h"

#include <cstdio>
#include <cerrno>
#include <cstring>
#include <utility>

namespace qex {

namespace {

void StandardErrorSink(const std::string& text, const std::string& detail)
{
    if (detail.empty())
        std::fprintf(stderr, "%s\n", text.c_str());
    else
        std::fprintf(stderr, "%s\n%s\n", text.c_str(), detail.c_str());
}

DetailedMessageSink& CurrentSink()
{
    static DetailedMessageSink sink = StandardErrorSink;
    return sink;
}

// A detailed sink handed out as a text-only one, so that installing it again
// restores it whole.
struct DetailedAsText {
    DetailedMessageSink inner;
    void operator()(const std::string& text) const { inner(text, std::string()); }
};

// A text-only sink installed as a detailed one.
struct TextOnly {
    MessageSink inner;
    void operator()(const std::string& text, const std::string&) const { inner(text); }
};

thread_local CMessageBatch* t_batch = nullptr;
thread_local CThreadMessageCapture* t_capture = nullptr;

} // namespace

void ShowMessage(const std::string& text)
{
    ShowMessage(text, std::string());
}

namespace {
thread_local std::uint64_t t_said = 0;
} // namespace

std::uint64_t MessagesSaid()
{
    return t_said;
}

void ShowMessage(const std::string& text, const std::string& detail)
{
    ++t_said;
    if (t_batch != nullptr && !t_batch->m_shown.insert(text).second)
        return;
    if (t_capture != nullptr) {
        t_capture->m_messages.push_back(text);
        t_capture->m_details.push_back(detail);
        return;
    }
    CurrentSink()(text, detail);
}

DetailedMessageSink SetDetailedMessageSink(DetailedMessageSink sink)
{
    DetailedMessageSink previous = std::move(CurrentSink());
    CurrentSink() = sink ? std::move(sink) : DetailedMessageSink(StandardErrorSink);
    return previous;
}

MessageSink SetMessageSink(MessageSink sink)
{
    DetailedMessageSink detailed;
    if (const auto* handedOut = sink ? sink.target<DetailedAsText>() : nullptr)
        detailed = handedOut->inner;
    else if (sink)
        detailed = TextOnly{std::move(sink)};
    DetailedMessageSink previous = SetDetailedMessageSink(std::move(detailed));
    if (const auto* textOnly = previous.target<TextOnly>())
        return textOnly->inner;
    return DetailedAsText{std::move(previous)};
}

std::string FileErrorDetail(const std::string& path, int errorNumber)
{
    return path + ": " + std::strerror(errorNumber);
}

std::string FileFailureText(const std::string& usual, int errorNumber)
{
    switch (errorNumber) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
    case EMFILE:
    case ENFILE:
    case ENAMETOOLONG:
    case ENOMEM:
    case EIO:
        return std::string(std::strerror(errorNumber)) + ": " + usual;
    default:
        return usual;
    }
}

std::string WrittenNotice(std::uint64_t count, const std::string& what, const std::string& path)
{
    return "Wrote " + GroupThousands(count) + " " + what + " to " + path;
}

CMessageRecorder::CMessageRecorder()
    : m_previous(SetDetailedMessageSink([this](const std::string& text, const std::string& detail) {
          m_messages.push_back(text);
          m_details.push_back(detail);
      }))
{
}

CMessageRecorder::~CMessageRecorder()
{
    SetDetailedMessageSink(std::move(m_previous));
}

bool CMessageRecorder::Contains(const std::string& text) const
{
    for (const auto& m : m_messages)
        if (m == text)
            return true;
    return false;
}

std::string CMessageRecorder::DetailOf(const std::string& text) const
{
    for (std::size_t i = 0; i < m_messages.size(); ++i)
        if (m_messages[i] == text)
            return m_details[i];
    return std::string();
}

CMessageBatch::CMessageBatch() : m_outer(t_batch)
{
    t_batch = this;
}

CMessageBatch::~CMessageBatch()
{
    t_batch = m_outer;
}

CThreadMessageCapture::CThreadMessageCapture() : m_outer(t_capture)
{
    t_capture = this;
}

CThreadMessageCapture::~CThreadMessageCapture()
{
    t_capture = m_outer;
}

} // namespace qex

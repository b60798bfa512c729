#include "ui/StatusNotifier.h"

#include "core/Message.h"

#include <QFileInfo>

namespace qex {

CStatusNotifier& CStatusNotifier::Instance()
{
    static CStatusNotifier notifier;
    return notifier;
}

void NotifyStatus(const std::string& text)
{
    emit CStatusNotifier::Instance().Notice(QString::fromStdString(text));
}

void NotifyWritten(std::uint64_t count, const std::string& what, const std::string& path)
{
    const QString absolute = QFileInfo(QString::fromStdString(path)).absoluteFilePath();
    NotifyStatus(WrittenNotice(count, what, absolute.toStdString()));
}

} // namespace qex

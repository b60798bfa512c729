#include "ui/HelpTopic.h"

#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

namespace qex {

namespace {
HelpHandler& Handler()
{
    static HelpHandler handler;
    return handler;
}
} // namespace

HelpHandler SetHelpHandler(HelpHandler handler)
{
    HelpHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

void ShowHelpTopic(const QString& topic, QWidget* from)
{
    if (Handler())
        Handler()(topic, from);
}

void InstallHelpKey(QWidget& dialog, const QString& topic)
{
    auto* key = new QShortcut(QKeySequence(QKeySequence::HelpContents), &dialog);
    key->setObjectName("helpKey");
    QObject::connect(key, &QShortcut::activated, &dialog, [topic, &dialog] { ShowHelpTopic(topic, &dialog); });
}

} // namespace qex

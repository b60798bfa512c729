#include "ui/DialogMemory.h"

#include "ui/Settings.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QRect>
#include <QScreen>
#include <QWidget>

namespace qex {

namespace {
QString Key(const QWidget& dialog, const QString& what)
{
    return QString("Dialogs/%1/%2").arg(dialog.objectName(), what);
}

bool OnSomeScreen(const QRect& frame)
{
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->availableGeometry().intersects(frame))
            return true;
    return false;
}
} // namespace

void RestoreDialogMemory(QWidget& dialog, const std::vector<QLineEdit*>& paths)
{
    const QSettings settings = ApplicationSettings();
    const QRect kept = settings.value(Key(dialog, "geometry")).toRect();
    if (kept.isValid()) {
        // Never below the size the dialog needs (its minimum).
        dialog.resize(kept.size().expandedTo(dialog.minimumSize()).boundedTo(dialog.maximumSize()));
        if (OnSomeScreen(QRect(kept.topLeft(), dialog.size())))
            dialog.move(kept.topLeft());
    }
    for (QLineEdit* edit : paths) {
        const QString text = settings.value(Key(dialog, "path" + edit->objectName())).toString();
        if (edit->text().isEmpty() && !text.isEmpty())
            edit->setText(text);
    }
}

void KeepDialogMemory(const QWidget& dialog, const std::vector<QLineEdit*>& paths)
{
    QSettings settings = ApplicationSettings();
    settings.setValue(Key(dialog, "geometry"), QRect(dialog.pos(), dialog.size()));
    for (const QLineEdit* edit : paths)
        settings.setValue(Key(dialog, "path" + edit->objectName()), edit->text());
}

} // namespace qex

#pragma once
// How a dialog tells the main window what it has done ("Wrote 1,234 rows to
// /data/table.txt"): the dialogs run without a parent, so they post the text
// here and the main window, subscribed, shows it in its status bar.

#include <QObject>
#include <QString>
#include <cstdint>
#include <string>

namespace qex {

class CStatusNotifier : public QObject {
    Q_OBJECT
public:
    static CStatusNotifier& Instance();

signals:
    void Notice(const QString& text);
};

// Posts a text for the status bar (nothing happens when no window listens).
void NotifyStatus(const std::string& text);
// Posts "Wrote 1,234 rows to /data/table.txt", the path made absolute.
void NotifyWritten(std::uint64_t count, const std::string& what, const std::string& path);

} // namespace qex

#pragma once
// The document: it stores nothing. Its job is the routing table, the one
// place where a feature command meets its dialog.

#include <QObject>
#include <QString>
#include <functional>
#include <string_view>
#include <vector>

class QDialog;

namespace qex {

class CQEXDoc : public QObject {
    Q_OBJECT
public:
    struct Route {
        int id;
        std::function<void()> run; // constructs the dialog, runs it modally, destroys it
    };

    // The routing table: each calculator of the list with a menu command and
    // a dialog (its factory kept here by the calculator's name), in the list's order.
    static const std::vector<Route>& Routes();
    // Whether the desktop has a dialog for the calculator of that name.
    static bool HasDialogFactory(std::string_view name);

    bool HandlesCommand(int id) const;
    // Runs the command's row; false when the document does not route it.
    bool OnCommand(int id);

    // The document's title ("Untitled" until it is given a file).
    QString Title() const { return m_title; }
    QString PathName() const { return m_path; }
    void OnNewDocument();
    void SetPathName(const QString& path);

    // Runs a dialog modally. Tests replace the runner so that no modal loop blocks.
    using ModalRunner = std::function<int(QDialog&)>;
    static int RunModal(QDialog& dialog);
    static ModalRunner SetModalRunner(ModalRunner runner);

signals:
    void TitleChanged(const QString& title);

private:
    QString m_title = "Untitled";
    QString m_path;
};

} // namespace qex

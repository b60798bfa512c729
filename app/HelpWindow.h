#pragma once

#include <QDialog>

class QTextBrowser;

namespace qex {

// The help the F1 key and the help commands open: the calculators, what each
// computes, its command-line twin, and where the README is.
class CHelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit CHelpWindow(QWidget* parent = nullptr);
    static QString HelpText();
    // The README: the installed copy, or the source folder's for a program
    // run from its build folder.
    static QString ReadmePath();
    // Where the exposure age's geomagnetic records come from.
    static QString GeomagneticRecordsText();
    // The calculators of the list, a table row each: title, what it does, its qexcli command.
    static QString CalculatorRows();
    // Scrolls to a calculator's entry, named as its qexcli command ("simulate").
    void ShowTopic(const QString& topic);
    QTextBrowser* Text() const { return m_text; }

private:
    QTextBrowser* m_text = nullptr;
};

} // namespace qex

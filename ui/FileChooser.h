#pragma once
// The file chooser seam: dialogs ask for paths through this interface; the
// desktop answers with the platform's file dialog, tests script the answers.

#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

class QWidget;

namespace qex {

enum class ChooserKind { Open, Save, Folder };

struct ChooserRequest {
    ChooserKind kind = ChooserKind::Open;
    QString defaultExtensionText;   // e.g. "Output File"; shown as the chooser's title
    QString filter;                 // "Name (*.ext)|*.ext|All Files (*.*)|*.*||"
    bool confirmOverwrite = false;  // ask before replacing an existing file
    QString proposedName = {};      // the file name (or path) the chooser starts with; empty for none
};

// What the user chose: the full path and the filter it was chosen under, as
// the request names it ("SVG Image (*.svg)").
struct ChosenFile {
    QString path;
    QString filter;
};

class IFileChooser {
public:
    virtual ~IFileChooser() = default;
    // The chosen file, or nothing when the user cancels.
    virtual std::optional<ChosenFile> ChooseFile(const ChooserRequest& request, QWidget* parent) = 0;
    // The chosen full path, or nothing when the user cancels.
    std::optional<QString> Choose(const ChooserRequest& request, QWidget* parent);
};

// The chooser in use (the platform's unless one was installed).
IFileChooser& FileChooser();
// Installs a chooser (nullptr restores the platform's); returns the previous one.
IFileChooser* SetFileChooser(IFileChooser* chooser);

// Converts a filter of the form "A (*.a)|*.a|B (*.*)|*.*||" to the form
// "A (*.a);;B (*.*)" and returns the first pattern's extension ("a").
QString ConvertFilter(const QString& filter, QString* firstExtension = nullptr);
// The extension of the named entry's first pattern in such a filter ("svg"
// for "SVG Image (*.svg)"); empty for a pattern like "*.*" or an unknown name.
QString FilterExtension(const QString& filter, const QString& name);

// The platform's chooser. A name typed without an extension takes that of
// the filter chosen. It opens in the folder of the last file chosen.
class CPlatformFileChooser : public IFileChooser {
public:
    std::optional<ChosenFile> ChooseFile(const ChooserRequest& request, QWidget* parent) override;
};

// Answers from a script, in order (an empty optional is a Cancel); records the
// requests it received. Installs itself while it lives.
class CScriptedFileChooser : public IFileChooser {
public:
    CScriptedFileChooser();
    ~CScriptedFileChooser() override;
    // A path chosen under the named filter (the first one when empty).
    void Answer(const QString& path, const QString& filter = QString())
    {
        m_answers.push_back({true, {path, filter}});
    }
    void Cancel() { m_answers.push_back({false, {}}); }
    std::optional<ChosenFile> ChooseFile(const ChooserRequest& request, QWidget* parent) override;
    const std::vector<ChooserRequest>& Requests() const { return m_requests; }

private:
    std::deque<std::pair<bool, ChosenFile>> m_answers; // (confirmed, choice)
    std::vector<ChooserRequest> m_requests;
    IFileChooser* m_previous;
};

} // namespace qex

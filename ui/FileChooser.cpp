#include "ui/FileChooser.h"

#include "ui/Settings.h"

#include <QFileDialog>
#include <QFileInfo>

namespace qex {

namespace {
IFileChooser*& Installed()
{
    static IFileChooser* chooser = nullptr;
    return chooser;
}
} // namespace

IFileChooser& FileChooser()
{
    static CPlatformFileChooser platform;
    IFileChooser* installed = Installed();
    return installed != nullptr ? *installed : platform;
}

IFileChooser* SetFileChooser(IFileChooser* chooser)
{
    IFileChooser* previous = Installed();
    Installed() = chooser;
    return previous;
}

std::optional<QString> IFileChooser::Choose(const ChooserRequest& request, QWidget* parent)
{
    const auto chosen = ChooseFile(request, parent);
    if (!chosen)
        return std::nullopt;
    return chosen->path;
}

namespace {
// The extension of a pattern list's first pattern ("*.svg;*.svgz" -> "svg").
QString PatternExtension(const QString& patterns)
{
    const QString pattern = patterns.section(';', 0, 0);
    const int dot = pattern.lastIndexOf('.');
    return (dot >= 0 && pattern.indexOf('*', dot) < 0) ? pattern.mid(dot + 1) : QString();
}
} // namespace

QString FilterExtension(const QString& filter, const QString& name)
{
    const QStringList parts = filter.split('|', Qt::SkipEmptyParts);
    for (int i = 0; i + 1 < parts.size(); i += 2)
        if (parts[i] == name)
            return PatternExtension(parts[i + 1]);
    return QString();
}

QString ConvertFilter(const QString& filter, QString* firstExtension)
{
    const QStringList parts = filter.split('|', Qt::SkipEmptyParts);
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        entries << parts[i];
        if (firstExtension != nullptr && i == 0)
            *firstExtension = PatternExtension(parts[i + 1]);
    }
    return entries.join(";;");
}

std::optional<ChosenFile> CPlatformFileChooser::ChooseFile(const ChooserRequest& request, QWidget* parent)
{
    QString extension;
    QSettings settings = ApplicationSettings();
    const QString folder = settings.value(kLastFolderKey).toString();
    QFileDialog dialog(parent, request.defaultExtensionText, folder, ConvertFilter(request.filter, &extension));
    dialog.setAcceptMode(request.kind == ChooserKind::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.kind == ChooserKind::Save     ? QFileDialog::AnyFile
                       : request.kind == ChooserKind::Folder ? QFileDialog::Directory
                                                             : QFileDialog::ExistingFile);
    if (request.kind == ChooserKind::Folder)
        dialog.setOption(QFileDialog::ShowDirsOnly);
    if (request.kind == ChooserKind::Save) {
        dialog.setDefaultSuffix(extension);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
        // "cutfig" under "SVG Image (*.svg)" is cutfig.svg, not the first filter's cutfig.png.
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, &request](const QString& name) {
            dialog.setDefaultSuffix(FilterExtension(request.filter, name));
        });
    }
    if (!request.proposedName.isEmpty())
        dialog.selectFile(request.proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString path = dialog.selectedFiles().first();
    settings.setValue(kLastFolderKey, request.kind == ChooserKind::Folder ? path : QFileInfo(path).absolutePath());
    return ChosenFile{path, dialog.selectedNameFilter()};
}

CScriptedFileChooser::CScriptedFileChooser() : m_previous(SetFileChooser(this)) {}

CScriptedFileChooser::~CScriptedFileChooser()
{
    SetFileChooser(m_previous);
}

std::optional<ChosenFile> CScriptedFileChooser::ChooseFile(const ChooserRequest& request, QWidget*)
{
    m_requests.push_back(request);
    if (m_answers.empty())
        return std::nullopt;
    auto [confirmed, choice] = m_answers.front();
    m_answers.pop_front();
    if (!confirmed)
        return std::nullopt;
    if (choice.filter.isEmpty())
        choice.filter = request.filter.section('|', 0, 0);
    return choice;
}

} // namespace qex

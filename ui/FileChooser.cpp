#include "ui/FileChooser.h"

#include <QFileDialog>

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

QString ConvertFilter(const QString& filter, QString* firstExtension)
{
    const QStringList parts = filter.split('|', Qt::SkipEmptyParts);
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        entries << parts[i];
        if (firstExtension != nullptr && i == 0) {
            QString pattern = parts[i + 1].section(';', 0, 0);
            const int dot = pattern.lastIndexOf('.');
            *firstExtension = (dot >= 0 && pattern.indexOf('*', dot) < 0) ? pattern.mid(dot + 1) : QString();
        }
    }
    return entries.join(";;");
}

std::optional<QString> CPlatformFileChooser::Choose(const ChooserRequest& request, QWidget* parent)
{
    QString extension;
    QFileDialog dialog(parent, request.defaultExtensionText, QString(), ConvertFilter(request.filter, &extension));
    dialog.setAcceptMode(request.kind == ChooserKind::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.kind == ChooserKind::Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (request.kind == ChooserKind::Save) {
        dialog.setDefaultSuffix(extension);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

CScriptedFileChooser::CScriptedFileChooser() : m_previous(SetFileChooser(this)) {}

CScriptedFileChooser::~CScriptedFileChooser()
{
    SetFileChooser(m_previous);
}

std::optional<QString> CScriptedFileChooser::Choose(const ChooserRequest& request, QWidget*)
{
    m_requests.push_back(request);
    if (m_answers.empty())
        return std::nullopt;
    const auto [confirmed, path] = m_answers.front();
    m_answers.pop_front();
    if (!confirmed)
        return std::nullopt;
    return path;
}

} // namespace qex

#include "app/QEXApp.h"

#include "app/MainFrame.h"
#include "app/QEXDoc.h"
#include "core/Message.h"
#include "ui/FileChooser.h"
#include "ui/Settings.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QSettings>

namespace qex {

namespace {
const char* const kRecentGroup = "Recent File List";
const char* const kDocumentFilter = "All Files (*.*)|*.*||";
} // namespace

CQEXApp::CQEXApp() = default;
CQEXApp::~CQEXApp() = default;

bool CQEXApp::InitInstance(const QStringList& arguments)
{
    QCoreApplication::setOrganizationName(kSettingsOrganization);
    QCoreApplication::setApplicationName(kSettingsApplication);
    LoadStdProfileSettings();

    m_doc = std::make_unique<CQEXDoc>();
    m_frame = std::make_unique<CMainFrame>(*this, *m_doc);

    // The command line: nothing (a new, untitled document) or one file name.
    if (arguments.size() > 1 && !OpenDocumentFile(arguments.at(1)))
        return false;
    if (arguments.size() <= 1)
        m_doc->OnNewDocument();

    m_frame->show();
    return true;
}

void CQEXApp::LoadStdProfileSettings()
{
    QSettings settings;
    settings.beginGroup(kRecentGroup);
    m_recent.clear();
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const QString path = settings.value(QString("File%1").arg(i)).toString();
        if (!path.isEmpty())
            m_recent << path;
    }
    settings.endGroup();
}

void CQEXApp::SaveRecentFileList() const
{
    QSettings settings;
    settings.beginGroup(kRecentGroup);
    settings.remove("");
    for (int i = 0; i < m_recent.size(); ++i)
        settings.setValue(QString("File%1").arg(i + 1), m_recent.at(i));
    settings.endGroup();
}

void CQEXApp::AddToRecentFileList(const QString& path)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    m_recent.removeAll(full);
    m_recent.prepend(full);
    while (m_recent.size() > kRecentFileCount)
        m_recent.removeLast();
    SaveRecentFileList();
}

void CQEXApp::OnFileNew()
{
    m_doc->OnNewDocument();
}

bool CQEXApp::OpenDocumentFile(const QString& path)
{
    // The document stores nothing, so opening reads nothing: the file must
    // only exist.
    if (!QFileInfo(path).isFile()) {
        ShowMessage(QString("%1\nFile not found.").arg(path).toStdString());
        return false;
    }
    m_doc->SetPathName(QFileInfo(path).absoluteFilePath());
    AddToRecentFileList(path);
    return true;
}

void CQEXApp::OnFileOpen()
{
    ChooserRequest request;
    request.kind = ChooserKind::Open;
    request.filter = kDocumentFilter;
    if (const auto path = FileChooser().Choose(request, m_frame.get()))
        OpenDocumentFile(*path);
}

void CQEXApp::OnFilePrintSetup()
{
    QPrinter printer;
    QPageSetupDialog dialog(&printer, m_frame.get());
    dialog.exec();
}

} // namespace qex

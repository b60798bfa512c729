#include "app/QEXDoc.h"

#include "app/Commands.h"
#include "core/CommandGuard.h"
#include "proxy/ProxyDlg.h"

#include <QDialog>
#include <QFileInfo>

namespace qex {

namespace {

CQEXDoc::ModalRunner& Runner()
{
    static CQEXDoc::ModalRunner runner;
    return runner;
}

// Each feature command: construct the dialog with no parent, run it modally,
// destroy it when it closes. Nothing it computed survives but its files.
template <class Dialog>
void RunDialog()
{
    Dialog dialog;
    CQEXDoc::RunModal(dialog);
}

} // namespace

const std::vector<CQEXDoc::Route>& CQEXDoc::Routes()
{
    static const std::vector<Route> routes = {
        {ID_SIMULATION, &RunDialog<CProxyDlg>},
    };
    return routes;
}

bool CQEXDoc::HandlesCommand(int id) const
{
    for (const auto& route : Routes())
        if (route.id == id)
            return true;
    return false;
}

bool CQEXDoc::OnCommand(int id)
{
    for (const auto& route : Routes()) {
        if (route.id == id) {
            RunGuarded(route.run);
            return true;
        }
    }
    return false;
}

void CQEXDoc::OnNewDocument()
{
    m_path.clear();
    m_title = "Untitled";
    emit TitleChanged(m_title);
}

void CQEXDoc::SetPathName(const QString& path)
{
    m_path = path;
    m_title = QFileInfo(path).fileName();
    emit TitleChanged(m_title);
}

int CQEXDoc::RunModal(QDialog& dialog)
{
    if (Runner())
        return Runner()(dialog);
    return dialog.exec();
}

CQEXDoc::ModalRunner CQEXDoc::SetModalRunner(ModalRunner runner)
{
    ModalRunner previous = std::move(Runner());
    Runner() = std::move(runner);
    return previous;
}

} // namespace qex

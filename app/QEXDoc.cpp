#include "app/QEXDoc.h"

#include "app/Commands.h"
#include "batch/BatchDlg.h"
#include "batch/BatchRun.h"
#include "batch/IsochronDlg.h"
#include "batch/SampleConvert.h"
#include "burial/BurialAgeDlg.h"
#include "core/AtomicFile.h"
#include "core/CommandGuard.h"
#include "core/Message.h"
#include "corrections/ShieldDLG.h"
#include "corrections/SlopeThickDLG.h"
#include "corrections/ThicknessDLG.h"
#include "figure/SummaryDlg.h"
#include "figure/TwoNuclideDlg.h"
#include "geomag/ErosionDlg.h"
#include "geomag/ExpDlg.h"
#include "geomag/GeomagneticIntensityData.h"
#include "proxy/CutResDlg.h"
#include "proxy/ProxyDlg.h"
#include "scaling/SFCalDlg.h"
#include "scaling/ScalingFactorDLG.h"
#include "scaling/WorldTableWriterDlg.h"
#include "ui/FileChooser.h"
#include "ui/StatusNotifier.h"

#include <QDialog>
#include <QFileInfo>
#include <map>
#include <string_view>

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

// Read/write/normalise a climatic curve: an intensity curve file passes
// through the intensity reader (midpoints in wide gaps, close ages merged) and
// is written back in fixed columns.
void NormalizeCurve()
{
    const QString filter = "Proxy Curve Data (*.dat)|*.dat|All Files (*.*)|*.*||";
    const auto input = FileChooser().Choose({ChooserKind::Open, "Climatic proxy data Curve", filter, false}, nullptr);
    if (!input)
        return;
    const CGeomagneticIntensityData curve(input->toStdString());
    // After a failed load there is nothing to write; asking for an output would
    // only risk replacing a good file (even the input) with an empty one.
    if (!curve.IsLoaded())
        return;
    const auto output = FileChooser().Choose({ChooserKind::Save, "Climatic proxy data Curve", filter, true}, nullptr);
    if (!output)
        return;
    // One row a record.
    if (curve.SaveFile(output->toStdString()) != 0)
        NotifyWritten(static_cast<std::uint64_t>(curve.pointCount), "rows", output->toStdString());
}

// A file of samples in any format a batch reads, written as a v3 input block
// (for the online calculators); a sample that cannot be read is named and
// nothing is written.
void ConvertSamples()
{
    const QString filter = "Files of samples (*.csv *.txt *.tsv)|*.csv;*.txt;*.tsv|All Files (*.*)|*.*||";
    const auto input = FileChooser().Choose({ChooserKind::Open, "File of samples", filter, false}, nullptr);
    if (!input)
        return;
    std::string text;
    std::string error;
    ConvertedSamples converted;
    if (!ReadBatchFile(input->toStdString(), text, error) ||
        !ConvertSampleText(text, SampleFormat::Auto, true, converted, error)) {
        ShowMessage(input->toStdString() + ": " + error);
        return;
    }
    if (!converted.failures.empty() || converted.samples == 0) {
        std::string said = converted.samples == 0 ? "the file holds no samples" : std::string();
        for (const std::string& failure : converted.failures)
            said += (said.empty() ? "" : "\n") + failure;
        ShowMessage("Nothing was written: " + input->toStdString(), said);
        return;
    }
    const auto output =
        FileChooser().Choose({ChooserKind::Save, "v3 input block", "Text (*.txt)|*.txt|All Files (*.*)|*.*||", true},
                             nullptr);
    if (!output || output->toStdString() == input->toStdString())
        return;
    if (WriteFileAtomically(output->toStdString(), converted.text, "Can not write the converted file!"))
        NotifyWritten(static_cast<std::uint64_t>(converted.samples), "samples", output->toStdString());
}

// Command 32773: the grid dialog, then the table file; the status bar says
// what was written.
void RunWorldTable()
{
    CSFCalDlg dialog;
    if (CQEXDoc::RunModal(dialog) != QDialog::Accepted)
        return;
    WriteWorldTableWithProgress(dialog.Grid(), dialog.m_strOutputFile, &CQEXDoc::RunModal);
}

// The desktop's face of each calculator of the list, by its name.
const std::map<std::string_view, void (*)()>& DialogFactories()
{
    static const std::map<std::string_view, void (*)()> factories = {
        {"simulate", &RunDialog<CProxyDlg>},
        {"cut", &RunDialog<CCutResDlg>},
        {"scaling", &RunDialog<CScalingFactorDLG>},
        {"world-table", &RunWorldTable},
        {"thickness", &RunDialog<CThicknessDLG>},
        {"slope-thickness", &RunDialog<CSlopeThickDLG>},
        {"shielding", &RunDialog<CShieldDLG>},
        {"exposure", &RunDialog<CExpDlg>},
        {"erosion", &RunDialog<CErosionDlg>},
        {"normalize", &NormalizeCurve},
        {"batch", &RunDialog<CBatchDlg>},
        {"convert", &ConvertSamples},
        {"plot", &RunDialog<CTwoNuclideDlg>},
        {"summary", &RunDialog<CSummaryDlg>},
        {"burial", &RunDialog<CBurialAgeDlg>},
        {"isochron", &RunDialog<CIsochronDlg>},
    };
    return factories;
}

} // namespace

const std::vector<CQEXDoc::Route>& CQEXDoc::Routes()
{
    static const std::vector<Route> routes = [] {
        std::vector<Route> list;
        for (const Calculator& calculator : Calculators()) {
            const auto factory = DialogFactories().find(calculator.info.name);
            if (calculator.info.commandId != 0 && factory != DialogFactories().end())
                list.push_back({calculator.info.commandId, factory->second});
        }
        return list;
    }();
    return routes;
}

bool CQEXDoc::HasDialogFactory(std::string_view name)
{
    return DialogFactories().count(name) > 0;
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

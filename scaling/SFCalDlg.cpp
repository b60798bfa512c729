#include "scaling/SFCalDlg.h"

#include "ui/FileChooser.h"

#include <QLineEdit>
#include <QPushButton>

namespace qex {

CSFCalDlg::CSFCalDlg(QWidget* parent) : CTemplateDialog(132, "Calculate SF around the World", 206, 110, 9, parent)
{
    AddLabel("Output File:", 7, 10, 44, 8);
    QLineEdit* outputFile = AddEdit(1027, 52, 8, 100, 12);
    QPushButton* browse = AddButton(1024, "Browse...", 156, 7, 43, 14);

    AddLabel("Start_Lat:", 7, 30, 44, 8);
    QLineEdit* startLat = AddEdit(1003, 52, 28, 46, 12);
    AddLabel("End_Lat:", 7, 46, 44, 8);
    QLineEdit* endLat = AddEdit(1004, 52, 44, 46, 12);
    AddLabel("Lat interval:", 7, 62, 44, 8);
    QLineEdit* latInterval = AddEdit(1007, 52, 60, 46, 12);

    AddLabel("Start_Alt (m):", 106, 30, 49, 8);
    QLineEdit* startAlt = AddEdit(1005, 156, 28, 43, 12);
    AddLabel("End_Alt (m):", 106, 46, 49, 8);
    QLineEdit* endAlt = AddEdit(1006, 156, 44, 43, 12);
    AddLabel("Alt interval:", 106, 62, 49, 8);
    QLineEdit* altInterval = AddEdit(1008, 156, 60, 43, 12);

    AddLabel("Muon contribution:", 7, 78, 70, 8);
    QLineEdit* muon = AddEdit(1009, 78, 76, 46, 12);

    QPushButton* ok = AddButton(1, "OK", 106, 90, 45, 14, true);
    QPushButton* cancel = AddButton(2, "Cancel", 156, 90, 43, 14);
    SetTabOrder({1027, 1024, 1003, 1004, 1007, 1005, 1006, 1008, 1009, 1, 2});

    connect(browse, &QPushButton::clicked, this, &CSFCalDlg::OnBrowse);
    connect(ok, &QPushButton::clicked, this, &CSFCalDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CSFCalDlg::reject);

    auto number = [this](QLineEdit* edit, double& member, InputRange range) {
        m_dx.Double(edit, member, range.minimum, range.maximum);
    };
    number(startLat, m_dStartLat, kTableLatitudeRangeDeg);
    number(startAlt, m_dStartAlt, kTableAltitudeRangeM);
    number(endLat, m_dEndLat, kTableLatitudeRangeDeg);
    number(endAlt, m_dEndAlt, kTableAltitudeRangeM);
    number(latInterval, m_dLatInterval, kTableLatitudeIntervalRangeDeg);
    number(altInterval, m_dAltInterval, kTableAltitudeIntervalRangeM);
    m_dx.Text(outputFile, m_strOutputFile, kTableOutputFileMaxChars);
    number(muon, m_dMuon, kTableMuonFractionRange);
    m_dx.ToControls();
}

CSFCalDlg::~CSFCalDlg() = default;

WorldTableGrid CSFCalDlg::Grid() const
{
    WorldTableGrid grid;
    grid.startLatitude = m_dStartLat;
    grid.endLatitude = m_dEndLat;
    grid.latitudeInterval = m_dLatInterval;
    grid.startAltitude = m_dStartAlt;
    grid.endAltitude = m_dEndAlt;
    grid.altitudeInterval = m_dAltInterval;
    grid.muonFraction = m_dMuon;
    return grid;
}

void CSFCalDlg::OnBrowse()
{
    const ChooserRequest request{ChooserKind::Save, "Output file",
                                 "Output File (*.txt)|*.txt|All Files (*.*)|*.*||", false};
    if (const auto path = FileChooser().Choose(request, this))
        Control<QLineEdit>(1027)->setText(*path);
}

void CSFCalDlg::accept()
{
    if (m_dx.FromControls())
        QDialog::accept();
}

} // namespace qex

#include "proxy/SiteProductionDlg.h"

#include "core/Message.h"
#include "proxy/SimulationSite.h"
#include "ui/InputBinding.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace qex {

namespace {
constexpr int kTemplateId = 144;
constexpr double kDefaultLatitude = 34.33375; // the exposure age dialog's
} // namespace

CSiteProductionDlg::CSiteProductionDlg(const SimulationInputs& inputs, QWidget* parent)
    : CTemplateDialog(kTemplateId, "Production Rates from the Site", 220, 116, 9, parent), m_inputs(inputs)
{
    if (std::isnan(m_inputs.latitude))
        m_inputs.latitude = kDefaultLatitude;
    // The site's rows of the simulation's table, each bound to its box here.
    const std::pair<const char*, const char*> rows[] = {
        {"latitude", "Latitude:"}, {"altitude", "Altitude:"}, {"thickness", "Thickness:"}, {"shield", "Shielding:"}};
    int id = IDC_LATITUDE;
    int top = 8;
    for (const auto& [name, label] : rows) {
        const InputRow<SimulationInputs>& row = *SimulationInputTable().Find(name);
        AddLabel(label, 7, top + 2, 50, 8);
        QLineEdit* edit = AddEdit(id, 60, top, 60, 12);
        edit->setToolTip(QString::fromStdString(InputToolTip(DescribeInput(row))));
        m_dx.Double(edit, m_inputs.*std::get<double SimulationInputs::*>(row.field), row.range->minimum,
                    row.range->maximum);
        AddUnitLabel(id, QString::fromStdString(InputBoxUnit(DescribeInput(row))));
        top += 16;
        ++id;
    }
    AddLabel(QString::fromStdString("The " + m_inputs.constants +
                                    " set's rates at sea level and high latitude, scaled with Stone (2000) "
                                    "in the standard atmosphere, and the simulation's density."),
             7, 72, 206, 18)
        ->setWordWrap(true);
    QPushButton* ok = AddButton(1, "OK", 109, 96, 50, 14, true);
    QPushButton* cancel = AddButton(2, "Cancel", 163, 96, 50, 14);
    SetTabOrderFromTemplate();
    connect(ok, &QPushButton::clicked, this, &CSiteProductionDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CSiteProductionDlg::reject);
    m_dx.ToControls();
    Control(IDC_LATITUDE)->setFocus();
}

void CSiteProductionDlg::accept()
{
    if (!m_dx.FromControls())
        return;
    SiteProductionRates rates;
    const std::string why = ComputeSiteProduction(m_inputs, rates);
    if (!why.empty()) {
        ShowMessage(why);
        return;
    }
    m_inputs.be10Production = rates.be10;
    m_inputs.al26Production = rates.al26;
    QDialog::accept();
}

} // namespace qex

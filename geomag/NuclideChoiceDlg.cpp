#include "geomag/NuclideChoiceDlg.h"

#include "core/AmsStandards.h"
#include "ui/ChoiceBinding.h"
#include "ui/DataExchange.h"

#include <QComboBox>
#include <QLineEdit>

namespace qex {

CNuclideChoice::CNuclideChoice(NuclideSample& sample, QComboBox* nuclide, QComboBox* standard, QLineEdit* production,
                               QLineEdit* productionError)
    : QObject(nuclide), m_sample(sample), m_nuclide(nuclide), m_standard(standard), m_production(production),
      m_productionError(productionError)
{
    for (const std::string_view name : NuclideNames()) {
        const std::string_view symbol = NuclideSymbol(NuclideOfName(name));
        m_nuclide->addItem(QString::fromUtf8(symbol.data(), static_cast<int>(symbol.size())),
                           QString::fromUtf8(name.data(), static_cast<int>(name.size())));
    }
    m_nuclide->setToolTip("The nuclide of the measured concentration; its production rate, muon share and "
                          "half-life follow it");
    m_standard->setToolTip("The AMS standard the concentration was measured against: it and its uncertainty are "
                           "normalised to 07KNSTD (10Be) or KNSTD (26Al) first; none: as given");
    ToControls();
    connect(m_nuclide, &QComboBox::currentIndexChanged, this, &CNuclideChoice::NuclideChanged);
}

NuclideKind CNuclideChoice::Chosen() const
{
    return NuclideOfName(m_nuclide->currentData().toString().toStdString());
}

void CNuclideChoice::ToControls()
{
    const QSignalBlocker quiet(m_nuclide);
    const NuclideKind nuclide = NuclideOfName(m_sample.nuclide);
    m_nuclide->setCurrentIndex(nuclide == kAl26 ? 1 : 0);
    SetChoices(m_standard, AmsStandardChoices(nuclide), nuclide == kAl26 ? m_sample.al26Standard : m_sample.be10Standard);
}

void CNuclideChoice::FromControls()
{
    const NuclideKind nuclide = Chosen();
    m_sample.nuclide = m_nuclide->currentData().toString().toStdString();
    (nuclide == kAl26 ? m_sample.al26Standard : m_sample.be10Standard) = m_standard->currentText().toStdString();
}

void CNuclideChoice::NuclideChanged()
{
    const NuclideKind nuclide = Chosen();
    SetChoices(m_standard, AmsStandardChoices(nuclide), nuclide == kAl26 ? m_sample.al26Standard : m_sample.be10Standard);
    const ConstantSet* set = FindConstantSet(StoredConstantSet());
    if (set == nullptr)
        return;
    const SourcedValue& rate = nuclide == kAl26 ? set->al26Production : set->be10Production;
    m_production->setText(CDataExchange::NumberText(rate.value));
    m_productionError->setText(CDataExchange::NumberText(rate.error));
}

} // namespace qex

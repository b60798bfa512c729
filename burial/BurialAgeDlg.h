#pragma once
// "Burial Age": one sample's 10Be and 26Al with their standards, its
// source's production rates, density and attenuation length, the history at
// the source and the production after burial; each Calculate appends the
// burial age's block (and the Monte Carlo's) to the results list.

#include "burial/BurialAgeCalculator.h"
#include "ui/ChoiceBinding.h"
#include "ui/ResultDialog.h"

class QListWidget;

namespace qex {

class CBurialAgeDlg : public CResultDialog {
    Q_OBJECT
public:
    explicit CBurialAgeDlg(QWidget* parent = nullptr);

    BurialAgeInputs m_inputs; // the fields, from the input table's defaults
    QListWidget* m_ctlResults = nullptr; // 1011

protected:
    void OnCalculate() override;

private:
    CChoiceBindings m_choices;
};

} // namespace qex

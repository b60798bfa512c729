#pragma once
// A dialog's fields bound from its calculator's input table: each control the
// dialog names, in its own exchange order, is bound to the row's field of the
// dialog's inputs with the row's range or length, and shows the row's label,
// unit, range and default as its tooltip; a path box is remembered between
// openings. Where a template's label names no unit, the dialog puts the row's
// unit in a small label beside the box.

#include "core/InputTable.h"
#include "ui/DataExchange.h"
#include "ui/TemplateDialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <initializer_list>
#include <stdexcept>

namespace qex {

template <class Inputs>
void BindInputs(CDataExchange& exchange, CTemplateDialog& dialog, Inputs& inputs,
                const InputTable<Inputs>& table, std::initializer_list<int> exchangeOrder)
{
    for (const int id : exchangeOrder) {
        const InputRow<Inputs>* row = table.FindControl(id);
        QWidget* control = dialog.Control(id);
        if (row == nullptr || control == nullptr)
            throw std::logic_error("a dialog binds a control its input table does not know");
        control->setToolTip(QString::fromStdString(InputToolTip(DescribeInput(*row))));
        if (const auto* number = std::get_if<double Inputs::*>(&row->field)) {
            if (row->range)
                exchange.Double(qobject_cast<QLineEdit*>(control), inputs.**number, row->range->minimum,
                                row->range->maximum);
            else
                exchange.Double(qobject_cast<QLineEdit*>(control), inputs.**number);
        } else if (const auto* text = std::get_if<std::string Inputs::*>(&row->field)) {
            exchange.Text(qobject_cast<QLineEdit*>(control), inputs.**text, row->maxChars);
            if (row->kind == InputKind::FileToRead || row->kind == InputKind::FileToWrite)
                dialog.RememberPath(qobject_cast<QLineEdit*>(control));
        } else {
            exchange.Check(qobject_cast<QCheckBox*>(control), inputs.*std::get<bool Inputs::*>(row->field));
        }
    }
}

// A unit label right of each named box, from the box's row.
template <class Inputs>
void AddUnitLabels(CTemplateDialog& dialog, const InputTable<Inputs>& table, std::initializer_list<int> ids)
{
    for (const int id : ids) {
        const InputRow<Inputs>* row = table.FindControl(id);
        if (row == nullptr)
            throw std::logic_error("a dialog labels a control its input table does not know");
        dialog.AddUnitLabel(id, QString::fromStdString(InputBoxUnit(DescribeInput(*row))));
    }
}

} // namespace qex

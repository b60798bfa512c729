#pragma once
// Drop-downs bound to the word rows of a calculator's input table (a constant
// set, a nuclide, an AMS standard): each lists its row's words, shows the
// member's word and gives back the word chosen. A drop-down offers only its
// words, so taking them never fails.

#include "core/InputTable.h"

#include <QComboBox>
#include <string>
#include <vector>

namespace qex {

// Fills a drop-down with words and selects `word` (the first when it is none of them).
inline void SetChoices(QComboBox* box, std::span<const std::string_view> words, const std::string& word)
{
    box->clear();
    for (const std::string_view choice : words)
        box->addItem(QString::fromUtf8(choice.data(), static_cast<int>(choice.size())));
    box->setCurrentIndex(std::max(0, box->findText(QString::fromStdString(word))));
}

class CChoiceBindings {
public:
    // Binds a drop-down to a row's field; its tooltip is the row's.
    template <class Inputs>
    void Bind(QComboBox* box, const InputRow<Inputs>& row, Inputs& inputs)
    {
        std::string* member = &(inputs.*std::get<std::string Inputs::*>(row.field));
        box->setToolTip(QString::fromStdString(InputToolTip(DescribeInput(row))));
        SetChoices(box, row.choices, *member);
        m_bindings.push_back({box, member});
    }

    void ToControls() const
    {
        for (const Binding& b : m_bindings)
            b.box->setCurrentIndex(std::max(0, b.box->findText(QString::fromStdString(*b.member))));
    }
    void FromControls() const
    {
        for (const Binding& b : m_bindings)
            *b.member = b.box->currentText().toStdString();
    }

private:
    struct Binding {
        QComboBox* box;
        std::string* member;
    };
    std::vector<Binding> m_bindings;
};

} // namespace qex

#include "calculators/Calculator.h"

namespace qex {

const InputField* CCalculatorForm::Find(std::string_view name) const
{
    for (const InputField& field : m_fields)
        if (field.name == name)
            return &field;
    return nullptr;
}

} // namespace qex

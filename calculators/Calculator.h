#pragma once
// A calculator as every face sees it, free of its types: what it is called on
// the command line, in the menu and in the help; its inputs, held and bound
// field by field; and its calculation, which gives the blocks of its output
// table. qexcli builds its commands, the batch its calculators, the desktop
// its Calculators menu and help from the one list of these
// (calculators/CalculatorList.h).

#include "core/ConstantSets.h"
#include "core/InputTable.h"
#include "core/OutputTable.h"
#include "core/ResultList.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qex {

class CSimulationCurveCache;

// Names and texts of a calculator.
struct CalculatorInfo {
    std::string_view name;        // the qexcli command
    std::string_view description; // qexcli's one line about it
    std::string_view title;       // the help window's name for it
    std::string_view help;        // the help window's sentence (HTML)
    std::string_view prompt;      // the status-bar prompt of its menu command; empty without one
    std::string_view menuText;    // its "&Calculators" item; empty without one
    int commandId = 0;            // its menu command; 0 without one
    bool batch = false;           // a batch runs it over a CSV file of samples
};

// What a face gives a calculation beyond its inputs.
struct CalculatorContext {
    CSimulationCurveCache* curves = nullptr; // a batch's rows share the curves they read
    bool batchRow = false;                   // a row of a batch: no report or scratch file of its own
    bool keepReport = false;                 // a batch row keeps its report's text in `report`
    std::string report;
    std::function<bool()> running;           // false asks a long calculation to stop
};

// An input of a calculator, free of its Inputs type: its row and where its
// value lives in a held set of inputs.
struct InputField {
    std::string_view name;
    InputDescription description;
    bool option = true; // qexcli takes it
    InputTarget target;
};

// A calculator's inputs, held with their defaults, and its calculation.
class CCalculatorForm {
public:
    virtual ~CCalculatorForm() = default;
    std::vector<InputField>& Fields() { return m_fields; }
    const InputField* Find(std::string_view name) const;
    // The inputs as they are now, for a JSON document.
    virtual std::vector<InputValue> Values() const = 0;
    // Completes the inputs once they are read (core/ConstantSets.h): the
    // chosen constant set's values for the inputs `given` does not name, then
    // the check of inputs that need or exclude each other. Empty, or why the
    // inputs cannot be calculated.
    virtual std::string Complete(const GivenInputs& given) = 0;
    // Runs the calculation: its blocks go to `list` and `blocks`. False when
    // it gave no result (a message has said why, or it was stopped).
    virtual bool Compute(CResultList& list, COutputBlocks& blocks, CalculatorContext& context) = 0;

protected:
    std::vector<InputField> m_fields;
};

struct Calculator {
    CalculatorInfo info;
    // A fresh set of inputs with their defaults; null for a command that
    // takes no input table (normalize, batch).
    std::function<std::unique_ptr<CCalculatorForm>()> form;
    std::vector<std::string> resultColumns; // the CSV columns every row has, in order
};

// A calculator whose inputs are an `Inputs` with its table and whose
// calculation is `compute`.
template <class Inputs>
using ComputeFunction = bool (*)(const Inputs&, CResultList&, COutputBlocks&, CalculatorContext&);

template <class Inputs>
class CTypedForm final : public CCalculatorForm {
public:
    CTypedForm(const InputTable<Inputs>& table, ComputeFunction<Inputs> compute) : m_table(table), m_compute(compute)
    {
        for (const InputRow<Inputs>& row : table.Rows())
            m_fields.push_back({row.name, DescribeInput(row), row.option, TargetOf(row, m_inputs)});
    }
    Inputs& Held() { return m_inputs; }
    const InputTable<Inputs>& Table() const { return m_table; }
    std::vector<InputValue> Values() const override { return InputValues(m_inputs, m_table); }
    std::string Complete(const GivenInputs& given) override { return CompleteInputs(m_table, m_inputs, given); }
    bool Compute(CResultList& list, COutputBlocks& blocks, CalculatorContext& context) override
    {
        return m_compute(m_inputs, list, blocks, context);
    }

private:
    Inputs m_inputs{};
    const InputTable<Inputs>& m_table;
    ComputeFunction<Inputs> m_compute;
};

// The entry of the list for a calculator with `Inputs`; `result` is its
// main output table, whose values every row of a batch has.
template <class Inputs, class Result>
Calculator MakeCalculator(CalculatorInfo info, const InputTable<Inputs>& (*table)(),
                          const OutputTable<Result>& (*result)(), ComputeFunction<Inputs> compute)
{
    Calculator calculator{info, [table, compute] { return std::make_unique<CTypedForm<Inputs>>(table(), compute); },
                          OutputNames(OutputValues(result(), static_cast<const Result*>(nullptr)))};
    return calculator;
}

// The same for a calculator that lists no values (it writes a file).
template <class Inputs>
Calculator MakeCalculator(CalculatorInfo info, const InputTable<Inputs>& (*table)(), ComputeFunction<Inputs> compute)
{
    return {info, [table, compute] { return std::make_unique<CTypedForm<Inputs>>(table(), compute); }, {}};
}

// The form of the calculator with `Inputs`, typed again, for the faces that
// run it their own way; null when `form` holds other inputs.
template <class Inputs>
CTypedForm<Inputs>* TypedForm(CCalculatorForm* form)
{
    return dynamic_cast<CTypedForm<Inputs>*>(form);
}

} // namespace qex

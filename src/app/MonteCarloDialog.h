#pragma once

#include "app/MonteCarloRun.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QSpinBox;

namespace corvane {

/**
 * The choices of the Monte Carlo view, asked when "Luck" is pressed with Shift or Ctrl: the method and
 * its parameter, the runs, the seed (none: a fresh one each run), compounding, the starting balance (none:
 * the report's), the ruin and confidence levels.
 */
class MonteCarloDialog : public QDialog
{
public:
    explicit MonteCarloDialog(const MonteCarloChoices& current, QWidget* parent = nullptr);

    // The choices as the fields now stand; a field left empty or not a number keeps its meaning of none.
    MonteCarloChoices Choices() const;

    QComboBox* Method = nullptr;
    QSpinBox* BlockLength = nullptr;
    QDoubleSpinBox* SkipProbability = nullptr;
    QSpinBox* Runs = nullptr;
    QLineEdit* Seed = nullptr;
    QCheckBox* Compound = nullptr;
    QLineEdit* StartBalance = nullptr;
    QDoubleSpinBox* Ruin = nullptr;
    QDoubleSpinBox* Confidence = nullptr;

private:
    MonteCarloChoices m_current;
};

} // namespace corvane

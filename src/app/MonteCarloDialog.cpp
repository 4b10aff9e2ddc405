#include "app/MonteCarloDialog.h"

#include "app/Dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QDoubleValidator>
#include <QFormLayout>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSpinBox>

namespace corvane {

namespace {

QDoubleSpinBox* PercentBox(double minimum, double value, QWidget* parent)
{
    auto* box = new QDoubleSpinBox(parent);
    box->setRange(minimum, 100);
    box->setDecimals(2);
    box->setSuffix(QStringLiteral("%"));
    box->setValue(value);
    return box;
}

} // namespace

MonteCarloDialog::MonteCarloDialog(const MonteCarloChoices& current, QWidget* parent)
    : QDialog(parent)
    , m_current(current)
{
    setWindowTitle(QStringLiteral("Luck: a Monte Carlo analysis of the trades"));
    const MonteCarloSettings& settings = current.Settings;
    Method = new QComboBox(this);
    Method->addItems({QStringLiteral("Permutation: the same trades in a random order"),
                      QStringLiteral("Bootstrap: as many trades drawn with replacement"),
                      QStringLiteral("Block bootstrap: blocks of consecutive trades drawn with replacement"),
                      QStringLiteral("Skip: each trade left out at random")});
    Method->setCurrentIndex(static_cast<int>(settings.Method));
    BlockLength = new QSpinBox(this);
    BlockLength->setRange(0, 1'000'000);
    BlockLength->setSpecialValueText(QStringLiteral("the cube root of the trades"));
    BlockLength->setValue(static_cast<int>(settings.BlockLength));
    SkipProbability = new QDoubleSpinBox(this);
    SkipProbability->setRange(0, 1);
    SkipProbability->setDecimals(4);
    SkipProbability->setSingleStep(0.05);
    SkipProbability->setValue(settings.SkipProbability);
    Runs = new QSpinBox(this);
    Runs->setRange(1, static_cast<int>(kMaxMonteCarloRuns));
    Runs->setValue(static_cast<int>(settings.Runs));
    Seed = new QLineEdit(current.FixedSeed ? QString::number(settings.Seed) : QString(), this);
    Seed->setPlaceholderText(QStringLiteral("a fresh one for each run"));
    Seed->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,20}")), Seed));
    Compound = new QCheckBox(QStringLiteral("each result a return on the balance before it"), this);
    Compound->setChecked(settings.Compound);
    StartBalance =
        new QLineEdit(settings.StartBalance ? QString::number(*settings.StartBalance, 'f', 2) : QString(), this);
    StartBalance->setPlaceholderText(QStringLiteral("the report's"));
    auto* number = new QDoubleValidator(StartBalance);
    number->setLocale(QLocale::c());
    StartBalance->setValidator(number);
    Ruin = PercentBox(0.01, settings.RuinPct, this);
    Confidence = PercentBox(0, settings.ConfidencePct, this);

    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Method"), Method);
    form->addRow(QStringLiteral("Block length (trades)"), BlockLength);
    form->addRow(QStringLiteral("Chance of leaving a trade out"), SkipProbability);
    form->addRow(QStringLiteral("Runs"), Runs);
    form->addRow(QStringLiteral("Seed"), Seed);
    form->addRow(QStringLiteral("Compound"), Compound);
    form->addRow(QStringLiteral("Starting balance"), StartBalance);
    form->addRow(QStringLiteral("Ruin: a drawdown of the start of"), Ruin);
    form->addRow(QStringLiteral("Confidence level"), Confidence);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

MonteCarloChoices MonteCarloDialog::Choices() const
{
    MonteCarloChoices choices = m_current;
    MonteCarloSettings& settings = choices.Settings;
    settings.Method = static_cast<MonteCarloMethod>(Method->currentIndex());
    settings.BlockLength = BlockLength->value();
    settings.SkipProbability = SkipProbability->value();
    settings.Runs = Runs->value();
    bool seedRead = false;
    const qulonglong seed = Seed->text().toULongLong(&seedRead);
    choices.FixedSeed = seedRead;
    if (seedRead)
        settings.Seed = seed;
    settings.Compound = Compound->isChecked();
    bool startRead = false;
    const double start = QLocale::c().toDouble(StartBalance->text(), &startRead);
    settings.StartBalance = startRead ? std::optional<double>(start) : std::nullopt;
    settings.RuinPct = Ruin->value();
    settings.ConfidencePct = Confidence->value();
    return choices;
}

std::optional<MonteCarloChoices> Dialogs::AskMonteCarlo(const MonteCarloChoices& current)
{
    return current;
}

std::optional<MonteCarloChoices> QtDialogs::AskMonteCarlo(const MonteCarloChoices& current)
{
    MonteCarloDialog dialog(current, m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Choices();
}

} // namespace corvane

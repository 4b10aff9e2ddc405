#include "app/StrategiesWindow.h"

#include "app/Dialogs.h"
#include "charts/ComparisonChart.h"
#include "charts/ImageCanvas.h"
#include "portfolio/ComparisonText.h"
#include "portfolio/SettingsText.h"
#include "text/TimeZone.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <set>

namespace corvane {

namespace {

enum ListColumn
{
    kNumberColumn,
    kNameColumn,
    kCurrencyColumn,
    kTradesColumn,
    kWeightColumn,
    kClockColumn,
    kListColumns,
};

QString Text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

QTableWidgetItem* ReadOnlyItem(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

QString WeightText(double weight)
{
    return QString::number(weight, 'g', 10);
}

} // namespace

StrategiesWindow::StrategiesWindow(std::function<QStringList()> pickReports,
                                   std::function<std::optional<StrategySource>()> loadedReport, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_pickReports(std::move(pickReports))
    , m_loadedReport(std::move(loadedReport))
    , m_picture(std::make_unique<QImage>())
{
    setObjectName(QStringLiteral("StrategiesWindow"));
    setWindowTitle(QStringLiteral("Corvane4 - Strategies"));
    resize(900, 720);
    CreateControls();
    Recompute();
}

StrategiesWindow::~StrategiesWindow() = default;

void StrategiesWindow::CreateControls()
{
    AddButton = new QPushButton(QStringLiteral("Add reports..."), this);
    AddButton->setObjectName(QStringLiteral("AddButton"));
    AddLoadedButton = new QPushButton(QStringLiteral("Add the loaded report"), this);
    AddLoadedButton->setObjectName(QStringLiteral("AddLoadedButton"));
    RemoveButton = new QPushButton(QStringLiteral("Remove"), this);
    RemoveButton->setObjectName(QStringLiteral("RemoveButton"));
    ByMagicBox = new QCheckBox(QStringLiteral("A strategy for each magic number"), this);
    ByMagicBox->setObjectName(QStringLiteral("ByMagicBox"));
    PercentBox = new QCheckBox(QStringLiteral("Curves in % of the starting balance"), this);
    PercentBox->setObjectName(QStringLiteral("PercentBox"));
    TimeZoneEdit = new QLineEdit(this);
    TimeZoneEdit->setObjectName(QStringLiteral("TimeZoneEdit"));
    TimeZoneEdit->setPlaceholderText(QStringLiteral("the report's times"));
    TimeZoneEdit->setToolTip(QStringLiteral("Your time zone, as Europe/London or Asia/Tokyo: the times of each report "
                                            "whose server clock names a zone are read on it"));
    RatesEdit = new QLineEdit(this);
    RatesEdit->setObjectName(QStringLiteral("RatesEdit"));
    RatesEdit->setPlaceholderText(QStringLiteral("JPY=0.0067, EUR=1.08"));
    RatesEdit->setToolTip(QStringLiteral("The worth of one unit of each currency in the one combined in; without "
                                         "rates, different currencies are combined each on its own"));

    StrategyList = new QTableWidget(0, kListColumns, this);
    StrategyList->setObjectName(QStringLiteral("StrategyList"));
    StrategyList->setHorizontalHeaderLabels({QStringLiteral("#"), QStringLiteral("Strategy"),
                                             QStringLiteral("Currency"), QStringLiteral("Trades"),
                                             QStringLiteral("Weight"), QStringLiteral("Server clock")});
    StrategyList->verticalHeader()->hide();
    StrategyList->setSelectionBehavior(QAbstractItemView::SelectRows);
    StrategyList->horizontalHeader()->setSectionResizeMode(kNameColumn, QHeaderView::Stretch);
    StrategyList->horizontalHeaderItem(kClockColumn)
        ->setToolTip(QStringLiteral("Empty: the report's own times; hours (+3): a fixed shift; a zone (EET): the "
                                    "server's zone, read on your time zone"));
    Message = new QLabel(this);
    Message->setObjectName(QStringLiteral("Message"));
    Message->setWordWrap(true);

    ComparisonText = new QPlainTextEdit(this);
    ComparisonText->setObjectName(QStringLiteral("ComparisonText"));
    ComparisonText->setReadOnly(true);
    ComparisonText->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::Monospace);
    fixed.setPixelSize(11);
    ComparisonText->setFont(fixed);
    PictureLabel = new QLabel;
    PictureLabel->setObjectName(QStringLiteral("PictureLabel"));
    PictureLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* scroll = new QScrollArea;
    scroll->setWidget(PictureLabel);
    scroll->setWidgetResizable(true);
    Views = new QTabWidget(this);
    Views->setObjectName(QStringLiteral("Views"));
    Views->addTab(scroll, QStringLiteral("Curves and matrix"));
    Views->addTab(ComparisonText, QStringLiteral("Figures"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(AddButton);
    buttons->addWidget(AddLoadedButton);
    buttons->addWidget(RemoveButton);
    buttons->addWidget(ByMagicBox);
    buttons->addWidget(PercentBox);
    buttons->addStretch();
    auto* settings = new QHBoxLayout;
    settings->addWidget(new QLabel(QStringLiteral("Your time zone:"), this));
    settings->addWidget(TimeZoneEdit);
    settings->addWidget(new QLabel(QStringLiteral("Rates:"), this));
    settings->addWidget(RatesEdit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addLayout(settings);
    layout->addWidget(StrategyList, 1);
    layout->addWidget(Message);
    layout->addWidget(Views, 3);

    connect(AddButton, &QPushButton::clicked, this, [this] { AddReports(m_pickReports()); });
    connect(AddLoadedButton, &QPushButton::clicked, this, [this] {
        if (std::optional<StrategySource> loaded = m_loadedReport())
            AddSource(std::move(*loaded));
        else
            Message->setText(QStringLiteral("No report is loaded in the main window."));
    });
    connect(RemoveButton, &QPushButton::clicked, this, &StrategiesWindow::RemoveSelected);
    connect(ByMagicBox, &QCheckBox::toggled, this, &StrategiesWindow::Recompute);
    connect(PercentBox, &QCheckBox::toggled, this, &StrategiesWindow::ShowComparison);
    connect(TimeZoneEdit, &QLineEdit::editingFinished, this, &StrategiesWindow::Recompute);
    connect(RatesEdit, &QLineEdit::editingFinished, this, &StrategiesWindow::Recompute);
    connect(StrategyList, &QTableWidget::cellChanged, this, &StrategiesWindow::ListEdited);
}

const QImage& StrategiesWindow::Picture() const
{
    return *m_picture;
}

void StrategiesWindow::AddReports(const QStringList& paths)
{
    QStringList failed;
    for (const QString& path : paths) {
        try {
            StrategySource source = LoadStrategySource(LocalPath(QFileInfo(path).absoluteFilePath()));
            if (std::find(source.Kept.begin(), source.Kept.end(), 1) == source.Kept.end())
                failed << QFileInfo(path).fileName() + QStringLiteral(": no closed trade");
            else
                m_sources.push_back({std::move(source), QString()});
        } catch (const std::exception& error) {
            failed << QFileInfo(path).fileName() + QStringLiteral(": ") + QString::fromStdString(error.what());
        }
    }
    Recompute();
    if (!failed.isEmpty())
        Message->setText(failed.join(QLatin1Char('\n')));
}

void StrategiesWindow::AddSource(StrategySource source)
{
    m_sources.push_back({std::move(source), QString()});
    Recompute();
}

void StrategiesWindow::RemoveSelected()
{
    std::set<std::size_t> removed;
    for (const QModelIndex& index : StrategyList->selectionModel()->selectedRows())
        if (static_cast<std::size_t>(index.row()) < m_sourceOfRow.size())
            removed.insert(m_sourceOfRow[static_cast<std::size_t>(index.row())]);
    // From the last, so that the places of the others hold.
    for (const std::size_t source : std::vector<std::size_t>(removed.rbegin(), removed.rend()))
        m_sources.erase(m_sources.begin() + static_cast<std::ptrdiff_t>(source));
    Recompute();
}

void StrategiesWindow::ListEdited(int row, int column)
{
    if (m_filling || row < 0 || static_cast<std::size_t>(row) >= m_sourceOfRow.size())
        return;
    const QString text = StrategyList->item(row, column)->text();
    if (column == kClockColumn) {
        m_sources[m_sourceOfRow[static_cast<std::size_t>(row)]].Clock = text.trimmed();
    } else if (column == kWeightColumn) {
        try {
            m_weights[m_listed[static_cast<std::size_t>(row)].Name] = ParseWeight(text.toStdString());
        } catch (const std::exception& error) {
            Message->setText(QString::fromStdString(error.what()));
            return;
        }
    }
    Recompute();
}

void StrategiesWindow::Recompute()
{
    Message->clear();
    QStringList problems;
    m_listed.clear();
    m_sourceOfRow.clear();
    for (std::size_t s = 0; s < m_sources.size(); ++s) {
        ClockShift clock;
        try {
            clock = ClockOfText(m_sources[s].Clock.toStdString(), TimeZoneEdit->text().toStdString());
        } catch (const std::exception& error) {
            problems << QString::fromStdString(error.what()) + QStringLiteral(": its report's own times are shown");
        }
        std::vector<Strategy> ofSource = StrategiesOf(m_sources[s].Facts, ByMagicBox->isChecked(), clock);
        if (ofSource.empty())
            problems << QFileInfo(Text(m_sources[s].Facts.Path)).fileName() + QStringLiteral(": no closed trade");
        for (Strategy& strategy : ofSource) {
            m_listed.push_back(std::move(strategy));
            m_sourceOfRow.push_back(s);
        }
    }
    ComparisonSettings settings;
    for (const Strategy& strategy : m_listed) {
        const auto weight = m_weights.find(strategy.Name);
        settings.Weights.push_back(weight == m_weights.end() ? 1.0 : weight->second);
    }
    try {
        settings.Rates = ParseRates(RatesEdit->text().toStdString());
        m_comparison = Compare(m_listed, settings);
    } catch (const std::exception& error) {
        m_comparison.reset();
        problems << QString::fromStdString(error.what());
    }
    Message->setText(problems.join(QLatin1Char('\n')));
    FillList(settings.Weights);
    ShowComparison();
}

void StrategiesWindow::FillList(const std::vector<double>& weights)
{
    m_filling = true;
    StrategyList->setRowCount(static_cast<int>(m_listed.size()));
    for (std::size_t r = 0; r < m_listed.size(); ++r) {
        const Strategy& s = m_listed[r];
        const int row = static_cast<int>(r);
        StrategyList->setItem(row, kNumberColumn, ReadOnlyItem(QString::number(row + 1)));
        StrategyList->setItem(row, kNameColumn, ReadOnlyItem(Text(s.Name)));
        StrategyList->setItem(row, kCurrencyColumn,
                              ReadOnlyItem(s.Currency.empty() ? QStringLiteral("unknown") : Text(s.Currency)));
        StrategyList->setItem(row, kTradesColumn, ReadOnlyItem(QString::number(s.Figures.Trades)));
        StrategyList->setItem(row, kWeightColumn, new QTableWidgetItem(WeightText(weights[r])));
        StrategyList->setItem(row, kClockColumn, new QTableWidgetItem(m_sources[m_sourceOfRow[r]].Clock));
    }
    StrategyList->resizeColumnToContents(kNumberColumn);
    m_filling = false;
}

void StrategiesWindow::ShowComparison()
{
    if (!m_comparison) {
        ComparisonText->clear();
        *m_picture = QImage();
        PictureLabel->clear();
        return;
    }
    QStringList lines;
    for (const std::string& line : ComparisonLines(*m_comparison))
        lines << Text(line);
    ComparisonText->setPlainText(lines.join(QLatin1Char('\n')));
    *m_picture = DrawComparisonPicture(*m_comparison, PercentBox->isChecked());
    PictureLabel->setPixmap(QPixmap::fromImage(*m_picture));
}

} // namespace corvane

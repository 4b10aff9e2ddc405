// The window's keys: each command button's key, shown in its tooltip, the grids' Delete and Copy, and the
// chart's menu. The platform's standard key serves where it has one.
#include "app/MainWindow.h"

#include "app/ChartWidget.h"
#include "app/GridSelection.h"

#include <QAction>
#include <QPushButton>

#include <functional>

namespace corvane {

namespace {

// The platform's keys for `standard`, with `own` added when they do not hold it (Quit has none on
// Windows, Refresh is not F5 everywhere).
QList<QKeySequence> KeysFor(QKeySequence::StandardKey standard, const QKeySequence& own)
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(standard);
    if (!keys.contains(own))
        keys << own;
    return keys;
}

QString KeyText(const QList<QKeySequence>& keys)
{
    return keys.constFirst().toString(QKeySequence::NativeText);
}

// An action on `owner` that runs `command` on `keys`: anywhere in the window, or only while `owner` (a
// grid) has the focus.
void AddKeys(QWidget* owner, const QList<QKeySequence>& keys, Qt::ShortcutContext context,
             const std::function<void()>& command)
{
    auto* action = new QAction(owner);
    action->setShortcuts(keys);
    action->setShortcutContext(context);
    QObject::connect(action, &QAction::triggered, owner, command);
    owner->addAction(action);
}

} // namespace

void TMainForm::CreateKeys()
{
    const auto ctrl = [](Qt::Key key) { return QList<QKeySequence>{QKeySequence(Qt::CTRL | key)}; };
    const QList<QKeySequence> open = KeysFor(QKeySequence::Open, QKeySequence(Qt::CTRL | Qt::Key_O));
    const QList<QKeySequence> append{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O)};
    const QList<QKeySequence> reload = KeysFor(QKeySequence::Refresh, QKeySequence(Qt::Key_F5));
    const QList<QKeySequence> remove = KeysFor(QKeySequence::Delete, QKeySequence(Qt::Key_Delete));
    const QList<QKeySequence> copy = KeysFor(QKeySequence::Copy, QKeySequence(Qt::CTRL | Qt::Key_C));
    const QList<QKeySequence> quit = KeysFor(QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q));

    // A key that loads is a press of Load File: without Shift it replaces, with Shift it appends.
    AddKeys(this, open, Qt::WindowShortcut, [this] {
        AnalyzeButtonMouseDown(Qt::NoModifier);
        AnalyzeButtonClick();
    });
    AddKeys(this, append, Qt::WindowShortcut, [this] {
        AnalyzeButtonMouseDown(Qt::ShiftModifier);
        AnalyzeButtonClick();
    });
    // The other command keys are as Space on the button: its switch keeps what the last press set.
    AddKeys(this, reload, Qt::WindowShortcut, [this] { Button8Click(); });
    AddKeys(this, ctrl(Qt::Key_E), Qt::WindowShortcut, [this] { Button7Click(); });
    AddKeys(this, ctrl(Qt::Key_T), Qt::WindowShortcut, [this] { Button4Click(); });
    AddKeys(this, ctrl(Qt::Key_1), Qt::WindowShortcut, [this] { Button1Click(); });
    AddKeys(this, ctrl(Qt::Key_2), Qt::WindowShortcut, [this] { Button2Click(); });
    AddKeys(this, ctrl(Qt::Key_3), Qt::WindowShortcut, [this] { Button3Click(); });
    AddKeys(this, quit, Qt::WindowShortcut, [this] { close(); });
    AddKeys(Grid, remove, Qt::WidgetShortcut, [this] { DeleteButtonClick(); });
    // Delete on the alternate view deletes the rows it shows selected.
    AddKeys(XGrid, remove, Qt::WidgetShortcut, [this] {
        XGridClick();
        DeleteButtonClick();
    });
    AddKeys(Grid, copy, Qt::WidgetShortcut, [this] { CopyRows(Grid); });
    AddKeys(XGrid, copy, Qt::WidgetShortcut, [this] { CopyRows(XGrid); });

    AnalyzeButton->setToolTip(QStringLiteral("Load a report (%1). Shift-press, or %2, to append a statement "
                                             "to the trades loaded. Right-click for the reports opened before.")
                                  .arg(KeyText(open), KeyText(append)));
    Button1->setToolTip(QStringLiteral("The summary and the statistics (%1)").arg(KeyText(ctrl(Qt::Key_1))));
    Button2->setToolTip(QStringLiteral("The equity curve (%1)").arg(KeyText(ctrl(Qt::Key_2))));
    Button3->setToolTip(QStringLiteral("Pips by hour of the week, by open times (%1); Shift-press for close times")
                            .arg(KeyText(ctrl(Qt::Key_3))));
    Button10->setToolTip(QStringLiteral("Magic numbers and comments in place of the trades, or back"));
    DeleteButton->setToolTip(QStringLiteral("Delete the selected trades (%1 on the trades)").arg(KeyText(remove)));
    Button7->setToolTip(
        QStringLiteral("Export the trades as an HTML report (%1); Shift-press for a report without its picture")
            .arg(KeyText(ctrl(Qt::Key_E))));
    Button4->setToolTip(QStringLiteral("Export the trades as tab-separated text (%1)").arg(KeyText(ctrl(Qt::Key_T))));
    Button5->setToolTip(QStringLiteral("Every trade as one lot from a deposit of 10000; Shift-press for 100000"));
    Button8->setToolTip(QStringLiteral("Read the report again, keeping the symbols chosen (%1)").arg(KeyText(reload)));

    // The chart's own menu (a right-click on it).
    Image1->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* copyChart = new QAction(QStringLiteral("Copy the chart"), Image1);
    connect(copyChart, &QAction::triggered, this, &TMainForm::CopyChart);
    auto* saveChart = new QAction(QStringLiteral("Save the chart as PNG..."), Image1);
    connect(saveChart, &QAction::triggered, this, &TMainForm::SaveChart);
    Image1->addActions({copyChart, saveChart});

    AnalyzeButton->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(AnalyzeButton, &QWidget::customContextMenuRequested, this, &TMainForm::ShowRecentMenu);
}

} // namespace corvane

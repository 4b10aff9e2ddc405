// corvane4-screenshot REPORT OUT.png [--view report|curve|calendar|time-open|time-close|luck] [--alternate]
//                     [--scroll LINE] [--compare [REPORT...] [--by-magic] [--figures]]
// Starts the real window, loads REPORT through its Load File button (the open dialog answered with
// REPORT), shows the chosen view (for luck, once its run has ended; and, with --alternate, the magic numbers
// and comments in place of the trade grid) and saves a picture of the whole window. With --compare, presses
// "Compare", adds the reports that follow to the strategies window (each magic number a strategy with
// --by-magic; the figures' tab with --figures) and saves a picture of that window.
#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "app/MonteCarloRun.h"
#include "app/StrategiesWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>

#include <clocale>
#include <cstdio>

namespace {

class AnsweredDialogs : public corvane::Dialogs
{
public:
    explicit AnsweredDialogs(QString report) : m_report(std::move(report)) {}
    std::optional<QString> OpenReport(const QString&) override { return m_report; }
    std::optional<QString> OpenImport() override { return std::nullopt; }
    std::optional<QString> SaveTarget(const QString&, const QString&) override { return std::nullopt; }
    void ShowError(const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }

private:
    QString m_report;
};

void Wait(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

// A mouse press with Shift held, then the click: as a user pressing the button with Shift.
void ShiftClick(QPushButton* button)
{
    const QPointF centre(button->width() / 2.0, button->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, centre, button->mapToGlobal(centre), Qt::LeftButton, Qt::LeftButton,
                      Qt::ShiftModifier);
    QApplication::sendEvent(button, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, button->mapToGlobal(centre), Qt::LeftButton, Qt::NoButton,
                        Qt::ShiftModifier);
    QApplication::sendEvent(button, &release);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3) {
        std::fprintf(
            stderr,
            "usage: corvane4-screenshot REPORT OUT.png [--view report|curve|time-open|time-close|luck] [--alternate] "
            "[--scroll LINE]\n");
        return 1;
    }
    QString view = QStringLiteral("report");
    const int viewAt = static_cast<int>(args.indexOf(QStringLiteral("--view")));
    if (viewAt > 0 && viewAt + 1 < args.size())
        view = args.at(viewAt + 1);

    AnsweredDialogs dialogs(QFileInfo(args.at(1)).absoluteFilePath());
    corvane::TMainForm window(dialogs);
    window.show();
    Wait(250);
    window.AnalyzeButton->click();
    Wait(250);
    if (view == QStringLiteral("curve"))
        window.Button2->click();
    else if (view == QStringLiteral("time-open"))
        window.Button3->click();
    else if (view == QStringLiteral("time-close"))
        ShiftClick(window.Button3);
    else if (view == QStringLiteral("luck"))
        window.Button11->click();
    else if (view == QStringLiteral("calendar"))
        window.ShowCalendarCurve();
    for (int waited = 0; window.MonteCarlo().Running() && !window.MonteCarlo().Finished() && waited < 600; ++waited)
        Wait(100);
    if (args.contains(QStringLiteral("--alternate")))
        window.Button10->click();
    // The summary text scrolled so that its line LINE (from 0) is the first one on show.
    const int scrollAt = static_cast<int>(args.indexOf(QStringLiteral("--scroll")));
    if (scrollAt > 0 && scrollAt + 1 < args.size())
        window.Memo1->verticalScrollBar()->setValue(args.at(scrollAt + 1).toInt());
    Wait(250);
    QWidget* shown = &window;
    if (const int compareAt = static_cast<int>(args.indexOf(QStringLiteral("--compare"))); compareAt > 0) {
        window.CompareButton->click();
        corvane::StrategiesWindow* strategies = window.Strategies();
        QStringList more;
        for (int i = compareAt + 1; i < args.size() && !args.at(i).startsWith(QStringLiteral("--")); ++i)
            more << QFileInfo(args.at(i)).absoluteFilePath();
        strategies->ByMagicBox->setChecked(args.contains(QStringLiteral("--by-magic")));
        strategies->AddReports(more);
        strategies->Views->setCurrentIndex(args.contains(QStringLiteral("--figures")) ? 1 : 0);
        Wait(250);
        shown = strategies;
    }
    if (!shown->grab().save(args.at(2))) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(args.at(2)));
        return 1;
    }
    return 0;
}

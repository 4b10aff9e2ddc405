// soak-run [CYCLES] [TRADES]: long use of the window without a display. Each cycle loads a generated
// statement through Load File, clicks the symbol and magic lists, deletes a block of trades,
// normalizes, writes both exports and reloads. Memory in use is read after the first cycle and at the
// end; the run fails (exit 1) when it grew by more than a tenth, or when a command reported an error.

#include "ReportGenerator.h"
#include "app/Dialogs.h"
#include "app/GridSelection.h"
#include "app/MainWindow.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's count of live heap bytes (declared here: not every compiler ships its header).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

class SoakDialogs : public corvane::Dialogs
{
public:
    QString Report;
    QString Target;
    int Errors = 0;

    std::optional<QString> OpenReport(const QString&) override { return Report; }
    std::optional<QString> OpenImport() override { return std::nullopt; }
    std::optional<QString> SaveTarget(const QString&, const QString&) override { return Target; }
    void ShowError(const QString& text) override
    {
        ++Errors;
        std::fprintf(stderr, "error: %s\n", qPrintable(text));
    }
};

// Memory in use now, in kB. Under AddressSanitizer the live heap as its allocator counts it (its
// quarantine and caches grow the resident size for a long while without any leak); otherwise the
// resident size (VmRSS of /proc/self/status).
long ResidentKb()
{
#if defined(__SANITIZE_ADDRESS__)
    return static_cast<long>(__sanitizer_get_current_allocated_bytes() / 1024);
#endif
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return 0;
}

void Cycle(corvane::TMainForm& window, SoakDialogs& dialogs, const std::filesystem::path& folder)
{
    window.AnalyzeButton->click();
    QListWidget* pairs = window.PairsListBox;
    pairs->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    pairs->selectAll();
    window.Timer1Timer();
    if (window.MagicListBox->count() > 1) {
        window.MagicListBox->setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
        window.MagicListBox->selectAll();
    }
    QTableView* grid = window.Grid;
    grid->selectionModel()->select(QItemSelection(grid->model()->index(10, 0), grid->model()->index(60, 14)),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    window.DeleteButton->click();
    window.Button5->click();
    dialogs.Target = QString::fromStdString((folder / "soak.txt").string());
    window.Button4->click();
    dialogs.Target = QString::fromStdString((folder / "soak.html").string());
    window.Button7->click();
    window.Button8->click();
    QApplication::processEvents();
}

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    const int cycles = argc > 1 ? std::atoi(argv[1]) : 1000;
    const long long trades = argc > 2 ? std::atoll(argv[2]) : 10000;

    // A folder of this run's own: two runs side by side must not remove each other's files.
    std::string pattern = (std::filesystem::temp_directory_path() / "corvane-soak-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("soak-run: cannot create its folder");
        return 1;
    }
    const std::filesystem::path folder = pattern;
    const std::string report = (folder / "statement.htm").string();
    corvane::bench::WriteReport(corvane::bench::ReportType::Statement, report, trades);

    SoakDialogs dialogs;
    dialogs.Report = QString::fromStdString(report);
    corvane::TMainForm window(dialogs);
    window.Timer1->stop();
    window.show();

    Cycle(window, dialogs, folder);
    const long first = ResidentKb();
    for (int i = 1; i < cycles; ++i) {
        Cycle(window, dialogs, folder);
        if (i % 100 == 0)
            std::printf("cycle %d: %ld kB in use\n", i, ResidentKb());
    }
    const long last = ResidentKb();
    std::printf("%d cycles of %lld trades: %ld kB after the first, %ld kB at the end, %d errors\n", cycles, trades,
                first, last, dialogs.Errors);
    std::filesystem::remove_all(folder);
    return dialogs.Errors == 0 && last <= first + first / 10 ? 0 : 1;
}

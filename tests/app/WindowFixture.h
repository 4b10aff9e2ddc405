#pragma once

#include "FakeDialogs.h"
#include "ReportBuilder.h"
#include "TempDir.h"
#include "app/MainWindow.h"
#include "app/WindowSettings.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

// A failed comparison shows a QString as its text rather than as its bytes.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace corvane::test {

// A path as the window keeps it, remembers it and gives it to its dialogs: in Qt's form, with '/' on every
// system (the test's folder is named with '\' on Windows). The window shows it with the system's separators.
inline QString QtPath(const std::string& path)
{
    return QDir::fromNativeSeparators(QString::fromStdString(path));
}

inline StatementTrade Trade(std::string ticket, std::string symbol, std::string profit = "100.00",
                            std::string magic = "")
{
    return {.Ticket = ticket, .Symbol = symbol, .Profit = profit, .Magic = magic};
}

// The window's settings in a file of the test's folder.
inline std::unique_ptr<QSettings> SettingsFile(const TempDir& dir)
{
    return std::make_unique<QSettings>(QString::fromStdString(dir.File("corvane4.conf")), QSettings::IniFormat);
}

/**
 * A shown main window with fake dialogs. The window's timer is stopped so that ticks come only when a
 * test calls Timer1Timer(); everything else reaches the window as the user's clicks do. It remembers
 * nothing between runs unless made `remembering`, with its settings in the test's folder.
 */
class WindowTest : public ::testing::Test
{
protected:
    explicit WindowTest(bool remembering = false) : settings(remembering ? SettingsFile(dir) : nullptr)
    {
        timerRan = window.Timer1->isActive();
        window.Timer1->stop();
        window.show();
    }

    template <typename T> T* Find(const char* name)
    {
        T* control = window.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    QPushButton* Button(const char* name) { return Find<QPushButton>(name); }
    QListWidget* List(const char* name) { return Find<QListWidget>(name); }
    QTableView* Table(const char* name) { return Find<QTableView>(name); }
    QPlainTextEdit* Memo() { return Find<QPlainTextEdit>("Memo1"); }
    QLabel* Busy() { return Find<QLabel>("Label1"); }

    std::string Write(const std::string& name, const std::vector<StatementTrade>& trades)
    {
        return dir.Write(name, test::Statement(trades, "1000.00"));
    }

    // "Load File" clicked with the mouse, the dialog answering `path`.
    void Load(const std::string& path, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        dialogs.Report = QString::fromStdString(path);
        QTest::mouseClick(Button("AnalyzeButton"), Qt::LeftButton, modifiers);
    }

    // One column of a grid as the user sees it, trade by trade.
    std::vector<std::string> Column(const char* grid, int column)
    {
        std::vector<std::string> cells;
        const QAbstractItemModel* model = Table(grid)->model();
        for (int row = 0; row < model->rowCount(); ++row)
            cells.push_back(model->index(row, column).data().toString().toStdString());
        return cells;
    }

    // The entries of a list, and which of them are selected.
    std::vector<std::string> Entries(const char* list)
    {
        std::vector<std::string> entries;
        for (int i = 0; i < List(list)->count(); ++i)
            entries.push_back(List(list)->item(i)->text().toStdString());
        return entries;
    }
    std::vector<bool> Selection(const char* list)
    {
        std::vector<bool> flags;
        for (int i = 0; i < List(list)->count(); ++i)
            flags.push_back(List(list)->item(i)->isSelected());
        return flags;
    }

    // Whether the summary text box holds `text`.
    bool MemoHas(const QString& text) { return Memo()->toPlainText().contains(text); }

    // The selected rows of a grid, counted as the grid counts them (the header row is row 0).
    std::vector<int> SelectedRows(const char* grid)
    {
        std::vector<int> rows;
        for (const QModelIndex& index : Table(grid)->selectionModel()->selectedRows())
            rows.push_back(index.row() + 1);
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    // A mouse click on a row of a grid (the header row is row 0), and the selection copy it starts.
    void ClickRow(const char* grid, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTableView* view = Table(grid);
        const QPoint centre = view->visualRect(view->model()->index(row - 1, 1)).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, centre);
        QCoreApplication::processEvents();
    }

    Rgb Pixel(int x, int y) { return window.Canvas().Image().pixel(x, y) & 0xffffff; }

    TempDir dir;
    FakeDialogs dialogs;
    WindowSettings settings;
    TMainForm window{dialogs, settings};
    bool timerRan = false;
};

} // namespace corvane::test

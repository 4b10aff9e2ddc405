#include "WindowFixture.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QRegularExpression>
#include <QUrl>

namespace corvane {
namespace {

using test::Trade;
using Cells = std::vector<std::string>;

// Files dropped on the window, as the toolkit delivers them: the enter event, then the drop.
class OpenFilesTest : public test::WindowTest
{
protected:
    bool Drop(const std::vector<std::string>& paths, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const std::string& path : paths)
            urls << QUrl::fromLocalFile(QString::fromStdString(path));
        data.setUrls(urls);
        const QPointF centre = window.rect().center();
        QDragEnterEvent enter(centre.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, modifiers);
        QCoreApplication::sendEvent(&window, &enter);
        QDropEvent drop(centre, Qt::CopyAction, &data, Qt::LeftButton, modifiers);
        QCoreApplication::sendEvent(&window, &drop);
        return enter.isAccepted();
    }

    std::string First() { return Write("first.htm", {Trade("1003", "eurusd"), Trade("1001", "eurusd")}); }
    std::string Second() { return Write("second.htm", {Trade("1004", "gbpusd"), Trade("1002", "gbpusd")}); }
    std::string TesterReport() { return dir.Write("tester.htm", test::TesterBuilder().Text()); }
};

TEST_F(OpenFilesTest, DroppedFilesLoadAppendOrImport)
{
    EXPECT_TRUE(Drop({First()}));
    EXPECT_EQ(Column("Grid", kTicket), (Cells{"1003", "1001"}));
    Drop({Second()}, Qt::ShiftModifier);
    EXPECT_EQ(Column("Grid", kTicket), (Cells{"1001", "1002", "1003", "1004"})) << "Shift appends";
    Drop({Second()});
    EXPECT_EQ(Column("Grid", kTicket), (Cells{"1004", "1002"})) << "without Shift the report replaces";
    Drop({First(), Second()});
    EXPECT_EQ(Column("Grid", kTicket), (Cells{"1001", "1002", "1003", "1004"}))
        << "the first loaded, the rest appended";

    const std::string exported = dir.File("export.txt");
    dialogs.SaveTarget_ = QString::fromStdString(exported);
    window.Button4->click();
    Drop({First()});
    Drop({exported});
    EXPECT_EQ(Column("Grid", kTicket), (Cells{"1001", "1002", "1003", "1004"})) << "the export is imported";
    EXPECT_EQ(window.GetSession().Report.Title, exported);
    EXPECT_TRUE(dialogs.Errors.isEmpty());
}

TEST_F(OpenFilesTest, ADropDuringALoadDoesNothingAndTheLabelShowsThePercentRead)
{
    QStringList shown;
    bool dropAccepted = true;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (Busy()->isHidden())
            return;
        shown << Busy()->text();
        if (shown.size() == 1)
            dropAccepted = Drop({Second()});
    });
    watch.start(0);
    std::vector<test::StatementTrade> trades;
    for (int i = 0; i < 400; ++i)
        trades.push_back(Trade(std::to_string(2000 + i), "eurusd"));
    Drop({Write("long.htm", trades)});
    watch.stop();

    EXPECT_FALSE(dropAccepted);
    EXPECT_EQ(window.GetSession().Full.RowCount() - 1, 400) << "the drop during the load changed nothing";
    ASSERT_FALSE(shown.isEmpty());
    int last = -1;
    for (const QString& text : shown) {
        const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("^Loading\\.\\.\\. (\\d+)%$")).match(text);
        ASSERT_TRUE(match.hasMatch()) << text.toStdString();
        EXPECT_GE(match.captured(1).toInt(), last);
        last = match.captured(1).toInt();
    }
    EXPECT_GT(last, 50);
    EXPECT_LE(last, 100);
    EXPECT_EQ(Busy()->text(), QStringLiteral("Loading..."));
}

TEST_F(OpenFilesTest, ArgumentsLoadTheFirstAndAppendTheRestAndAnIgnoredAppendSaysWhy)
{
    const QString tester = QString::fromStdString(TesterReport());
    window.OpenFiles({QString::fromStdString(First()), QString::fromStdString(Second()), tester}, false);
    EXPECT_EQ(Column("Grid", kTicket), (Cells{"1001", "1002", "1003", "1004"}));
    ASSERT_EQ(dialogs.Errors.size(), 1);
    EXPECT_TRUE(dialogs.Errors.front().startsWith(tester + QStringLiteral(" was not appended")));
}

} // namespace
} // namespace corvane

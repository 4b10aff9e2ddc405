// The more statistics of every real report hold in every state of the trade table.
#include "Samples.h"
#include "analysis/Commands.h"
#include "analysis/MoreStatistics.h"
#include "analysis/TableFacts.h"
#include "edit/DeleteTrades.h"
#include "edit/NormalizeTrades.h"

#include <gtest/gtest.h>

#include <cmath>

namespace corvane {
namespace {

// No percentage beyond a million and none that is not a number.
void ExpectSane(const MoreFigures& f)
{
    std::vector<double> pcts = {f.MaxDrawdownPct, f.ShortWonPct, f.LongWonPct, f.GainPct.value_or(0.0)};
    for (const MonthFigures& month : f.Months) {
        pcts.push_back(month.GainPct.value_or(0.0));
        EXPECT_TRUE(month.GainPct || !f.GainPct) << month.Month << ": no gain while the whole has one";
    }
    for (const double pct : pcts)
        EXPECT_TRUE(std::isfinite(pct) && std::fabs(pct) <= 1e6) << pct;
}

// The figures worked out afresh from the visible table while it shows every trade in the table's order.
MoreFigures Afresh(const Session& session)
{
    return ComputeMoreStatistics(ClosedTrades(session.Grid, session.XGrid, kXMagic, session.Report), session.Report);
}

void Select(SelectionList& list, int only)
{
    for (int i = 0; i < list.Count(); ++i)
        list.SetSelected(i, only < 0 || i == only);
}

TEST(EditedFigures, HoldInEveryStateOfEveryRealReport)
{
    CORVANE_REQUIRE_SAMPLES();
    for (const std::string& path : test::EverySampleReport()) {
        SCOPED_TRACE(path);
        Session session;
        ASSERT_EQ(LoadAndFilter(session, path, LoadMode::Replace), LoadOutcome::Loaded);
        const MagicFilter filter = MagicFilterFor(session);
        ASSERT_TRUE(session.ShownMore);
        const MoreFigures loaded = *session.ShownMore;
        EXPECT_EQ(loaded, Afresh(session));
        ExpectSane(loaded);
        EXPECT_EQ(ComputeMoreStatistics(ClosedTradeList{KeptClosedTrades(session), {}, {}}, session.Report).GainPct,
                  loaded.GainPct);

        // A click that keeps the first entry of a list alone, and one that keeps them all again.
        for (SelectionList* list : {&session.Pairs, &session.Magic}) {
            if (list->Count() < 2 || (list == &session.Magic && filter == MagicFilter::Off))
                continue;
            Select(*list, 0);
            list == &session.Pairs ? PairsListChanged(session, filter) : MagicListChanged(session, filter);
            ExpectSane(*session.ShownMore);
            Select(*list, -1);
            list == &session.Pairs ? PairsListChanged(session, filter) : MagicListChanged(session, filter);
            EXPECT_EQ(*session.ShownMore, loaded);
        }

        // Two trades deleted: the figures of the table that remains.
        for (const int row : {2, 4})
            if (row < session.Grid.RowCount() && session.Full.RowCount() > 2)
                DeleteTrades(session, row, row, filter);
        EXPECT_EQ(*session.ShownMore, Afresh(session));
        ExpectSane(*session.ShownMore);

        // Normalize: the gain runs on its deposit of 10000, without the report's deposits and withdrawals.
        if (!NormalizeTrades(session, false, filter))
            continue;
        double balance = 10000, growth = 1;
        for (const ClosedTrade& trade : ClosedTrades(session.Full, session.Full, kMagic, session.Report).Trades) {
            growth = balance > 0 ? growth * (balance + trade.Result) / balance : NAN;
            balance += trade.Result;
        }
        if (std::isnan(growth)) {
            EXPECT_FALSE(session.ShownMore->GainPct);
        } else if (session.ShownMore->Trades > 0) {
            ASSERT_TRUE(session.ShownMore->GainPct);
            EXPECT_NEAR(*session.ShownMore->GainPct, (growth - 1) * 100, 1e-6 * std::max(1.0, std::fabs(growth)));
        }
        ExpectSane(*session.ShownMore);
    }
}

} // namespace
} // namespace corvane

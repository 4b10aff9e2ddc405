#include "TestReports.h"

#include <gtest/gtest.h>

namespace corvane::test {

Cells HeadLines(const std::string& titleLine, std::string fifth)
{
    return {"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">", "<html>", "  <head>", titleLine, std::move(fifth)};
}

std::string PendingOrderLine(const std::string& type, const std::string& ticket)
{
    return "<tr align=right><td>9</td><td class=msdate>2024.01.02 09:00</td><td>" + type
           + "</td><td align=right>0.10</td><td align=right>" + ticket + "</td></tr>";
}

std::string WithNul(std::string_view before, std::string_view after)
{
    return std::string(before) + '\0' + std::string(after);
}

LoadOutcome LoadBytes(Session& session, std::string_view bytes, LoadMode mode, const TradeLineCallback& onTradeLine,
                      std::size_t halvesFrom)
{
    const TempDir dir;
    return LoadReport(session, dir.Write("report.htm", bytes), mode, onTradeLine, {}, halvesFrom);
}

namespace {

// What a load leaves of a report, cell by cell and entry by entry, for comparing two loads.
std::string Outcome(const Session& session)
{
    std::string text = JoinCrLf(AllRows(session.Full));
    for (const SelectionList* list : {&session.Pairs, &session.Magic})
        text += JoinCrLf(Entries(*list));
    const ReportState& report = session.Report;
    for (const corvane::BalanceRow& row : report.BalanceRows)
        text += row.Time + "|" + std::to_string(row.Amount) + "|" + row.Comment + "|" + std::to_string(row.Ticket)
                + (row.Credit ? "|credit\n" : "\n");
    for (const auto& [order, line] : report.CloseLines)
        text += std::to_string(order) + ">" + std::to_string(line) + "\n";
    text += std::to_string(static_cast<int>(report.Layout)) + report.Symbol + report.Title;
    return text;
}

} // namespace

Session Load(std::string_view bytes)
{
    Session session;
    EXPECT_EQ(LoadBytes(session, bytes), LoadOutcome::Loaded);
    Session halves;
    EXPECT_EQ(LoadBytes(halves, bytes, LoadMode::Replace, {}, 0), LoadOutcome::Loaded);
    EXPECT_EQ(Outcome(halves), Outcome(session)) << "the body read in two halves at once";
    return session;
}

} // namespace corvane::test

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

LoadOutcome LoadBytes(Session& session, std::string_view bytes, LoadMode mode, const TradeLineCallback& onTradeLine)
{
    const TempDir dir;
    return LoadReport(session, dir.Write("report.htm", bytes), mode, onTradeLine);
}

Session Load(std::string_view bytes)
{
    Session session;
    EXPECT_EQ(LoadBytes(session, bytes), LoadOutcome::Loaded);
    return session;
}

} // namespace corvane::test

#include "trades/Session.h"

#include "text/TextRoutines.h"

namespace corvane {

void ForgetSummary(Session& session)
{
    session.Memo.clear();
    session.MemoHeading.reset();
    session.MoreMemo.clear();
    session.ShownMore.reset();
    session.ShownKept.clear();
    session.Check.clear();
    session.Agrees.reset();
}

bool NothingLoaded(const Session& session)
{
    const std::string_view profit = session.Full.Cell(kProfit, 1);
    return profit.empty() || profit == "0";
}

std::string MagicKeyOf(std::string_view magicText)
{
    constexpr std::string_view kNoMagicKey = "           0";
    return magicText.empty() ? std::string(kNoMagicKey) : PadLeft(magicText, 8);
}

} // namespace corvane

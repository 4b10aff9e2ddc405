#include "export/SpreadsheetText.h"

#include "reports/html/HtmlMarkup.h"
#include "text/Errors.h"
#include "text/Numbers.h"
#include "text/TextRoutines.h"

#include <algorithm>

namespace corvane {

std::string DecodeHtmlEntities(std::string_view text)
{
    std::string decoded;
    decoded.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t amp = text.find('&', i);
        decoded.append(text.substr(i, amp == std::string_view::npos ? std::string_view::npos : amp - i));
        if (amp == std::string_view::npos)
            break;
        const std::size_t length = CharacterReference(text.substr(amp), decoded);
        if (length == 0)
            decoded.push_back('&');
        i = amp + std::max<std::size_t>(length, 1);
    }
    return decoded;
}

bool IsNumberCell(std::string_view text)
{
    if (IsBlankCell(text))
        return false;
    try {
        ParseMoneyCell(text);
        return true;
    } catch (const ConversionError&) {
        return false;
    }
}

std::string GuardedFromFormula(std::string text)
{
    const bool formulaStart =
        !text.empty() && (text.front() == '=' || text.front() == '+' || text.front() == '-' || text.front() == '@');
    if (formulaStart && !IsNumberCell(text))
        text.insert(text.begin(), '\'');
    return text;
}

std::string SpreadsheetCell(std::string_view utf8, bool entitiesKept)
{
    // A decoded "&nbsp;" pads as a blank does.
    const std::string decoded = entitiesKept ? DecodeHtmlEntities(utf8) : std::string(utf8);
    return GuardedFromFormula(std::string(Trimmed(decoded)));
}

std::string TabSeparatedLine(const std::vector<std::string>& cells)
{
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            line += '\t';
        for (const char c : cells[i])
            line += c == '\t' || c == '\r' || c == '\n' ? ' ' : c;
    }
    line += '\n';
    return line;
}

} // namespace corvane

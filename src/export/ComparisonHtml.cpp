#include "export/ComparisonHtml.h"

#include "export/ReplacingFile.h"
#include "portfolio/ComparisonText.h"
#include "text/Numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace corvane {

namespace {

std::string Escaped(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// The cell's colour: white for 0, towards red for 1 and towards blue for -1, grey for none.
std::string CellColour(const std::optional<double>& value)
{
    if (!value)
        return "#E8E8E8";
    const double v = std::clamp(*value, -1.0, 1.0);
    const auto channel = [](double share, int full) {
        return static_cast<int>(std::lround(255 - share * (255 - full)));
    };
    char text[8];
    if (v >= 0)
        std::snprintf(text, sizeof text, "#%02X%02X%02X", channel(v, 0xe0), channel(v, 0x40), channel(v, 0x40));
    else
        std::snprintf(text, sizeof text, "#%02X%02X%02X", channel(-v, 0x40), channel(-v, 0x60), channel(-v, 0xe0));
    return text;
}

} // namespace

void WriteComparisonHtml(std::ostream& out, const Comparison& comparison, const std::string& pictureName)
{
    const char* eol = "\r\n";
    out << "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">" << eol
        << "<html>" << eol << "<head>" << eol
        << "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">" << eol
        << "<title>Corvane4 - strategies compared</title>" << eol << "</head>" << eol << "<body>" << eol
        << "<h1>Strategies compared</h1>" << eol << "<pre>" << eol;
    for (const std::string& line : ComparisonLines(comparison))
        out << Escaped(line) << eol;
    out << "</pre>" << eol;
    const CorrelationMatrix& m = comparison.Correlation;
    if (m.Size > 0) {
        out << "<h2>Correlation of the daily results</h2>" << eol << "<table border=1 cellspacing=0 cellpadding=4>"
            << eol << "<tr><th></th>";
        for (std::size_t c = 0; c < m.Size; ++c)
            out << "<th>" << c + 1 << "</th>";
        out << "</tr>" << eol;
        for (std::size_t r = 0; r < m.Size; ++r) {
            out << "<tr><th title=\"" << Escaped(comparison.Strategies[r].Name) << "\">" << r + 1 << "</th>";
            for (std::size_t c = 0; c < m.Size; ++c)
                out << "<td bgcolor=\"" << CellColour(m.Value(r, c)) << "\">"
                    << (m.Value(r, c) ? FormatRounded(*m.Value(r, c), 2) : "n/a") << "<br>" << m.Together(r, c)
                    << "d</td>";
            out << "</tr>" << eol;
        }
        out << "</table>" << eol;
    }
    if (!pictureName.empty())
        out << "<p><img src=\"" << Escaped(pictureName) << "\" alt=\"The strategies' curves, their combination and "
            << "the correlation matrix\"></p>" << eol;
    out << "</body>" << eol << "</html>" << eol;
}

void ExportComparisonHtml(const Comparison& comparison, const std::string& path, const std::string& pictureName)
{
    ReplacingFile file(path);
    WriteComparisonHtml(file.Stream(), comparison, pictureName);
    file.Commit();
}

} // namespace corvane

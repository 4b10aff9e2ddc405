#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// One cell of a table row.
struct HtmlCell
{
    // The cell's text: tags left out, character references decoded (&nbsp; as a blank), tabs and line
    // ends as blanks, blanks at either end dropped.
    std::string_view Text;
    int ColSpan = 1;
    bool Hidden = false; // class="hidden": a cell the page does not show
    bool Cut = false;    // its text went on beyond the limit of a cell's text and was cut there
};

// A table row as the scanner hands it over: a view of cells kept elsewhere, valid until the next row.
// The cells' texts view one text, in order.
class HtmlRow
{
public:
    HtmlRow(const HtmlCell* cells, int size) : m_cells(cells), m_size(size) {}

    int Size() const { return m_size; }
    const HtmlCell& operator[](int i) const { return m_cells[i]; }

    bool HeaderColour = false; // bgcolor="#E5F0FC": the row that heads a table's columns
    bool Complete = true;      // false for a row the text ended in the middle of

private:
    const HtmlCell* m_cells;
    int m_size;
};

class HtmlRowSink
{
public:
    virtual ~HtmlRowSink() = default;
    virtual void OnRow(const HtmlRow& row) = 0;
    // "</table>": the table ended where it should, after its last row was handed over.
    virtual void OnTableEnd() {}
    // While true, rows other than column-header rows are passed over unread: a table the sink has no
    // use for costs no more than finding its end.
    virtual bool SkipsRows() const { return false; }
};

/**
 * Cuts an HTML page, fed as UTF-8 text in pieces of any size, into table rows of cells, without
 * building a document: "<tr" starts a row (ending the one before, whose "</tr>" may be missing),
 * "<td" and "<th" start a cell, "</table>" ends a row and then the table. Text outside cells is
 * left out, but for the page's title; comments, style sheets and scripts are skipped. The generator
 * meta tag is kept.
 *
 * Damaged text has limits: a tag without ">" within 64 KB is taken as text, a row holds at most 64
 * cells and a cell at most kMaxCellText bytes of text; what goes beyond is dropped (a cell tells it
 * was cut, unless only blanks were dropped).
 */
class HtmlRowScanner
{
public:
    static constexpr std::size_t kMaxCellText = 1 << 16;

    explicit HtmlRowScanner(HtmlRowSink& sink) : m_sink(sink) {}

    void Feed(std::string_view text);
    // The end of the text: a row still open is handed over with Complete false.
    void Finish();

    const std::string& Title() const { return m_title; }
    // The content of <meta name="generator" content="...">, or "".
    const std::string& Generator() const { return m_generator; }
    // The code page the first <meta> tag with "charset=" declares, as DeclaredCodePage names it, or "".
    const std::string& DeclaredCharset() const { return m_charset; }
    // Whether a "<body" tag has been met: the head is over.
    bool BodyStarted() const { return m_bodyStarted; }
    // Whether "</html>" has been met: the page ended where it should.
    bool EndSeen() const { return m_endSeen; }

private:
    enum class Mode
    {
        Markup,
        Comment,
        RawText, // the content of <style> or <script>, up to its closing tag
    };

    // Cuts `text` as far as it can be cut without the text after it; returns how far that is.
    std::size_t Process(std::string_view text, bool final);
    void Tag(std::string_view tag);
    void Meta(std::string_view tag);
    void Text(std::string_view text);
    void StartRow(std::string_view tag);
    void EndRow(bool complete);
    void StartCell(std::string_view tag);
    void EndCell();
    std::string* TextTarget(std::size_t& start);

    HtmlRowSink& m_sink;
    std::string m_buffer; // the end of the text that could not be cut yet
    Mode m_mode = Mode::Markup;
    std::string m_rawEnd; // "</style" or "</script"
    // The open row: its cells' texts end to end in m_rowText, their views set when the row is handed over.
    struct Span
    {
        std::size_t Start = 0;
        std::size_t Length = 0;
    };
    std::vector<HtmlCell> m_cells;
    std::vector<Span> m_spans;
    std::string m_rowText;
    int m_cellCount = 0;
    bool m_headerColour = false;
    bool m_rowOpen = false;
    bool m_rowSkipped = false; // the sink passes over the open row
    bool m_cellOpen = false;
    bool m_inTitle = false;
    bool m_bodyStarted = false;
    bool m_endSeen = false;
    std::string m_title;
    std::string m_generator;
    std::string m_charset;
};

} // namespace corvane

#include "reports/html/RowReadAhead.h"

#include <algorithm>

namespace corvane {

namespace {

// A batch is handed over at this many rows, or this much text.
constexpr std::size_t kBatchRows = 1024;
constexpr std::size_t kBatchText = 1 << 18;

} // namespace

// The scanner's sink on the reading thread: copies the rows into batches and counts the column-header
// rows for the rule of the rows passed over.
class RowReadAhead::BatchSink final : public HtmlRowSink
{
public:
    BatchSink(RowReadAhead& owner, int skippedTable)
        : m_owner(owner)
        , m_skippedTable(skippedTable)
        , m_batch(std::make_unique<Batch>())
    {
    }

    void OnRow(const HtmlRow& row) override
    {
        if (Stopped)
            return;
        Batch& batch = *m_batch;
        batch.Rows.push_back({batch.Cells.size(), row.Size(), row.HeaderColour, row.Complete, false});
        // The scanner's cells view one text, in order: it is copied whole, blanks trimmed off included.
        const char* const first = row.Size() > 0 ? row[0].Text.data() : nullptr;
        const char* const end =
            row.Size() > 0 ? row[row.Size() - 1].Text.data() + row[row.Size() - 1].Text.size() : nullptr;
        const std::size_t at = batch.Text.size();
        batch.Text.append(first, static_cast<std::size_t>(end - first));
        for (int i = 0; i < row.Size(); ++i) {
            batch.Starts.push_back(at + static_cast<std::size_t>(row[i].Text.data() - first));
            batch.Lengths.push_back(row[i].Text.size());
            batch.Cells.push_back({std::string_view(), row[i].ColSpan, row[i].Hidden, row[i].Cut});
        }
        if (row.HeaderColour && row.Complete)
            ++m_headerRows;
        if (batch.Rows.size() >= kBatchRows || batch.Text.size() >= kBatchText)
            Flush();
    }

    void OnTableEnd() override
    {
        if (Stopped)
            return;
        m_batch->Rows.push_back({.FirstCell = m_batch->Cells.size(), .TableEnd = true});
    }

    bool SkipsRows() const override { return m_headerRows == m_skippedTable; }

    void Flush()
    {
        if (!Stopped && !m_batch->Rows.empty())
            Stopped = !m_owner.Publish(m_batch);
    }

    bool Stopped = false;

private:
    RowReadAhead& m_owner;
    const int m_skippedTable;
    int m_headerRows = 0;
    std::unique_ptr<Batch> m_batch;
};

namespace {

// A piece of a file: its size, for a small file, up to the read-ahead's own.
std::size_t PieceBytes(std::size_t fileBytes)
{
    constexpr std::size_t kPiece = 1 << 18;
    return fileBytes == 0 ? kPiece : std::clamp<std::size_t>(fileBytes, 4, kPiece);
}

} // namespace

RowReadAhead::RowReadAhead(std::FILE* file, int skippedTable, std::size_t fileBytes)
    : m_file(file, PieceBytes(fileBytes))
    , m_skippedTable(skippedTable)
{
    if (m_file.IsOpen())
        m_thread = std::thread(&RowReadAhead::Run, this);
    else
        m_batches.Close();
}

RowReadAhead::~RowReadAhead()
{
    m_batches.Stop();
    if (m_thread.joinable())
        m_thread.join();
}

void RowReadAhead::Run()
{
    try {
        BatchSink sink(*this, m_skippedTable);
        HtmlRowScanner scanner(sink);
        std::string piece;
        while (!sink.Stopped && !m_batches.Stopped() && m_file.Next(piece))
            scanner.Feed(piece);
        const bool failed = m_file.Failed();
        if (!failed)
            scanner.Finish();
        sink.Flush();
        m_failed = failed;
        m_title = scanner.Title();
        m_endSeen = scanner.EndSeen();
        m_charset = scanner.DeclaredCharset();
        m_batches.Close();
    } catch (...) {
        m_batches.Close(std::current_exception());
    }
}

bool RowReadAhead::Publish(std::unique_ptr<Batch>& batch)
{
    for (std::size_t i = 0; i < batch->Cells.size(); ++i)
        batch->Cells[i].Text = std::string_view(batch->Text).substr(batch->Starts[i], batch->Lengths[i]);
    if (!m_batches.Put(batch))
        return false;
    if (!batch) {
        batch = std::make_unique<Batch>();
        return true;
    }
    batch->Text.clear();
    batch->Cells.clear();
    batch->Starts.clear();
    batch->Lengths.clear();
    batch->Rows.clear();
    return true;
}

bool RowReadAhead::ReadRows(HtmlRowSink& sink)
{
    std::unique_ptr<Batch> batch;
    while (m_batches.Take(batch)) {
        for (const Batch::Row& stored : batch->Rows) {
            if (stored.TableEnd) {
                sink.OnTableEnd();
                continue;
            }
            HtmlRow row(batch->Cells.data() + stored.FirstCell, stored.Size);
            row.HeaderColour = stored.HeaderColour;
            row.Complete = stored.Complete;
            sink.OnRow(row);
        }
    }
    return !m_failed;
}

} // namespace corvane

#include "reports/html/RowReadAhead.h"

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

RowReadAhead::RowReadAhead(std::FILE* file, int skippedTable) : m_file(file), m_skippedTable(skippedTable)
{
    if (m_file.IsOpen())
        m_thread = std::thread(&RowReadAhead::Run, this);
    else
        m_done = true;
}

RowReadAhead::~RowReadAhead()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void RowReadAhead::Run()
{
    std::exception_ptr error;
    bool failed = false;
    std::string title;
    bool endSeen = false;
    std::string charset;
    try {
        BatchSink sink(*this, m_skippedTable);
        HtmlRowScanner scanner(sink);
        std::string piece;
        while (!sink.Stopped && !Stopping() && m_file.Next(piece))
            scanner.Feed(piece);
        failed = m_file.Failed();
        if (!failed)
            scanner.Finish();
        sink.Flush();
        title = scanner.Title();
        endSeen = scanner.EndSeen();
        charset = scanner.DeclaredCharset();
    } catch (...) {
        error = std::current_exception();
    }
    {
        const std::lock_guard lock(m_mutex);
        m_done = true;
        m_failed = failed;
        m_error = error;
        m_title = std::move(title);
        m_endSeen = endSeen;
        m_charset = std::move(charset);
    }
    m_changed.notify_all();
}

bool RowReadAhead::Stopping()
{
    const std::lock_guard lock(m_mutex);
    return m_stop;
}

bool RowReadAhead::Publish(std::unique_ptr<Batch>& batch)
{
    for (std::size_t i = 0; i < batch->Cells.size(); ++i)
        batch->Cells[i].Text = std::string_view(batch->Text).substr(batch->Starts[i], batch->Lengths[i]);
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_ready.size() < kAhead || m_stop; });
    if (m_stop)
        return false;
    std::unique_ptr<Batch> next;
    if (!m_free.empty()) {
        next = std::move(m_free.back());
        m_free.pop_back();
    }
    m_ready.push_back(std::move(batch));
    lock.unlock();
    m_changed.notify_all();
    if (!next)
        next = std::make_unique<Batch>();
    next->Text.clear();
    next->Cells.clear();
    next->Starts.clear();
    next->Lengths.clear();
    next->Rows.clear();
    batch = std::move(next);
    return true;
}

bool RowReadAhead::ReadRows(HtmlRowSink& sink)
{
    for (;;) {
        std::unique_ptr<Batch> batch;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return !m_ready.empty() || m_done; });
            if (m_ready.empty())
                break;
            batch = std::move(m_ready.front());
            m_ready.pop_front();
        }
        m_changed.notify_all();
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
        const std::lock_guard lock(m_mutex);
        m_free.push_back(std::move(batch));
    }
    const std::lock_guard lock(m_mutex);
    if (m_error)
        std::rethrow_exception(m_error);
    return !m_failed;
}

} // namespace corvane

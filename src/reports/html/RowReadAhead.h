#pragma once

#include "reports/html/HandOver.h"
#include "reports/html/HtmlRowScanner.h"
#include "reports/html/UnicodeFileReader.h"

#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace corvane {

/**
 * Reads an HTML page from a file opened elsewhere (ReadAheadReader, on a thread of its own), and cuts it
 * into table rows (HtmlRowScanner) on a second thread, while the caller's thread reads the rows cut before. The rows
 * are the scanner's own, in its order: cutting rows depends on nothing but the text. The one question the
 * scanner asks of its sink, whether to pass over a row, is answered by a rule of the rows before: the
 * rows other than column-header rows that follow the column-header row counted `skippedTable` (from 1),
 * up to the next one, are passed over. The threads end when the file is read or the reader ends.
 */
class RowReadAhead
{
public:
    // `skippedTable`: kNoTable passes over no row. `fileBytes`: the file's size when known (0 when not), so
    // that a small file is read in a piece of its size.
    RowReadAhead(std::FILE* file, int skippedTable, std::size_t fileBytes = 0);
    ~RowReadAhead();
    RowReadAhead(const RowReadAhead&) = delete;
    RowReadAhead& operator=(const RowReadAhead&) = delete;

    static constexpr int kNoTable = -1;

    bool IsOpen() const { return m_file.IsOpen(); }

    /**
     * Hands the rows and the ends of tables to `sink` in turn, on the caller's thread, and then the row
     * the text ended in, as HtmlRowScanner::Finish does. Returns false when reading stopped on an error:
     * the rows cut before it are handed over, the row open then is not. Rethrows what the reading thread
     * ran into.
     */
    bool ReadRows(HtmlRowSink& sink);

    // How far the reading thread has come in the file, for the caller's thread.
    const std::atomic<std::uint64_t>& BytesRead() const { return m_file.BytesRead(); }
    // How the file is written: UTF-16, or bytes read as they stand.
    TextEncoding Encoding() const { return m_file.Encoding(); }
    // Once ReadRows has returned true: the page's title, whether "</html>" was met, and the code page its
    // head declares (HtmlRowScanner::DeclaredCharset).
    const std::string& Title() const { return m_title; }
    bool EndSeen() const { return m_endSeen; }
    const std::string& DeclaredCharset() const { return m_charset; }

private:
    // Rows cut on the reading thread, their cells' texts end to end.
    struct Batch
    {
        struct Row
        {
            std::size_t FirstCell = 0;
            int Size = 0;
            bool HeaderColour = false;
            bool Complete = true;
            bool TableEnd = false; // no row: the place of a "</table>" among them
        };
        std::string Text;
        std::vector<HtmlCell> Cells;      // their texts viewed in Text once the batch is full
        std::vector<std::size_t> Starts;  // where each cell's text starts in Text
        std::vector<std::size_t> Lengths; // and how long it is
        std::vector<Row> Rows;
    };
    class BatchSink;

    void Run();
    // Hands the batch over and gives an empty one back; false when the reader is ending.
    bool Publish(std::unique_ptr<Batch>& batch);

    static constexpr std::size_t kAhead = 16; // batches cut before the caller asks for them

    ReadAheadReader m_file;
    const int m_skippedTable;
    HandOver<std::unique_ptr<Batch>> m_batches{kAhead};
    // The cutting thread's, until it closes m_batches.
    bool m_failed = false;
    std::string m_title;
    bool m_endSeen = false;
    std::string m_charset;
    std::thread m_thread; // started last, once the members it uses are built
};

} // namespace corvane

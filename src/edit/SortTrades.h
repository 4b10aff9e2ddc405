#pragma once

#include "trades/TextGrid.h"

namespace corvane {

/**
 * Sort trades: puts the trade rows of the visible table into ascending order of their Ticket text,
 * compared byte by byte as unsigned characters up to the first NUL, a text that is a prefix of another
 * ranking first (as C's strcmp does). So "10" < "100" < "9" and "123" < "1234". Rows with equal
 * tickets keep their order. All columns move with their row; the alternate view is not reordered, so
 * until the next filter pass its rows no longer belong to the rows of the same number.
 */
void SortGridByTicket(TextGrid& grid);

} // namespace corvane

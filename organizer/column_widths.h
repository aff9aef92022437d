// The word table's column widths: what each column needs to show its texts and
// its heading whole in the table's font, and how the columns share the table's
// width so that nothing ever scrolls sideways.
#pragma once

#include <array>
#include <vector>

#include "word_list.h"
#include "word_table_model.h"

class QTableView;

namespace renkomi::organizer {

using ColumnWidths = std::array<int, WordTableModel::ColumnCount>;

// What a cell needs beside its text's advance: the style's margins, the grid
// line, and a pixel for the fractions that the advances were rounded from.
int CellPadding(const QTableView& grid);

// Each column's need for `words` in `grid`, whose model gives the headings: the
// widest row number, jukugo or reading plus the cell's padding, or the heading
// with its margins when that is wider (as it is with no words).
ColumnWidths NeededWidths(const QTableView& grid, const std::vector<WordPair>& words);

// The columns sharing `room` pixels: the row numbers first, whole; then the
// jukugo as wide as it needs, but when the reading needs room too no more than
// half of what is left; the reading takes the rest.
ColumnWidths SharedWidths(int room, const ColumnWidths& needed);

}  // namespace renkomi::organizer

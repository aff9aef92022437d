#include "column_widths.h"

#include <algorithm>
#include <cstddef>

#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableView>

#include "text_widths.h"

namespace renkomi::organizer {
namespace {

int DecimalDigits(std::size_t n) {
  int digits = 1;
  while (n >= 10) {
    n /= 10;
    ++digits;
  }
  return digits;
}

// The widest row number of a table of `rows` rows, whatever the font's digits.
int WidestNumber(const QFontMetrics& metrics, std::size_t rows) {
  int widest = metrics.horizontalAdvance(QString::number(rows));
  for (char digit = '0'; digit <= '9'; ++digit)
    widest = std::max(widest, metrics.horizontalAdvance(QString(DecimalDigits(rows), QLatin1Char(digit))));
  return widest;
}

}  // namespace

int CellPadding(const QTableView& grid) {
  QStyleOptionViewItem cell;
  cell.initFrom(&grid);
  cell.font = grid.font();
  cell.fontMetrics = grid.fontMetrics();
  cell.features = QStyleOptionViewItem::HasDisplay;
  cell.text = QStringLiteral("0");
  const QSize needed = grid.style()->sizeFromContents(QStyle::CT_ItemViewItem, &cell, QSize(), &grid);
  return needed.width() - cell.fontMetrics.horizontalAdvance(cell.text) + (grid.showGrid() ? 1 : 0) + 1;
}

ColumnWidths NeededWidths(const QTableView& grid, const std::vector<WordPair>& words) {
  const QFontMetrics metrics(grid.font());
  const int padding = CellPadding(grid);
  const QHeaderView& headings = *grid.horizontalHeader();
  const QFontMetrics headingMetrics(headings.font());
  const int headingPadding = 2 * headings.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &headings) + 1;
  TextWidths widths(metrics);
  const auto widestText = [&](int column) {
    switch (column) {
      case WordTableModel::NumberColumn:
        return WidestNumber(metrics, words.size());
      case WordTableModel::JukugoColumn:
        return widths.Widest(words, &WordPair::jukugo);
      case WordTableModel::YomiColumn:
        return widths.Widest(words, &WordPair::yomi);
      default:
        return 0;
    }
  };
  ColumnWidths needed{};
  for (int column = 0; column < WordTableModel::ColumnCount; ++column) {
    const QString heading = grid.model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    needed[column] = std::max(widestText(column) + padding, headingMetrics.horizontalAdvance(heading) + headingPadding);
  }
  return needed;
}

ColumnWidths SharedWidths(int room, const ColumnWidths& needed) {
  room = std::max(0, room);
  ColumnWidths shared{};
  shared[WordTableModel::NumberColumn] = std::min(needed[WordTableModel::NumberColumn], room);
  const int words = room - shared[WordTableModel::NumberColumn];
  shared[WordTableModel::JukugoColumn] =
      std::min(needed[WordTableModel::JukugoColumn], std::max(words / 2, words - needed[WordTableModel::YomiColumn]));
  shared[WordTableModel::YomiColumn] = words - shared[WordTableModel::JukugoColumn];
  return shared;
}

}  // namespace renkomi::organizer

#include "word_table_model.h"

#include <QColor>

#include "text.h"
#include "text_rules.h"

namespace renkomi::organizer {

namespace {
// The number column, like the heading row, is drawn as a fixed cell.
const QColor kFixedCellColour(0x00, 0x80, 0x00);

// A cell shows at most this many characters. A single entry of megabytes (a file
// that was never a dictionary) would otherwise be converted and laid out whole at
// every repaint; the stored entry itself is never cut.
constexpr std::size_t kShownCharacters = 256;

QString CellText(const std::string& cp932) {
  std::size_t bytes = 0;
  for (std::size_t shown = 0; bytes < cp932.size() && shown < kShownCharacters; ++shown) {
    const bool doubleByte = renkomi::IsLeadByte(static_cast<unsigned char>(cp932[bytes])) &&
                            bytes + 1 < cp932.size();
    bytes += doubleByte ? 2 : 1;
  }
  if (bytes >= cp932.size()) return renkomi::ui::FromGame(cp932);
  return renkomi::ui::FromGame(cp932.substr(0, bytes)) + QChar(0x2026);
}
}  // namespace

WordTableModel::WordTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void WordTableModel::SetWords(std::vector<WordPair> words) {
  beginResetModel();
  rows_.clear();
  rows_.shrink_to_fit();
  rows_.reserve(words.size());
  for (WordPair& word : words) rows_.push_back(Row{std::move(word), false});
  kept_ = rowCount();
  endResetModel();
}

void WordTableModel::ClearRow(int row) {
  if (row < 0 || row >= rowCount()) return;
  Row& target = rows_[static_cast<std::size_t>(row)];
  if (target.cleared) return;
  target.cleared = true;
  target.word = WordPair{};
  --kept_;
  emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void WordTableModel::MoveKeptRowsTo(WordListPair& comp) {
  beginResetModel();
  for (Row& row : rows_) {
    if (row.cleared) continue;
    comp.Append(std::move(row.word.jukugo), std::move(row.word.yomi));
  }
  rows_.clear();
  rows_.shrink_to_fit();
  kept_ = 0;
  endResetModel();
}

int WordTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int WordTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ColumnCount;
}

QVariant WordTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const Row& row = rows_[static_cast<std::size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:  // the window shows it only where the cell elides the text
      switch (index.column()) {
        case NumberColumn:
          return row.cleared ? QString() : QString::number(index.row() + 1);
        case JukugoColumn:
          return CellText(row.word.jukugo);
        case YomiColumn:
          return CellText(row.word.yomi);
        default:
          return {};
      }
    case Qt::BackgroundRole:
      if (index.column() == NumberColumn) return kFixedCellColour;
      return {};
    default:
      return {};
  }
}

QVariant WordTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  switch (section) {
    case JukugoColumn:
      return QStringLiteral("熟語");
    case YomiColumn:
      return QStringLiteral("よみがな");
    default:
      return QString();
  }
}

Qt::ItemFlags WordTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  // The number column is a fixed cell: part of the row, never selected itself.
  if (index.column() == NumberColumn) return Qt::ItemIsEnabled;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

}  // namespace renkomi::organizer

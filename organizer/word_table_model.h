// The organizer's word table: one row per dictionary word in reading order, with
// its row number, jukugo and reading. A deleted row stays in place with all three
// cells empty, so the numbers of the other rows never change while the table is
// open. Texts stay CP932 and are converted only for the cells on screen.
#pragma once

#include <vector>

#include <QAbstractTableModel>

#include "word_list.h"

namespace renkomi::organizer {

class WordTableModel final : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column { NumberColumn = 0, JukugoColumn = 1, YomiColumn = 2, ColumnCount = 3 };

  explicit WordTableModel(QObject* parent = nullptr);

  // Replaces the table with these words, in this order.
  void SetWords(std::vector<WordPair> words);
  // Empties the row, every cell of it; a row already empty stays as it is.
  void ClearRow(int row);
  // How many rows still hold a word: what the table will write back.
  int KeptCount() const { return kept_; }
  // Appends every row the player did not delete to `comp`, in table order, and
  // empties the table. A row with an empty cell (a file made elsewhere) goes back
  // as it is: only the player's deletions remove words.
  void MoveKeptRowsTo(WordListPair& comp);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  struct Row {
    WordPair word;
    bool cleared = false;
  };
  std::vector<Row> rows_;
  int kept_ = 0;
};

}  // namespace renkomi::organizer

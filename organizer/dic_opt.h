// The dictionary organizer: the current dictionary as a table sorted by reading,
// in which the player deletes words. While it is open the table holds the only
// copy of the dictionary's words; closing puts the remaining ones back and
// rewrites the dictionary files in the table's order.
#pragma once

#include <array>
#include <vector>

#include <QWidget>

#include "column_widths.h"
#include "dictionary_store.h"
#include "layout.h"
#include "sound.h"
#include "word_table_model.h"

class QLabel;
class QModelIndex;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QFrame;
class QTableView;
class TfrmRenkomiWait;

class TfrmDicOpt : public QWidget {
  Q_OBJECT
 public:
  // `mainWindow` is disabled while the organizer is open, so it must not be this
  // window's parent (a disabled parent disables its children).
  TfrmDicOpt(renkomi::DictionaryStore& store, QWidget& mainWindow, renkomi::ui::Sound& sound,
             QWidget* parent = nullptr);

  // The progress dialog, created after the organizer; without one the table
  // fills without showing progress.
  void SetWaitDialog(TfrmRenkomiWait* wait);

  // Showing runs the opening sequence first, so the window appears filled.
  void setVisible(bool visible) override;

 private:
  // The controls as the design lays them out, one row each, and their members.
  static const renkomi::ui::Element kLayout[];
  QTableView* stgWord = nullptr;
  QFrame* Panel1 = nullptr;
  QPushButton* btnEND = nullptr;
  QPushButton* btnDelete = nullptr;
  QPlainTextEdit* Memo1 = nullptr;
  QLabel* Panel2 = nullptr;
  QLineEdit* Memo2 = nullptr;
  QLabel* Label1 = nullptr;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SetUpGrid();
  void FormShow();
  void WaitDlg();
  void SizeColumns(const std::vector<renkomi::WordPair>& words);
  void FitColumns();
  bool ShowsWhole(const QModelIndex& cell) const;
  void FormResize();
  void btnDeleteClick();
  void stgWordKeyDown();
  void stgWordEnter();
  void btnENDClick();
  void FormCloseQuery();
  void GridToComp();
  void ShowCount();

  renkomi::DictionaryStore& store_;
  QWidget& mainWindow_;
  renkomi::ui::Sound& sound_;
  TfrmRenkomiWait* wait_ = nullptr;
  renkomi::organizer::WordTableModel* words_;
  QObject* gridViewport_ = nullptr;  // compared only: it may be going away

  int FrameAllowance = 0;
  // What each column needs to show all its texts whole (the number's, the
  // jukugo's and the reading's, by the table's column), and their sum; the
  // columns themselves share the table's width (FitColumns).
  int ContentWidth = 0;
  renkomi::organizer::ColumnWidths ColWidths{};

  bool open_ = false;    // between the opening sequence and the write-back
};

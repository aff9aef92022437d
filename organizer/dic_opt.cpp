#include "dic_opt.h"

#include <algorithm>
#include <cstdint>

#include <QCloseEvent>
#include <QHelpEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStringList>
#include <QStyle>
#include <QTableView>
#include <QToolTip>

#include "application.h"
#include "column_widths.h"
#include "errors.h"
#include "gauge.h"
#include "layout.h"
#include "look.h"
#include "message_dialogs.h"
#include "renkomi_wait.h"
#include "sorted_fill.h"
#include "word_table_model.h"

using renkomi::WordListPair;
using renkomi::WordPair;
using renkomi::organizer::WordTableModel;

namespace {

// The window's client area; the classic frame made the outer size 538 x 470.
constexpr int kClientWidth = 530;
constexpr int kClientHeight = 443;
constexpr int kPanelWidth = 225;
// Empty space the table keeps from the panel, so that the table's frame never
// meets the panel's raised edge.
constexpr int kPanelGap = 5;
constexpr int kRowHeight = 24;

using renkomi::ui::kMaroon;

// A resizable window with a maximize button and no minimize button.
constexpr renkomi::ui::WindowRow kWindow{.name = "frmDicOpt", .caption = u"辞書の整理",
                                         .frame = renkomi::ui::Frame::SizableWithMaximize,
                                         .clientWidth = kClientWidth, .clientHeight = kClientHeight};

}  // namespace

// The organizer's elements as the design lays them out, in the order they are
// stacked: the word table on the left, the panel of help, buttons and count at
// the right edge.
using renkomi::ui::Kind;
using renkomi::ui::kSizedByWindow;
constexpr renkomi::ui::Element TfrmDicOpt::kLayout[] = {
    {RENKOMI_ELEMENT(TfrmDicOpt, stgWord), .kind = Kind::Table, .width = kSizedByWindow, .height = kSizedByWindow,
     .tabOrder = 0, .accessibleName = u"辞書のことば"},
    {RENKOMI_ELEMENT(TfrmDicOpt, Panel1), .kind = Kind::RaisedFrame, .left = kClientWidth - kPanelWidth,
     .width = kPanelWidth, .height = kClientHeight, .tabOrder = 1},
    {RENKOMI_ELEMENT(TfrmDicOpt, Memo1), .kind = Kind::Memo, .parent = "Panel1", .left = 24, .top = 17, .width = 177,
     .height = 288, .arrowCursor = true, .inputMethod = renkomi::ui::InputMethod::Off},
    {RENKOMI_ELEMENT(TfrmDicOpt, btnDelete), .kind = Kind::Button, .parent = "Panel1", .left = 17, .top = 313,
     .width = 88, .height = 32, .text = u"削除", .tabOrder = 1},
    {RENKOMI_ELEMENT(TfrmDicOpt, btnEND), .kind = Kind::Button, .parent = "Panel1", .left = 120, .top = 313,
     .width = 89, .height = 32, .text = u"終了", .tabOrder = 0},
    // Its caption names the count to a screen reader.
    {RENKOMI_ELEMENT(TfrmDicOpt, Panel2), .kind = Kind::RaisedLabel, .parent = "Panel1", .left = 24, .top = 361,
     .width = 177, .height = 33, .text = u"現在の登録数", .buddy = "Memo2"},
    {RENKOMI_ELEMENT(TfrmDicOpt, Memo2), .kind = Kind::DisplayBox, .parent = "Panel1", .left = 32, .top = 401,
     .width = 122, .height = 33, .text = u"0", .fontPixels = 15, .colour = kMaroon, .arrowCursor = true,
     .inputMethod = renkomi::ui::InputMethod::Off, .accessibleName = u"現在の登録数"},
    {RENKOMI_ELEMENT(TfrmDicOpt, Label1), .kind = Kind::Label, .parent = "Panel1", .left = 161, .top = 409,
     .width = 48, .height = 20, .text = u"個です"},
};

namespace {

const QStringList& HelpLines() {
  static const QStringList lines{
      QString(),
      QStringLiteral("　《登録語の削除》"),
      QString(),
      QStringLiteral("削除したいことばを選"),
      QStringLiteral("択して、【削除】ボタ"),
      QStringLiteral("ンをクリックして下さ"),
      QStringLiteral("い。"),
      QString(),
      QStringLiteral("また、カーソルキーで"),
      QStringLiteral("移動し、【DELETE】ｷｰ"),
      QStringLiteral("で削除することもでき"),
      QStringLiteral("ます。"),
      QString(),
      QStringLiteral("登録は、【おしえる】"),
      QStringLiteral("を利用して下さい。"),
  };
  return lines;
}

}  // namespace

TfrmDicOpt::TfrmDicOpt(renkomi::DictionaryStore& store, QWidget& mainWindow, renkomi::ui::Sound& sound,
                       QWidget* parent)
    : QWidget(parent),
      store_(store),
      mainWindow_(mainWindow),
      sound_(sound),
      words_(new WordTableModel(this)) {
  renkomi::ui::SetUpWindow(*this, kWindow);
  renkomi::ui::BuildElements(*this, kLayout);

  stgWord->setModel(words_);
  SetUpGrid();

  Memo1->setReadOnly(true);
  Memo1->setTextInteractionFlags(Qt::NoTextInteraction);
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo1->setPlainText(HelpLines().join(QLatin1Char('\n')));
  // Neither memo ever keeps the focus: the grid is the one place keys go.
  Memo1->setFocusPolicy(Qt::NoFocus);
  Memo1->viewport()->setCursor(Qt::ArrowCursor);

  btnDelete->setAutoDefault(false);
  btnEND->setAutoDefault(false);

  Memo2->setAlignment(Qt::AlignCenter);
  Memo2->setFocusPolicy(Qt::NoFocus);

  connect(btnDelete, &QPushButton::clicked, this, [this] { btnDeleteClick(); });
  connect(btnEND, &QPushButton::clicked, this, [this] { btnENDClick(); });
}

void TfrmDicOpt::SetWaitDialog(TfrmRenkomiWait* wait) { wait_ = wait; }


// The table as the design draws it: whole rows selected one at a time, nothing
// editable, rows 24 pixels high, green headings; the organizer watches its keys,
// its focus, its size and its tooltips.
void TfrmDicOpt::SetUpGrid() {
  stgWord->setSelectionBehavior(QAbstractItemView::SelectRows);
  stgWord->setSelectionMode(QAbstractItemView::SingleSelection);
  stgWord->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // The columns always share the table's width, so nothing scrolls sideways and
  // the row numbers stay in view; a text longer than its column is elided.
  stgWord->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  stgWord->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  stgWord->setShowGrid(true);
  stgWord->setWordWrap(false);
  stgWord->setTextElideMode(Qt::ElideRight);
  stgWord->setCornerButtonEnabled(false);
  stgWord->setTabKeyNavigation(false);
  stgWord->verticalHeader()->hide();
  stgWord->verticalHeader()->setMinimumSectionSize(kRowHeight);
  stgWord->verticalHeader()->setDefaultSectionSize(kRowHeight);
  stgWord->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  QHeaderView* headings = stgWord->horizontalHeader();
  headings->setFixedHeight(kRowHeight);
  headings->setMinimumSectionSize(0);
  headings->setSectionResizeMode(QHeaderView::Fixed);
  headings->setSectionsClickable(false);
  headings->setHighlightSections(false);
  headings->setStretchLastSection(false);
  headings->setStyleSheet(QStringLiteral(
      "QHeaderView::section { background-color: #008000; color: black; "
      "border: 0px; border-right: 1px solid #404040; border-bottom: 1px solid #404040; }"));
  stgWord->installEventFilter(this);
  gridViewport_ = stgWord->viewport();
  gridViewport_->installEventFilter(this);
}

void TfrmDicOpt::setVisible(bool visible) {
  const bool opening = visible && !open_;
  if (opening) {
    FormShow();
    renkomi::ui::CentreOnFirstShow(*this);
  }
  QWidget::setVisible(visible);
  // A window manager does not hand the focus to a window that only appears: the
  // organizer asks for it, so that the keys reach the table at once.
  if (opening) {
    raise();
    activateWindow();
  }
}

// Serves frmDicOpt: the organizer is shown.
void TfrmDicOpt::FormShow() {
  mainWindow_.setEnabled(false);
  try {
    if (wait_ != nullptr) {
      wait_->show();
      wait_->repaint();
    }
    WaitDlg();
  } catch (...) {
    // The words went back to the dictionary; the game must not stay locked.
    if (wait_ != nullptr) wait_->hide();
    mainWindow_.setEnabled(true);
    throw;
  }
  open_ = true;
  // Memo2's bottom edge must stay inside the window.
  const int countBottom = Memo2->y() + Memo2->height();
  if (height() < countBottom) resize(width(), countBottom + 10);
  FormResize();
  stgWord->setFocus();
  ShowCount();
  if (wait_ != nullptr) wait_->hide();
}

void TfrmDicOpt::WaitDlg() {
  using namespace renkomi::organizer;
  ProgressFn progress;
  if (wait_ != nullptr) progress = [wait = wait_](int percent) { wait->SetProgress(percent); };
  // The table holds the words while the organizer is open; closing it gives
  // back those the player kept.
  WordListPair words = store_.TakeWords();
  SortedWords sorted;
  try {
    sorted = FillSorted(words, ReadingCollator(), progress);
  } catch (...) {
    store_.GiveBackWords(std::move(words));
    throw;
  }
  SizeColumns(sorted.rows);
  const bool empty = sorted.rows.empty();
  words_->SetWords(std::move(sorted.rows));
  if (!empty) stgWord->setCurrentIndex(words_->index(0, WordTableModel::JukugoColumn));
  stgWord->scrollToTop();
}

void TfrmDicOpt::SizeColumns(const std::vector<WordPair>& words) {
  ColWidths = renkomi::organizer::NeededWidths(*stgWord, words);
  ContentWidth = 0;
  for (const int width : ColWidths) ContentWidth += width;
  // The grid's frame on both sides and room for its vertical scroll bar.
  FrameAllowance = 2 * stgWord->frameWidth() +
                   stgWord->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, stgWord) + 2;
  FitColumns();
}

// The columns fill the table exactly, so it never scrolls sideways.
void TfrmDicOpt::FitColumns() {
  const renkomi::organizer::ColumnWidths shared =
      renkomi::organizer::SharedWidths(stgWord->viewport()->width(), ColWidths);
  for (int column = 0; column < WordTableModel::ColumnCount; ++column) stgWord->setColumnWidth(column, shared[column]);
}

bool TfrmDicOpt::ShowsWhole(const QModelIndex& cell) const {
  const QString text = cell.data(Qt::DisplayRole).toString();
  return stgWord->fontMetrics().horizontalAdvance(text) + renkomi::organizer::CellPadding(*stgWord) <=
         stgWord->columnWidth(cell.column());
}

// Serves frmDicOpt: the organizer is resized, and once when it is shown.
void TfrmDicOpt::FormResize() {
  const int available = width() - (kPanelWidth + kPanelGap);
  const int gridWidth = std::max(0, std::min(available, ContentWidth + FrameAllowance));
  stgWord->setGeometry(0, 0, gridWidth, height());
  Panel1->setGeometry(width() - Panel1->width(), 0, Panel1->width(), height());
  update();
}

void TfrmDicOpt::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  FormResize();
}

bool TfrmDicOpt::eventFilter(QObject* watched, QEvent* event) {
  if (watched == gridViewport_) {
    if (event->type() == QEvent::Resize) FitColumns();
    // A cell shown whole needs no tooltip; an elided one shows its text whole.
    if (event->type() == QEvent::ToolTip) {
      const QModelIndex cell = stgWord->indexAt(static_cast<QHelpEvent*>(event)->pos());
      if (!cell.isValid() || ShowsWhole(cell)) {
        QToolTip::hideText();
        return true;
      }
    }
  }
  if (watched == stgWord) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
      stgWordKeyDown();
      return true;
    }
    if (event->type() == QEvent::FocusIn) stgWordEnter();
  }
  return QWidget::eventFilter(watched, event);
}

// Serves stgWord: the Delete key is pressed in it.
void TfrmDicOpt::stgWordKeyDown() {
  btnDelete->setFocus();
  btnDeleteClick();
}

// Serves btnDelete, "削除".
void TfrmDicOpt::btnDeleteClick() {
  const int row = stgWord->currentIndex().row();
  if (words_->KeptCount() == 1) {
    sound_.PlayThemeSound(renkomi::ui::kExclamationSound);
    renkomi::ui::ShowErrorDialog(this, renkomi::LastWordsError());
    stgWord->setFocus();
    ShowCount();
    return;
  }
  words_->ClearRow(row);
  stgWord->setFocus();
  // The focus handler refreshes the count too, but only in an active window.
  ShowCount();
}

// Serves stgWord: the focus enters it.
void TfrmDicOpt::stgWordEnter() { ShowCount(); }

void TfrmDicOpt::ShowCount() {
  Memo2->setText(QString::number(words_->KeptCount()));
}

// Serves btnEND, "終了".
void TfrmDicOpt::btnENDClick() { close(); }

void TfrmDicOpt::closeEvent(QCloseEvent* event) {
  FormCloseQuery();
  event->accept();
}

void TfrmDicOpt::GridToComp() {
  WordListPair kept;
  words_->MoveKeptRowsTo(kept);
  store_.GiveBackWords(std::move(kept));
}

// Serves frmDicOpt: the organizer is about to close.
void TfrmDicOpt::FormCloseQuery() {
  if (!open_) return;
  open_ = false;
  GridToComp();
  // The words are back in COMP whatever happens to the files, and the game is
  // never left locked: a failed save is reported, and the words wait in memory
  // for the next save.
  renkomi::ui::Guarded([this] {
    store_.SaveDictionary();
    store_.LoadDictionary();
  });
  mainWindow_.setEnabled(true);
}

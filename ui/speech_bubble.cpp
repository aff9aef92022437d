#include "speech_bubble.h"

#include <QPlainTextEdit>

namespace renkomi::ui {

void MakeSpeechBubble(QPlainTextEdit& memo) {
  memo.setReadOnly(true);
  memo.setFrameShape(QFrame::NoFrame);
  memo.setLineWrapMode(QPlainTextEdit::NoWrap);
  memo.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo.setFocusPolicy(Qt::ClickFocus);
  memo.setTabChangesFocus(true);
  memo.setAttribute(Qt::WA_InputMethodEnabled, false);
  memo.viewport()->setCursor(Qt::ArrowCursor);
  // The character's words are no text to edit: no copy-and-paste menu on them.
  memo.setContextMenuPolicy(Qt::NoContextMenu);
  // The longest line, thirteen full-width characters, needs all of the 209 pixels.
  memo.document()->setDocumentMargin(0);
  QPalette palette = memo.palette();
  palette.setColor(QPalette::Base, Qt::white);
  memo.setPalette(palette);
  ShowInBubble(memo, InitialBubbleText());
}

void SetBubbleTextColour(QPlainTextEdit& bubble, QColor colour) {
  QPalette palette = bubble.palette();
  palette.setColor(QPalette::Text, colour);
  bubble.setPalette(palette);
}

void ShowInBubble(QPlainTextEdit& bubble, const MessageSet& lines) { bubble.setPlainText(MessageSetText(lines)); }

}  // namespace renkomi::ui

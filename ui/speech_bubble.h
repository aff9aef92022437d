// The character's speech bubble: a borderless memo the player cannot edit, wide
// enough for the message sets' lines, showing one set at a time in one colour.
#pragma once

#include <QColor>

#include "message_sets.h"

class QPlainTextEdit;

namespace renkomi::ui {

// Makes `memo` a speech bubble showing the start-up text.
void MakeSpeechBubble(QPlainTextEdit& memo);
void SetBubbleTextColour(QPlainTextEdit& bubble, QColor colour);
void ShowInBubble(QPlainTextEdit& bubble, const MessageSet& lines);

}  // namespace renkomi::ui

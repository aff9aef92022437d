// The game's message dialogs: modal, centred on the screen, with the caption and
// icon of their kind and the buttons "はい(&Y)" and "いいえ(&N)".
#pragma once

#include <QString>

class QWidget;

namespace renkomi::ui {

inline constexpr const char16_t* kYesButton = u"はい(&Y)";
inline constexpr const char16_t* kNoButton = u"いいえ(&N)";

// "エラー", error icon, one "はい(&Y)".
void ShowErrorDialog(QWidget* parent, const QString& text);
// "情報", information icon, one "はい(&Y)".
void ShowInformationDialog(QWidget* parent, const QString& text);
// "確認", question icon, "はい(&Y)" (default) and "いいえ(&N)" (Escape). True only
// when "はい(&Y)" is pressed; Escape or closing the dialog is No.
bool AskYesNoDialog(QWidget* parent, const QString& text);

}  // namespace renkomi::ui

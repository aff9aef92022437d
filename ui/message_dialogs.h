// The game's message dialogs: modal, centred on the screen, with the caption and
// icon of their kind and the buttons "はい(&Y)" and "いいえ(&N)".
#pragma once

#include <QString>

#include <exception>

class QWidget;

namespace renkomi::ui {

inline constexpr const char16_t* kYesButton = u"はい(&Y)";
inline constexpr const char16_t* kNoButton = u"いいえ(&N)";

// "エラー", error icon, one "はい(&Y)".
void ShowErrorDialog(QWidget* parent, const QString& text);
// What a failure tells the player: the game's own message for the engine's
// errors; for any other failure, which only a fault of the program raises, the
// game's words for an unexpected error rather than the library's English.
QString ErrorText(const std::exception& failure);
void ShowErrorDialog(QWidget* parent, const std::exception& failure);
// "情報", information icon, one "はい(&Y)".
void ShowInformationDialog(QWidget* parent, const QString& text);
// "確認", question icon, "はい(&Y)" (default) and "いいえ(&N)" (Escape). True only
// when "はい(&Y)" is pressed; Escape or closing the dialog is No.
bool AskYesNoDialog(QWidget* parent, const QString& text);

}  // namespace renkomi::ui

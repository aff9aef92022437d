// Everything the character says: the nineteen seven-line message sets of the
// speech bubble, numbered 1 to 19, and the bubble's text before any set is shown.
// The lines are broken in advance to fit the bubble; leading full-width spaces
// indent them and belong to the text.
#pragma once

#include <array>
#include <string_view>

#include <QString>

namespace renkomi::ui {

inline constexpr int kMessageSetCount = 19;
inline constexpr int kMessageLines = 7;

using MessageSet = std::array<std::u16string_view, kMessageLines>;

// Set `number` (1 to 19). Throws std::out_of_range for any other number.
const MessageSet& GetMessageSet(int number);

// The bubble at start-up: set 18 with a single space on its empty first and last lines.
const MessageSet& InitialBubbleText();

// A set's seven lines as the bubble's text.
QString MessageSetText(const MessageSet& lines);

}  // namespace renkomi::ui

#pragma once

#include <QString>

#include <optional>

namespace velquor::shell {

inline constexpr char16_t noReadableSelectionMessage[] = u"The selection does not contain readable plain text.";
inline constexpr char16_t couldNotReturnMessage[] = u"Velquor could not return the cleaned text.";

// A selection cleaned for pasting back where it came from: hidden and control Unicode removed,
// white space normalised and tracking parameters stripped, edge spacing and the final line break
// kept, whatever the window's options say. Nothing for a text beyond the application's size
// limit.
std::optional<QString> cleanSelectedText(const QString& selection);

}  // namespace velquor::shell

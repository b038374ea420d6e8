#pragma once

#include <QString>
#include <QStringView>

#include <string_view>

namespace velquor::app {

// Qt and the engine both hold text as UTF-16, so text crosses between them as a view or a copy
// of the same code units, never re-encoded, and every TextLocation stays valid on both sides.
inline std::u16string_view engineView(QStringView text) {
    return {text.utf16(), static_cast<std::size_t>(text.size())};
}

inline QString qtString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

}  // namespace velquor::app

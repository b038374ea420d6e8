#pragma once

#include <QString>

#include <array>
#include <string_view>

namespace velquor::app {

// The clipboard formats the workflow reads or reports, by their MIME names.
inline const QString plainTextFormat = QStringLiteral("text/plain");
inline const QString htmlFormat = QStringLiteral("text/html");
inline const std::array<QString, 2> rtfFormats{QStringLiteral("text/rtf"), QStringLiteral("application/rtf")};

// Link flavours are reported under the names users of other systems know them by. A desktop
// here has no web archive flavour, so that finding never appears.
struct NamedFlavor {
    QString format;
    std::u16string_view name;
};
inline const std::array<NamedFlavor, 2> namedFlavors{{
    {QStringLiteral("text/uri-list"), u"public.url"},
    {QStringLiteral("text/x-moz-url"), u"Apple URL pasteboard type"},
}};

// HTML or RTF data above this many bytes is neither read as text nor inspected in detail.
inline constexpr qsizetype clipboardFlavorByteLimit = 16'777'216;

}  // namespace velquor::app

#pragma once

#include <QIcon>
#include <QStyle>

#include <span>
#include <string_view>

namespace velquor::ui {

// One symbol of the window: its name, the freedesktop icon that shows it, and the style's own
// icon for desktops whose theme lacks that one.
struct Symbol {
    std::string_view name;
    const char* themeIcon;
    QStyle::StandardPixmap fallback;
};

std::span<const Symbol> symbolTable();

// The icon for a symbol name; an unknown name gives a null icon.
QIcon symbolIcon(std::string_view name);

}  // namespace velquor::ui

#pragma once

#include <QIcon>

#include <string_view>

namespace velquor::shell {

// The icon for one of the menu's symbol names: the desktop theme's freedesktop icon when it
// has one, else the style's own stand-in; an unknown name gives an empty icon.
QIcon symbolIcon(std::string_view symbol);

// The freedesktop icon name a symbol maps to; empty for an unknown symbol.
QString freedesktopIconName(std::string_view symbol);

}  // namespace velquor::shell

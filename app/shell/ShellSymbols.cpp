#include "app/shell/ShellSymbols.h"

#include <QApplication>
#include <QStyle>

#include <array>

namespace velquor::shell {

namespace {

struct SymbolIcon {
    std::string_view symbol;
    const char* freedesktopName;
    QStyle::StandardPixmap fallback;
};

constexpr std::array symbolIcons{
    SymbolIcon{"checkmark.shield", "security-high", QStyle::SP_DialogApplyButton},
    SymbolIcon{"doc.text.magnifyingglass", "edit-find", QStyle::SP_FileDialogContentsView},
    SymbolIcon{"wand.and.sparkles", "edit-clear-all", QStyle::SP_DialogResetButton},
    SymbolIcon{"arrow.uturn.backward", "edit-undo", QStyle::SP_ArrowBack},
    SymbolIcon{"macwindow", "window-new", QStyle::SP_TitleBarNormalButton},
    SymbolIcon{"power", "application-exit", QStyle::SP_DialogCloseButton},
    SymbolIcon{"checkmark.circle", "emblem-ok-symbolic", QStyle::SP_DialogApplyButton},
    SymbolIcon{"arrow.down.circle", "emblem-downloads", QStyle::SP_ArrowDown},
};

const SymbolIcon* find(std::string_view symbol) {
    for (const auto& entry : symbolIcons) {
        if (entry.symbol == symbol) return &entry;
    }
    return nullptr;
}

}  // namespace

QString freedesktopIconName(std::string_view symbol) {
    const auto* entry = find(symbol);
    return entry ? QString::fromLatin1(entry->freedesktopName) : QString();
}

QIcon symbolIcon(std::string_view symbol) {
    const auto* entry = find(symbol);
    if (!entry) return {};
    return QIcon::fromTheme(QString::fromLatin1(entry->freedesktopName),
                            QApplication::style()->standardIcon(entry->fallback));
}

}  // namespace velquor::shell

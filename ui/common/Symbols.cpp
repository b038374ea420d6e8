#include "ui/common/Symbols.h"

#include <QApplication>

#include <algorithm>
#include <array>

namespace velquor::ui {

namespace {

constexpr std::array<Symbol, 24> symbols{{
    {"text.alignleft", "format-justify-left", QStyle::SP_FileDialogDetailedView},
    {"photo", "image-x-generic", QStyle::SP_DirIcon},
    {"doc.text", "document-open", QStyle::SP_DialogOpenButton},
    {"clipboard", "edit-paste", QStyle::SP_FileDialogContentsView},
    {"wand.and.sparkles", "edit-clear", QStyle::SP_DialogResetButton},
    {"arrow.uturn.backward", "edit-undo", QStyle::SP_ArrowBack},
    {"slider.horizontal.3", "preferences-system", QStyle::SP_FileDialogListView},
    {"checkmark", "object-select", QStyle::SP_DialogApplyButton},
    {"doc.on.doc", "edit-copy", QStyle::SP_FileLinkIcon},
    {"square.and.arrow.down", "document-save", QStyle::SP_DialogSaveButton},
    {"arrow.down.doc", "go-down", QStyle::SP_ArrowDown},
    {"checkmark.seal.fill", "emblem-ok", QStyle::SP_DialogYesButton},
    {"checkmark.seal", "emblem-default", QStyle::SP_DialogYesButton},
    {"exclamationmark.triangle.fill", "dialog-warning", QStyle::SP_MessageBoxWarning},
    {"exclamationmark.triangle", "dialog-warning", QStyle::SP_MessageBoxWarning},
    {"exclamationmark.shield", "security-low", QStyle::SP_MessageBoxWarning},
    {"checkmark.shield", "security-high", QStyle::SP_DialogApplyButton},
    {"checkmark.circle", "emblem-ok", QStyle::SP_DialogApplyButton},
    {"highlighter", "edit-select-all", QStyle::SP_FileDialogInfoView},
    {"text.page", "text-x-generic", QStyle::SP_FileIcon},
    {"textformat", "font-select", QStyle::SP_FileDialogDetailedView},
    {"scope", "edit-find", QStyle::SP_FileDialogContentsView},
    {"arrow.right", "go-next", QStyle::SP_ArrowRight},
    {"info.circle", "dialog-information", QStyle::SP_MessageBoxInformation},
}};

}  // namespace

std::span<const Symbol> symbolTable() { return symbols; }

QIcon symbolIcon(std::string_view name) {
    const auto symbol =
        std::find_if(symbols.begin(), symbols.end(), [name](const Symbol& s) { return s.name == name; });
    if (symbol == symbols.end()) return {};
    const QString themeName = QString::fromLatin1(symbol->themeIcon);
    if (QIcon::hasThemeIcon(themeName)) return QIcon::fromTheme(themeName);
    return QApplication::style()->standardIcon(symbol->fallback);
}

}  // namespace velquor::ui

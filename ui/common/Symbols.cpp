#include "ui/common/Symbols.h"

#include <QApplication>

#include <algorithm>
#include <array>

namespace velquor::ui {

namespace {

constexpr std::array<Symbol, 47> symbols{{
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
    {"person.crop.circle.badge.checkmark", "user-available", QStyle::SP_DialogYesButton},
    {"person.text.rectangle", "x-office-address-book", QStyle::SP_FileDialogInfoView},
    {"doc.text.magnifyingglass", "document-preview", QStyle::SP_FileDialogContentsView},
    {"arrow.left.arrow.right", "view-split-left-right", QStyle::SP_BrowserReload},
    {"exclamationmark.circle", "dialog-information", QStyle::SP_MessageBoxInformation},
    {"checklist", "view-list-details", QStyle::SP_FileDialogListView},
    {"square.and.pencil", "document-edit", QStyle::SP_FileDialogDetailedView},
    {"eye.slash", "view-hidden", QStyle::SP_MessageBoxWarning},
    {"minus", "list-remove", QStyle::SP_ArrowLeft},
    {"plus", "list-add", QStyle::SP_ArrowRight},
    {"text.badge.checkmark", "tools-check-spelling", QStyle::SP_FileDialogInfoView},
    {"shield", "security-medium", QStyle::SP_DialogResetButton},
    {"magnifyingglass", "edit-find", QStyle::SP_FileDialogContentsView},
    {"doc", "text-x-generic", QStyle::SP_FileIcon},
    {"lock.doc", "document-encrypt", QStyle::SP_DialogSaveButton},
    {"folder", "folder-open", QStyle::SP_DirOpenIcon},
    {"folder.badge.plus", "folder", QStyle::SP_DirIcon},
    {"signature", "application-certificate", QStyle::SP_MessageBoxWarning},
    {"questionmark.circle", "help-about", QStyle::SP_MessageBoxQuestion},
    {"doc.badge.magnifyingglass", "document-properties", QStyle::SP_FileDialogInfoView},
    {"chevron.right", "go-next", QStyle::SP_ArrowRight},
    {"chevron.down", "go-down", QStyle::SP_ArrowDown},
    {"xmark.circle", "process-stop", QStyle::SP_DialogCancelButton},
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

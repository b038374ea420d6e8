#pragma once

#include <QString>

#include <filesystem>
#include <optional>
#include <variant>

class QMimeData;

namespace velquor::ui {

// What a drop on the before/after panes carries for the text workspace: its plain text when it
// has any (text wins over files when a drop carries both), else the first file URL that
// decodes to a local path, else nothing.
using TextDropContent = std::variant<std::monostate, QString, std::filesystem::path>;

TextDropContent textDropContent(const QMimeData& data);

// Whether a drag could be accepted at all: it offers plain text or URLs.
bool offersTextDrop(const QMimeData& data);

}  // namespace velquor::ui

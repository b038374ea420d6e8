#pragma once

#include "core/text/records/TextLocation.h"

#include <QString>
#include <QStringView>
#include <QWidget>

#include <cstdint>
#include <span>
#include <vector>

namespace velquor::ui {

class SelectableTextEditor;

// The UTF-16 ranges of the characters (grapheme clusters) whose index is in `offsets`, one range
// per run of consecutive indexes. Indexes outside the text are left out.
std::vector<text::TextLocation> highlightedRanges(QStringView text, std::span<const std::int64_t> offsets);

// The cleaned text, read-only, with the changed characters on the highlight colour.
class PlainTextPreview : public QWidget {
    Q_OBJECT

public:
    explicit PlainTextPreview(QWidget* parent = nullptr);

    // Shows `text` with the characters at `highlightedOffsets` highlighted.
    void setContent(const QString& text, std::span<const std::int64_t> highlightedOffsets);

    SelectableTextEditor* editor() const { return editor_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void applyHighlights();

    SelectableTextEditor* editor_;
    std::vector<std::int64_t> offsets_;
    std::vector<text::TextLocation> ranges_;
};

}  // namespace velquor::ui

#include "ui/text/PlainTextPreview.h"

#include "app/QtText.h"
#include "core/text/base/GraphemeClusters.h"
#include "ui/common/ViewColors.h"
#include "ui/text/SelectableTextEditor.h"

#include <QEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace velquor::ui {

std::vector<text::TextLocation> highlightedRanges(QStringView text, std::span<const std::int64_t> offsets) {
    std::vector<text::TextLocation> ranges;
    if (text.isEmpty() || offsets.empty()) return ranges;
    std::vector<std::int64_t> indexes(offsets.begin(), offsets.end());
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    // boundaries[k] is where character k starts; the last entry is the text's length.
    const auto boundaries = text::graphemeClusterBoundaries(app::engineView(text));
    const auto characters = static_cast<std::int64_t>(boundaries.size()) - 1;
    for (std::size_t i = 0; i < indexes.size();) {
        const std::int64_t first = indexes[i];
        std::size_t j = i;
        while (j + 1 < indexes.size() && indexes[j + 1] == indexes[j] + 1) ++j;
        const std::int64_t last = indexes[j];
        i = j + 1;
        if (last < 0 || first >= characters) continue;
        const auto from = static_cast<std::size_t>(std::max<std::int64_t>(first, 0));
        const auto to = static_cast<std::size_t>(std::min(last, characters - 1)) + 1;
        ranges.push_back({boundaries[from], boundaries[to] - boundaries[from]});
    }
    return ranges;
}

PlainTextPreview::PlainTextPreview(QWidget* parent) : QWidget(parent), editor_(new SelectableTextEditor(this)) {
    editor_->setEditable(false);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(editor_);
    setFocusProxy(editor_);
}

void PlainTextPreview::setContent(const QString& text, std::span<const std::int64_t> highlightedOffsets) {
    if (editor_->text() == text &&
        std::equal(offsets_.begin(), offsets_.end(), highlightedOffsets.begin(), highlightedOffsets.end())) {
        return;
    }
    editor_->setText(text);
    offsets_.assign(highlightedOffsets.begin(), highlightedOffsets.end());
    ranges_ = highlightedRanges(text, highlightedOffsets);
    applyHighlights();
}

void PlainTextPreview::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) applyHighlights();
}

void PlainTextPreview::applyHighlights() { editor_->setHighlights(ranges_, ViewColors::of(palette()).highlight); }

}  // namespace velquor::ui

#include "ui/report/HiddenPayloadList.h"

#include "app/QtText.h"
#include "ui/common/Labels.h"
#include "ui/common/ViewColors.h"
#include "ui/report/ReportRows.h"

#include <QEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace velquor::ui {

namespace {

// A decoded message can be long; its view scrolls past this height.
constexpr int decodedTextMaximumHeight = 120;

}  // namespace

HiddenPayloadList::HiddenPayloadList(QWidget* parent) : OutlinedBox(parent), rows_(new QVBoxLayout(this)) {
    rows_->setContentsMargins(0, 0, 0, 0);
    rows_->setSpacing(10);
    const auto colors = ViewColors::of(palette());
    setColors(colors.boxBorder, colors.boxBackground);
}

void HiddenPayloadList::setPayloads(const std::vector<text::HiddenTextPayload>& payloads) {
    clearLayout(*rows_);
    const std::size_t shown = std::min(payloads.size(), reportRowLimit);
    for (std::size_t i = 0; i < shown; ++i) rows_->addWidget(payloadView(payloads[i]));
    if (payloads.size() > shown) rows_->addWidget(moreRowsLabel(payloads.size(), this));
}

void HiddenPayloadList::changeEvent(QEvent* event) {
    OutlinedBox::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        const auto colors = ViewColors::of(palette());
        setColors(colors.boxBorder, colors.boxBackground);
    }
}

QWidget* HiddenPayloadList::payloadView(const text::HiddenTextPayload& payload) {
    const auto colors = ViewColors::of(palette());
    auto* view = new QWidget(this);
    auto* column = new QVBoxLayout(view);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);

    auto* header = new QHBoxLayout;
    const QString kind = app::qtString(text::rawValue(payload.kind));
    auto* kindLabel = new SymbolLabel("exclamationmark.shield", kind, TextStyle::body, view);
    kindLabel->setColor(colors.orange);
    auto* bytes = new QLabel(QString::number(payload.byteCount) + tr(" bytes"), view);
    bytes->setFont(digitsFont(TextStyle::caption));
    setForeground(*bytes, colors.secondaryText);
    header->addWidget(kindLabel);
    header->addWidget(bytes);
    header->addStretch(1);
    column->addLayout(header);

    auto* decoded = new QPlainTextEdit(view);
    decoded->setReadOnly(true);
    decoded->setPlainText(app::qtString(payload.decodedText));
    decoded->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    decoded->setAccessibleName(kind + tr(" decoded text"));
    decoded->setTabChangesFocus(true);
    const int lines = std::min(decoded->document()->lineCount(), 6);
    decoded->setFixedHeight(
        std::min(decodedTextMaximumHeight, QFontMetrics(decoded->font()).lineSpacing() * lines + 14));
    column->addWidget(decoded);
    return view;
}

}  // namespace velquor::ui

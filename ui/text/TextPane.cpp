#include "ui/text/TextPane.h"

#include "ui/common/Labels.h"
#include "ui/common/OutlinedBox.h"
#include "ui/common/ViewColors.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace velquor::ui {

TextPane::TextPane(const QString& title, QWidget* content, QWidget* parent)
    : QWidget(parent),
      title_(title),
      dropHint_(new SymbolLabel("arrow.down.doc", tr("Drop here"), TextStyle::caption, this)),
      verification_(new SymbolLabel("checkmark.seal.fill", tr("Verified"), TextStyle::caption, this)),
      highlighted_(new SymbolLabel("highlighter", QString(), TextStyle::caption, this)),
      busy_(new SymbolLabel("info.circle", tr("Inspecting…"), TextStyle::caption, this)),
      frame_(new OutlinedBox(this)) {
    auto* titleLabel = styledLabel(title, TextStyle::headline, this);
    setAccessibleName(title);

    auto* header = new QHBoxLayout;
    header->setSpacing(10);
    header->addWidget(titleLabel);
    header->addWidget(dropHint_);
    header->addWidget(verification_);
    header->addWidget(highlighted_);
    header->addWidget(busy_);
    header->addStretch(1);

    auto* frameLayout = new QVBoxLayout(frame_);
    frame_->setContentsMargins(1, 1, 1, 1);
    frameLayout->setContentsMargins(0, 0, 0, 0);
    frameLayout->addWidget(content);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    column->addLayout(header);
    column->addWidget(frame_, 1);

    dropHint_->hide();
    verification_->hide();
    highlighted_->hide();
    busy_->hide();
    applyColors();
}

void TextPane::setDropTargeted(bool targeted) { dropHint_->setVisible(targeted); }

void TextPane::setVerification(std::optional<bool> verified) {
    verified_ = verified;
    verification_->setVisible(verified.has_value());
    if (verified) {
        verification_->setText(*verified ? tr("Verified") : tr("Check output"));
        verification_->setSymbol(*verified ? "checkmark.seal.fill" : "exclamationmark.triangle.fill");
    }
    applyColors();
}

void TextPane::setHighlightedChanges(std::optional<std::int64_t> count) {
    const bool shown = count && *count >= 1;
    highlighted_->setVisible(shown);
    if (shown) highlighted_->setText(QString::number(*count) + tr(" highlighted"));
}

void TextPane::setBusy(bool busy) { busy_->setVisible(busy); }

void TextPane::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) applyColors();
}

void TextPane::applyColors() {
    const auto colors = ViewColors::of(palette());
    dropHint_->setColor(colors.accent);
    verification_->setColor(verified_.value_or(true) ? colors.green : colors.orange);
    highlighted_->setColor(colors.orange);
    busy_->setColor(colors.secondaryText);
    frame_->setColors(colors.separator, colors.textBackground);
}

}  // namespace velquor::ui

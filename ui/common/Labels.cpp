#include "ui/common/Labels.h"

#include "ui/common/Symbols.h"
#include "ui/common/ViewColors.h"

#include <QFontDatabase>
#include <QHBoxLayout>

namespace velquor::ui {

QFont styledFont(TextStyle style, const QFont& base) {
    QFont font = base;
    switch (style) {
        case TextStyle::headline:
            font.setBold(true);
            break;
        case TextStyle::body:
            break;
        case TextStyle::caption:
            font.setPointSizeF(base.pointSizeF() * 0.85);
            break;
    }
    return font;
}

QFont digitsFont(TextStyle style) { return styledFont(style, QFontDatabase::systemFont(QFontDatabase::FixedFont)); }

QLabel* styledLabel(const QString& text, TextStyle style, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setFont(styledFont(style, label->font()));
    label->setTextFormat(Qt::PlainText);
    return label;
}

SymbolLabel::SymbolLabel(std::string_view symbol, const QString& text, TextStyle style, QWidget* parent)
    : QWidget(parent), icon_(new QLabel(this)), text_(styledLabel(text, style, this)) {
    iconSize_ = QFontMetrics(text_->font()).height();
    icon_->setAccessibleName(QString());
    setSymbol(symbol);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(5);
    row->addWidget(icon_);
    row->addWidget(text_);
    row->addStretch(1);
    setAccessibleName(text);
    text_->setAccessibleName(text);
}

void SymbolLabel::setText(const QString& text) {
    text_->setText(text);
    text_->setAccessibleName(text);
    setAccessibleName(text);
}

void SymbolLabel::setSymbol(std::string_view symbol) { icon_->setPixmap(symbolIcon(symbol).pixmap(iconSize_)); }

QString SymbolLabel::text() const { return text_->text(); }

void SymbolLabel::setColor(const QColor& color) { setForeground(*text_, color); }

void SymbolLabel::setWordWrap(bool wrap) {
    text_->setWordWrap(wrap);
    // A wrapped text takes the whole row, with the symbol beside its first line.
    auto* row = static_cast<QHBoxLayout*>(layout());
    row->setStretch(1, wrap ? 1 : 0);
    row->setStretch(2, wrap ? 0 : 1);
    row->setAlignment(icon_, wrap ? Qt::AlignTop : Qt::Alignment());
}

}  // namespace velquor::ui

#include "ui/style/PromptReviewSheet.h"

#include "app/QtText.h"
#include "ui/common/Labels.h"
#include "ui/common/Symbols.h"
#include "ui/common/ViewColors.h"
#include "ui/text/SelectableTextEditor.h"

#include <QHBoxLayout>
#include <QLayoutItem>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace velquor::ui {

namespace {

QPushButton* sheetButton(const char* symbol, const QString& label, QWidget* parent) {
    auto* button = new QPushButton(symbol ? symbolIcon(symbol) : QIcon(), label, parent);
    button->setAccessibleName(label);
    button->setAutoDefault(false);
    return button;
}

void clearRow(QHBoxLayout& row) {
    while (QLayoutItem* item = row.takeAt(0)) {
        delete item->widget();
        delete item;
    }
}

}  // namespace

PromptReviewSheet::PromptReviewSheet(MakePrompt makePrompt, CopyPrompt copyPrompt, QWidget* parent)
    : QDialog(parent),
      makePrompt_(std::move(makePrompt)),
      copyPrompt_(std::move(copyPrompt)),
      badges_(new QHBoxLayout),
      editor_(new SelectableTextEditor(this)) {
    setWindowTitle(tr("Review Rewrite Prompt"));
    setModal(true);
    setMinimumSize(760, 540);
    const auto colors = ViewColors::of(palette());

    auto* subtitle = styledLabel(tr("Edit the instructions or source block before copying."), TextStyle::body, this);
    setForeground(*subtitle, colors.secondaryText);
    badges_->setSpacing(12);
    editor_->setAccessibleName(tr("Editable rewrite prompt"));
    editor_->textView()->setAccessibleName(tr("Editable rewrite prompt"));
    editor_->textView()->setTabChangesFocus(true);
    auto* footer = styledLabel(tr("Generated locally. Nothing is sent by Velquor."), TextStyle::caption, this);
    setForeground(*footer, colors.secondaryText);

    auto* regenerateButton = sheetButton(nullptr, tr("Regenerate"), this);
    auto* cancel = sheetButton(nullptr, tr("Cancel"), this);
    auto* copy = sheetButton("doc.on.doc", tr("Copy Prompt"), this);
    copy->setDefault(true);
    connect(regenerateButton, &QPushButton::clicked, this, &PromptReviewSheet::regenerate);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(copy, &QPushButton::clicked, this, [this] { copyPrompt_(draft(), result_.redactedFindings); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(footer, 1);
    buttons->addWidget(regenerateButton);
    buttons->addWidget(cancel);
    buttons->addWidget(copy);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(20, 20, 20, 20);
    column->setSpacing(12);
    column->addWidget(styledLabel(tr("Review Rewrite Prompt"), TextStyle::headline, this));
    column->addWidget(subtitle);
    column->addLayout(badges_);
    column->addWidget(editor_, 1);
    column->addLayout(buttons);
}

QSize PromptReviewSheet::sizeHint() const { return {820, 620}; }

void PromptReviewSheet::regenerate() {
    result_ = makePrompt_();
    editor_->setText(app::qtString(result_.prompt));
    refreshBadges();
}

const QString& PromptReviewSheet::draft() const { return editor_->text(); }

void PromptReviewSheet::refreshBadges() {
    clearRow(*badges_);
    const auto colors = ViewColors::of(palette());
    if (result_.redactedFindings > 0) {
        auto* redacted = new SymbolLabel("eye.slash", QString::number(result_.redactedFindings) + tr(" redacted"),
                                         TextStyle::caption, this);
        redacted->setColor(colors.orange);
        badges_->addWidget(redacted);
    }
    if (result_.usesPersonalBaseline) {
        badges_->addWidget(
            new SymbolLabel("person.crop.circle.badge.checkmark", tr("My baseline"), TextStyle::caption, this));
    }
    const QString priorities =
        QString::number(result_.includedSignals) + (result_.includedSignals == 1 ? tr(" priority") : tr(" priorities"));
    badges_->addWidget(new SymbolLabel("checklist", priorities, TextStyle::caption, this));
    badges_->addStretch(1);
}

}  // namespace velquor::ui

#include "ui/text/TextActionRow.h"

#include "app/AppModel.h"
#include "ui/common/ElidedLabel.h"
#include "ui/common/Labels.h"
#include "ui/common/Symbols.h"
#include "ui/common/ViewColors.h"

#include <QAction>
#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

namespace velquor::ui {

TextActionRow::TextActionRow(app::AppModel& model, QWidget* parent)
    : QWidget(parent), model_(model), optionsMenu_(new QMenu(this)), status_(new ElidedLabel(this)) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);

    auto* choose = addButton("doc.text", tr("Choose text"));
    auto* inspect = addButton("clipboard", tr("Inspect clipboard"));
    auto* clean = addButton("wand.and.sparkles", tr("Clean clipboard"));
    connect(choose, &QPushButton::clicked, &model_, &app::AppModel::chooseTextFile);
    connect(inspect, &QPushButton::clicked, &model_, &app::AppModel::inspectClipboard);
    connect(clean, &QPushButton::clicked, &model_, &app::AppModel::sanitizeClipboardInPlace);

    restore_ = new QToolButton(this);
    restore_->setIcon(symbolIcon("arrow.uturn.backward"));
    restore_->setToolTip(tr("Restore previous clipboard"));
    restore_->setAccessibleName(tr("Restore previous clipboard"));
    restore_->setFocusPolicy(Qt::StrongFocus);
    row->addWidget(restore_);
    connect(restore_, &QToolButton::clicked, &model_, &app::AppModel::restorePreviousClipboard);

    auto* options = new QToolButton(this);
    options->setText(tr("Options"));
    options->setAccessibleName(tr("Options"));
    options->setIcon(symbolIcon("slider.horizontal.3"));
    options->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    options->setPopupMode(QToolButton::InstantPopup);
    options->setFocusPolicy(Qt::StrongFocus);
    options->setMenu(optionsMenu_);
    optionsMenu_->setTitle(tr("Options"));
    row->addWidget(options);

    using M = app::AppModel;
    optionsMenu_->addSection(tr("Hygiene"));
    addOption(tr("Remove unsafe Unicode"), &M::removeUnsafeUnicode, &M::setRemoveUnsafeUnicode,
              &M::removeUnsafeUnicodeChanged);
    addOption(tr("Normalize whitespace"), &M::normalizeWhitespace, &M::setNormalizeWhitespace,
              &M::normalizeWhitespaceChanged);
    addOption(tr("Strip URL tracking"), &M::stripTrackingParameters, &M::setStripTrackingParameters,
              &M::stripTrackingParametersChanged);
    optionsMenu_->addSection(tr("Style cleanup"));
    addOption(tr("Normalize punctuation"), &M::normalizePunctuation, &M::setNormalizePunctuation,
              &M::normalizePunctuationChanged);
    addOption(tr("Flatten Markdown"), &M::flattenMarkdown, &M::setFlattenMarkdown, &M::flattenMarkdownChanged);
    addOption(tr("Unwrap paragraphs"), &M::unwrapParagraphs, &M::setUnwrapParagraphs, &M::unwrapParagraphsChanged);
    addOption(tr("ASCII only"), &M::asciiOnly, &M::setAsciiOnly, &M::asciiOnlyChanged);
    optionsMenu_->addSeparator();
    addOption(tr("Highlight changes"), &M::highlightChanges, &M::setHighlightChanges, &M::highlightChangesChanged);

    apply_ = addButton("checkmark", tr("Apply"));
    revert_ = addButton("arrow.uturn.backward", tr("Revert"));
    copy_ = addButton("doc.on.doc", tr("Copy"));
    save_ = addButton("square.and.arrow.down", tr("Save cleaned"));
    connect(apply_, &QPushButton::clicked, &model_, &app::AppModel::replaceTextWithCleaned);
    connect(revert_, &QPushButton::clicked, &model_, &app::AppModel::revert);
    connect(copy_, &QPushButton::clicked, &model_, &app::AppModel::copyCleanedText);
    connect(save_, &QPushButton::clicked, &model_, &app::AppModel::saveCleanedText);

    status_->setAccessibleName(tr("Text status"));
    status_->setFont(styledFont(TextStyle::caption, status_->font()));
    status_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setForeground(*status_, ViewColors::of(palette()).secondaryText);
    row->addWidget(status_, 1);

    connect(&model_, &M::textStatusChanged, this, &TextActionRow::refresh);
    connect(&model_, &M::canRestoreClipboardChanged, this, &TextActionRow::refresh);
    connect(&model_, &M::canRevertChanged, this, &TextActionRow::refresh);
    connect(&model_, &M::textSummaryChanged, this, &TextActionRow::refresh);
    connect(&model_, &M::cleanedTextChanged, this, &TextActionRow::refresh);
    refresh();
}

QPushButton* TextActionRow::addButton(const char* symbol, const QString& label) {
    auto* button = new QPushButton(symbolIcon(symbol), label, this);
    button->setAccessibleName(label);
    button->setAutoDefault(false);
    layout()->addWidget(button);
    return button;
}

void TextActionRow::addOption(const QString& label, bool (app::AppModel::*read)() const,
                              void (app::AppModel::*write)(bool), void (app::AppModel::*changed)()) {
    QAction* option = optionsMenu_->addAction(label);
    option->setCheckable(true);
    option->setChecked((model_.*read)());
    connect(option, &QAction::toggled, &model_, [this, write](bool on) { (model_.*write)(on); });
    connect(&model_, changed, option, [this, option, read] { option->setChecked((model_.*read)()); });
}

void TextActionRow::refresh() {
    restore_->setVisible(model_.canRestoreClipboard());
    apply_->setEnabled(model_.textSummary().contentChanged);
    revert_->setVisible(model_.canRevert());
    const bool canUseOutput = !model_.cleanedText().isEmpty();
    copy_->setEnabled(canUseOutput);
    save_->setEnabled(canUseOutput);
    status_->setFullText(model_.textStatus());
}

}  // namespace velquor::ui

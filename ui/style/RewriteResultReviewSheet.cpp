#include "ui/style/RewriteResultReviewSheet.h"

#include "app/QtText.h"
#include "ui/common/Labels.h"
#include "ui/common/Symbols.h"
#include "ui/common/ViewColors.h"
#include "ui/style/RewriteComparisonView.h"
#include "ui/text/SelectableTextEditor.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace velquor::ui {

namespace {

QPushButton* sheetButton(const char* symbol, const QString& label, QWidget* parent) {
    auto* button = new QPushButton(symbolIcon(symbol), label, parent);
    button->setAccessibleName(label);
    button->setAutoDefault(false);
    return button;
}

QLabel* countCaption(const QString& name, const QColor& color, QWidget* parent) {
    auto* caption = styledLabel({}, TextStyle::caption, parent);
    caption->setFont(digitsFont(TextStyle::caption));
    caption->setAccessibleName(name);
    setForeground(*caption, color);
    return caption;
}

QWidget* pane(const QString& heading, QLabel* count, SelectableTextEditor* editor, QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* header = new QHBoxLayout;
    header->setSpacing(8);
    header->addWidget(styledLabel(heading, TextStyle::headline, box));
    header->addWidget(count);
    header->addStretch(1);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    column->addLayout(header);
    column->addWidget(editor, 1);
    return box;
}

bool isBlank(const QString& text) { return text.trimmed().isEmpty(); }

}  // namespace

RewriteResultReviewSheet::RewriteResultReviewSheet(Actions actions, QWidget* parent)
    : QDialog(parent),
      actions_(std::move(actions)),
      status_(new SymbolLabel("checkmark.circle", {}, TextStyle::caption, this)),
      originalEditor_(new SelectableTextEditor(this)),
      rewriteEditor_(new SelectableTextEditor(this)),
      details_(new QStackedWidget(this)),
      comparison_(new RewriteComparisonView) {
    setWindowTitle(tr("Review Rewrite Result"));
    setModal(true);
    setMinimumSize(940, 700);
    const auto colors = ViewColors::of(palette());
    status_->setAccessibleName(tr("Rewrite status"));

    auto* subtitle = styledLabel(tr("Anchor checks find concrete changes; they do not prove semantic equivalence."),
                                 TextStyle::body, this);
    setForeground(*subtitle, colors.secondaryText);
    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(styledLabel(tr("Review Rewrite Result"), TextStyle::headline, this));
    titleRow->addStretch(1);
    titleRow->addWidget(status_);

    removedCount_ = countCaption(tr("Removed tokens"), colors.red, this);
    addedCount_ = countCaption(tr("Added tokens"), colors.green, this);
    originalEditor_->setEditable(false);
    originalEditor_->setAccessibleName(tr("Original text"));
    originalEditor_->textView()->setAccessibleName(tr("Original text"));
    rewriteEditor_->setAccessibleName(tr("Candidate rewrite"));
    rewriteEditor_->textView()->setAccessibleName(tr("Candidate rewrite"));
    rewriteEditor_->textView()->setTabChangesFocus(true);
    auto* split = new QSplitter(Qt::Horizontal, this);
    split->setChildrenCollapsible(false);
    split->addWidget(pane(tr("Original"), removedCount_, originalEditor_, split));
    split->addWidget(pane(tr("Rewrite"), addedCount_, rewriteEditor_, split));
    split->setMinimumHeight(220);

    auto* divider = new QFrame(this);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Plain);
    setForeground(*divider, colors.separator);

    auto* placeholder = new SymbolLabel("text.badge.checkmark", tr("Paste the rewritten text, then analyze it."),
                                        TextStyle::body, this);
    placeholder->setColor(colors.secondaryText);
    auto* placeholderPage = new QWidget;
    auto* placeholderColumn = new QVBoxLayout(placeholderPage);
    placeholderColumn->addWidget(placeholder);
    placeholderColumn->addStretch(1);
    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(comparison_);
    details_->addWidget(placeholderPage);
    details_->addWidget(scroll);

    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setAccessibleName(tr("Cancel"));
    cancel->setAutoDefault(false);
    cleanButton_ = sheetButton("shield", tr("Clean Hygiene"), this);
    cleanButton_->setToolTip(tr("Remove unsafe Unicode, normalize whitespace, and strip URL tracking parameters"));
    analyzeButton_ = sheetButton("magnifyingglass", tr("Analyze Rewrite"), this);
    copyButton_ = sheetButton("doc.on.doc", tr("Copy"), this);
    acceptButton_ = sheetButton("checkmark", tr("Accept Rewrite"), this);
    acceptButton_->setDefault(true);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cleanButton_, &QPushButton::clicked, this, &RewriteResultReviewSheet::clean);
    connect(analyzeButton_, &QPushButton::clicked, this, [this] { analyze(draft()); });
    connect(copyButton_, &QPushButton::clicked, this, [this] { actions_.copy(draft()); });
    connect(acceptButton_, &QPushButton::clicked, this, [this] {
        actions_.accept(draft());
        accept();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* button : {cancel, cleanButton_, analyzeButton_, copyButton_, acceptButton_}) {
        buttons->addWidget(button);
    }

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(20, 20, 20, 20);
    column->setSpacing(12);
    column->addLayout(titleRow);
    column->addWidget(subtitle);
    column->addWidget(split, 3);
    column->addWidget(divider);
    column->addWidget(details_, 2);
    column->addLayout(buttons);

    connect(rewriteEditor_, &SelectableTextEditor::textEdited, this, &RewriteResultReviewSheet::draftEdited);
    showReport();
}

QSize RewriteResultReviewSheet::sizeHint() const { return {1040, 780}; }

void RewriteResultReviewSheet::reset(const QString& original) {
    original_ = original;
    reanalyzeAfterClean_ = false;
    report_.reset();
    originalEditor_->setText(original_);
    rewriteEditor_->setText({});
    showReport();
}

const QString& RewriteResultReviewSheet::draft() const { return rewriteEditor_->text(); }

void RewriteResultReviewSheet::setDraft(const QString& draft) {
    if (draft == rewriteEditor_->text()) return;
    rewriteEditor_->setText(draft);
    draftEdited();
}

void RewriteResultReviewSheet::draftEdited() {
    report_.reset();
    showReport();
    if (reanalyzeAfterClean_) {
        reanalyzeAfterClean_ = false;
        analyze(draft());
    }
}

void RewriteResultReviewSheet::analyze(const QString& rewrite) {
    report_ = actions_.compare(rewrite);
    showReport();
}

void RewriteResultReviewSheet::clean() {
    if (!report_) return;
    reanalyzeAfterClean_ = true;
    const QString cleaned = app::qtString(report_->hygieneCleanup.text);
    if (cleaned == draft()) {
        reanalyzeAfterClean_ = false;
        return;
    }
    setDraft(cleaned);
}

void RewriteResultReviewSheet::showReport() {
    const auto colors = ViewColors::of(palette());
    const bool hasReport = report_.has_value();
    status_->setVisible(hasReport);
    details_->setCurrentIndex(hasReport ? 1 : 0);
    const std::size_t removed = hasReport ? report_->textDiff.removed.size() : 0;
    const std::size_t added = hasReport ? report_->textDiff.added.size() : 0;
    removedCount_->setText(QString::number(removed) + tr(" removed"));
    removedCount_->setVisible(removed > 0);
    addedCount_->setText(QString::number(added) + tr(" added"));
    addedCount_->setVisible(added > 0);
    if (hasReport) {
        const bool concerns = report_->hasConcerns();
        status_->setText(concerns ? tr("Review needed") : tr("No concrete changes found"));
        status_->setSymbol(concerns ? "exclamationmark.triangle" : "checkmark.circle");
        status_->setColor(concerns ? colors.orange : colors.green);
        comparison_->setReport(*report_);
        originalEditor_->setHighlights(report_->textDiff.removed, colors.removedHighlight);
        rewriteEditor_->setHighlights(report_->textDiff.added, colors.addedHighlight);
    } else {
        originalEditor_->setHighlights({}, colors.removedHighlight);
        rewriteEditor_->setHighlights({}, colors.addedHighlight);
    }
    refreshButtons();
}

void RewriteResultReviewSheet::refreshButtons() {
    cleanButton_->setVisible(report_ && report_->hygieneCleanup.summary.contentChanged);
    analyzeButton_->setEnabled(!isBlank(draft()));
    const bool analyzed = report_ && app::qtString(report_->rewrittenText) == draft();
    copyButton_->setEnabled(analyzed);
    acceptButton_->setEnabled(analyzed);
}

}  // namespace velquor::ui

#include "ui/text/TextBeforeAfterView.h"

#include "app/AppModel.h"
#include "ui/text/PlainTextPreview.h"
#include "ui/text/SelectableTextEditor.h"
#include "ui/text/TextDrop.h"
#include "ui/text/TextPane.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTimer>

namespace velquor::ui {

namespace {

constexpr int paneGap = 14;
constexpr int panesMinimumHeight = 300;

}  // namespace

TextBeforeAfterView::TextBeforeAfterView(app::AppModel& model, QWidget* parent)
    : QWidget(parent), model_(model), editor_(new SelectableTextEditor), preview_(new PlainTextPreview) {
    editor_->setEditable(true);
    editor_->textView()->setAccessibleName(tr("Original Text"));
    preview_->editor()->textView()->setAccessibleName(tr("New Text"));
    original_ = new TextPane(tr("Original Text"), editor_, this);
    cleaned_ = new TextPane(tr("New Text"), preview_, this);
    setMinimumHeight(panesMinimumHeight);
    setAcceptDrops(true);

    connect(editor_, &SelectableTextEditor::textEdited, this, [this] {
        model_.setInputText(editor_->text());
        model_.scheduleTextInspection();
    });
    connect(&model_, &app::AppModel::inputTextChanged, this, &TextBeforeAfterView::showInputText);
    connect(&model_, &app::AppModel::textSelectionRequestChanged, this,
            [this] { editor_->setSelectionRequest(model_.textSelectionRequest()); });
    // Every analysis sets the cleaned text and its offsets together.
    connect(&model_, &app::AppModel::textAnalysisApplied, this, &TextBeforeAfterView::showCleanedText);
    connect(&model_, &app::AppModel::highlightChangesChanged, this, &TextBeforeAfterView::showCleanedText);
    connect(&model_, &app::AppModel::cleanedOutputVerifiedChanged, this, &TextBeforeAfterView::showVerification);
    connect(&model_, &app::AppModel::isInspectingTextChanged, this,
            [this] { cleaned_->setBusy(model_.isInspectingText()); });

    showInputText();
    showCleanedText();
    cleaned_->setBusy(model_.isInspectingText());
}

void TextBeforeAfterView::showInputText() { editor_->setText(model_.inputText()); }

void TextBeforeAfterView::showCleanedText() {
    const bool highlight = model_.highlightChanges();
    const auto& offsets = model_.cleanedChangedOffsets();
    preview_->setContent(model_.cleanedText(),
                         highlight ? std::span<const std::int64_t>(offsets) : std::span<const std::int64_t>());
    cleaned_->setHighlightedChanges(highlight ? std::optional<std::int64_t>(static_cast<std::int64_t>(offsets.size()))
                                              : std::nullopt);
    showVerification();
}

void TextBeforeAfterView::showVerification() {
    cleaned_->setVerification(model_.cleanedText().isEmpty() ? std::nullopt
                                                             : std::optional<bool>(model_.cleanedOutputVerified()));
}

void TextBeforeAfterView::setDropTargeted(bool targeted) {
    isDropTargeted_ = targeted;
    original_->setDropTargeted(targeted);
}

void TextBeforeAfterView::dragEnterEvent(QDragEnterEvent* event) {
    if (!offersTextDrop(*event->mimeData())) return;
    event->acceptProposedAction();
    setDropTargeted(true);
}

void TextBeforeAfterView::dragMoveEvent(QDragMoveEvent* event) {
    if (offersTextDrop(*event->mimeData())) event->acceptProposedAction();
}

void TextBeforeAfterView::dragLeaveEvent(QDragLeaveEvent*) { setDropTargeted(false); }

void TextBeforeAfterView::dropEvent(QDropEvent* event) {
    setDropTargeted(false);
    const auto content = textDropContent(*event->mimeData());
    if (std::holds_alternative<std::monostate>(content)) return;
    event->acceptProposedAction();
    // After the drag has ended: loading a file may show a message, which must not run inside
    // the drag's event loop.
    QTimer::singleShot(0, this, [this, content] {
        if (const auto* text = std::get_if<QString>(&content)) {
            model_.loadDroppedText(*text);
        } else {
            model_.loadTextFile(std::get<std::filesystem::path>(content));
        }
    });
}

void TextBeforeAfterView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutPanes();
}

void TextBeforeAfterView::layoutPanes() {
    const int paneWidth = std::max(0, (width() - paneGap) / 2);
    original_->setGeometry(0, 0, paneWidth, height());
    cleaned_->setGeometry(width() - paneWidth, 0, paneWidth, height());
}

}  // namespace velquor::ui

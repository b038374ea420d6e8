#include "ui/text/SelectableTextEditor.h"

#include "ui/text/EditorFindBar.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBlock>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>

namespace velquor::ui {

namespace {

// No view shows more characters than this at once; more highlights would only cost time.
constexpr std::size_t visibleHighlightLimit = 4096;
// Undo and redo reach back this many edits with line breaks; older ones come back as LF.
constexpr std::size_t rememberedFragmentLimit = 100;

bool holdsLineBreak(QStringView text) {
    return std::any_of(text.begin(), text.end(), [](QChar unit) { return isDocumentLineBreak(unit.unicode()); });
}

qsizetype documentLength(const QTextDocument& document) {
    return document.characterCount() - 1;  // without the separator that ends the last block
}

QString documentSlice(QTextDocument& document, qsizetype start, qsizetype end) {
    QTextCursor cursor(&document);
    cursor.setPosition(static_cast<int>(start));
    cursor.setPosition(static_cast<int>(end), QTextCursor::KeepAnchor);
    return cursor.selectedText();
}

}  // namespace

// The platform text view: plain text only, pastes applied through the editor so that the
// model receives exactly the pasted text, drops left to the workspace around it.
class SelectableTextEditor::TextView : public QPlainTextEdit {
public:
    TextView(SelectableTextEditor& owner, QWidget* parent) : QPlainTextEdit(parent), owner_(owner) {}

    using QPlainTextEdit::blockBoundingGeometry;
    using QPlainTextEdit::contentOffset;
    using QPlainTextEdit::firstVisibleBlock;

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override { return source->hasText(); }
    void insertFromMimeData(const QMimeData* source) override {
        if (source->hasText() && !isReadOnly()) owner_.insertPlainText(source->text());
    }
    void keyPressEvent(QKeyEvent* event) override {
        // Tab types a tab; Ctrl+Tab leaves the editor, as in every text area.
        if ((event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) &&
            event->modifiers().testFlag(Qt::ControlModifier)) {
            focusNextPrevChild(event->key() == Qt::Key_Tab && !event->modifiers().testFlag(Qt::ShiftModifier));
            return;
        }
        // Shift+Return would put U+2028 into the text, a separator the person cannot see; it
        // breaks the line like Return does.
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
            event->modifiers() == Qt::ShiftModifier) {
            QKeyEvent plain(event->type(), event->key(), Qt::NoModifier, QStringLiteral("\r"));
            QPlainTextEdit::keyPressEvent(&plain);
            return;
        }
        QPlainTextEdit::keyPressEvent(event);
    }
    void resizeEvent(QResizeEvent* event) override {
        QPlainTextEdit::resizeEvent(event);
        owner_.refreshVisibleHighlights();
    }

private:
    SelectableTextEditor& owner_;
};

std::vector<DocumentRange> rangesAfterEdit(const std::vector<DocumentRange>& ranges, qsizetype position,
                                           qsizetype removed, qsizetype added) {
    const qsizetype removedEnd = position + removed;
    const qsizetype shift = added - removed;
    std::vector<DocumentRange> result;
    result.reserve(ranges.size());
    for (const auto& range : ranges) {
        if (range.end <= position) {
            result.push_back(range);
        } else if (range.start >= removedEnd) {
            result.push_back({range.start + shift, range.end + shift});
        } else {
            if (range.start < position) result.push_back({range.start, position});
            if (range.end > removedEnd) result.push_back({removedEnd + shift, range.end + shift});
        }
    }
    std::stable_sort(result.begin(), result.end(),
                     [](const DocumentRange& a, const DocumentRange& b) { return a.start < b.start; });
    return result;
}

SelectableTextEditor::SelectableTextEditor(QWidget* parent)
    : QWidget(parent), view_(new TextView(*this, this)), findBar_(new EditorFindBar(*view_, this)) {
    view_->setFrameShape(QFrame::NoFrame);
    view_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    view_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    view_->setUndoRedoEnabled(true);
    view_->setAcceptDrops(false);
    view_->viewport()->setAcceptDrops(false);
    view_->document()->setDocumentMargin(8);
    setFocusProxy(view_);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(findBar_);
    column->addWidget(view_, 1);

    auto* find = new QShortcut(QKeySequence::Find, this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(find, &QShortcut::activated, findBar_, &EditorFindBar::open);

    connect(view_->document(), &QTextDocument::contentsChange, this, &SelectableTextEditor::documentChanged);
    connect(view_->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &SelectableTextEditor::refreshVisibleHighlights);
}

SelectableTextEditor::~SelectableTextEditor() = default;

QPlainTextEdit* SelectableTextEditor::textView() const { return view_; }

void SelectableTextEditor::setText(const QString& text) {
    if (text.isSharedWith(text_) || text == text_) return;
    isUpdating_ = true;
    text_ = text;
    map_ = EditorOffsetMap::forText(text_);
    view_->setPlainText(text_);
    isUpdating_ = false;
    fragments_.clear();
    highlights_.clear();
    highlightEndsSoFar_.clear();
    refreshVisibleHighlights();
}

void SelectableTextEditor::setEditable(bool editable) {
    view_->setReadOnly(!editable);
    // A read-only view has no use for Tab, so Tab moves on from it.
    view_->setTabChangesFocus(!editable);
    view_->setTextInteractionFlags(editable ? Qt::TextEditorInteraction
                                            : Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void SelectableTextEditor::setHighlights(std::span<const text::TextLocation> ranges, const QColor& color) {
    const auto length = static_cast<std::int64_t>(text_.size());
    highlights_.clear();
    highlights_.reserve(ranges.size());
    for (const auto& range : ranges) {
        if (range.utf16Location < 0 || range.utf16Length < 1 || range.utf16Length > length - range.utf16Location) {
            continue;
        }
        highlights_.push_back({map_.documentStart(range.utf16Location), map_.documentEnd(range.end())});
    }
    std::stable_sort(highlights_.begin(), highlights_.end(),
                     [](const DocumentRange& a, const DocumentRange& b) { return a.start < b.start; });
    highlightColor_ = color;
    refreshVisibleHighlights();
}

void SelectableTextEditor::setSelectionRequest(const std::optional<app::TextSelectionRequest>& request) {
    if (!request || request->id == lastSelectionRequestID_) return;
    const auto& range = request->range;
    const auto length = static_cast<std::int64_t>(text_.size());
    if (range.utf16Location < 0 || range.utf16Length < 0 || range.utf16Length > length - range.utf16Location) return;
    QTextCursor cursor(view_->document());
    cursor.setPosition(static_cast<int>(map_.documentStart(range.utf16Location)));
    cursor.setPosition(static_cast<int>(map_.documentEnd(range.end())), QTextCursor::KeepAnchor);
    view_->setTextCursor(cursor);
    view_->ensureCursorVisible();
    view_->setFocus(Qt::OtherFocusReason);
    lastSelectionRequestID_ = request->id;
}

void SelectableTextEditor::documentChanged(int position, int removed, int added) {
    if (isUpdating_) return;
    // Qt may report a wider window than the edit (format changes, the final block separator),
    // so the window is narrowed to the units that really differ before anything is applied.
    QTextDocument& document = *view_->document();
    const qsizetype oldLength = map_.documentEnd(text_.size());
    const qsizetype start = std::clamp<qsizetype>(position, 0, oldLength);
    const qsizetype oldEnd = std::min<qsizetype>(start + removed, oldLength);
    const qsizetype newEnd = std::min<qsizetype>(start + added, documentLength(document));
    if (newEnd < start) return;
    const QString before = map_.documentText(text_, map_.modelOffset(start), map_.modelOffset(oldEnd));
    const QString after = documentSlice(document, start, newEnd);

    qsizetype prefix = 0;
    const qsizetype shorter = std::min(before.size(), after.size());
    while (prefix < shorter && before[prefix] == after[prefix]) ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
        ++suffix;
    }
    const qsizetype removedUnits = before.size() - prefix - suffix;
    const QString inserted = after.mid(prefix, after.size() - prefix - suffix);
    if (removedUnits == 0 && inserted.isEmpty()) return;
    if (const Fragment* fragment = rememberedFragment(start + prefix, inserted)) {
        const Fragment restored = *fragment;
        applyEdit(start + prefix, removedUnits, restored.modelText, restored.pairs);
        return;
    }
    applyEdit(start + prefix, removedUnits, modelTextFromDocument(inserted), EditorOffsetMap());
}

void SelectableTextEditor::rememberFragment(qsizetype documentPosition, const QString& modelText,
                                            const EditorOffsetMap& pairs) {
    if (!holdsLineBreak(modelText)) return;
    fragments_.push_back({documentPosition, pairs.documentText(modelText, 0, modelText.size()), modelText, pairs});
    if (fragments_.size() > rememberedFragmentLimit) fragments_.pop_front();
}

const SelectableTextEditor::Fragment* SelectableTextEditor::rememberedFragment(qsizetype documentPosition,
                                                                               const QString& documentText) const {
    if (!documentText.contains(QChar(u'\u2029'))) return nullptr;
    for (auto fragment = fragments_.rbegin(); fragment != fragments_.rend(); ++fragment) {
        if (fragment->documentPosition == documentPosition && fragment->documentText == documentText) {
            return &*fragment;
        }
    }
    return nullptr;
}

void SelectableTextEditor::applyEdit(qsizetype documentStart, qsizetype documentRemoved, const QString& modelText,
                                     const EditorOffsetMap& addedPairs) {
    const qsizetype modelStart = map_.modelOffset(documentStart);
    const qsizetype modelEnd = map_.modelOffset(documentStart + documentRemoved);
    rememberFragment(documentStart, text_.mid(modelStart, modelEnd - modelStart), map_.slice(modelStart, modelEnd));
    rememberFragment(documentStart, modelText, addedPairs);
    text_.replace(modelStart, modelEnd - modelStart, modelText);
    map_.replace(modelStart, modelEnd, modelText.size(), addedPairs);
    const qsizetype documentAdded = addedPairs.documentEnd(modelText.size());
    highlights_ = rangesAfterEdit(highlights_, documentStart, documentRemoved, documentAdded);
    refreshVisibleHighlights();
    Q_EMIT textEdited();
}

void SelectableTextEditor::insertPlainText(const QString& pasted) {
    // The document stores the pasted line breaks as block separators; the model gets the
    // pasted text itself.
    QTextCursor cursor = view_->textCursor();
    const qsizetype start = cursor.selectionStart();
    const qsizetype removed = cursor.selectionEnd() - start;
    isUpdating_ = true;
    cursor.insertText(pasted);
    isUpdating_ = false;
    view_->setTextCursor(cursor);
    view_->ensureCursorVisible();
    applyEdit(start, removed, pasted, EditorOffsetMap::forText(pasted));
}

void SelectableTextEditor::refreshVisibleHighlights() {
    highlightEndsSoFar_.resize(highlights_.size());
    qsizetype largest = 0;
    for (std::size_t i = 0; i < highlights_.size(); ++i) {
        largest = std::max(largest, highlights_[i].end);
        highlightEndsSoFar_[i] = largest;
    }
    QList<QTextEdit::ExtraSelection> selections;
    if (!highlights_.empty()) {
        QTextBlock block = view_->firstVisibleBlock();
        const qsizetype first = block.isValid() ? block.position() : 0;
        const qreal bottom = view_->viewport()->height();
        qsizetype last = first;
        for (; block.isValid(); block = block.next()) {
            if (view_->blockBoundingGeometry(block).translated(view_->contentOffset()).top() > bottom) break;
            last = block.position() + block.length();
        }
        auto index =
            static_cast<std::size_t>(std::partition_point(highlightEndsSoFar_.begin(), highlightEndsSoFar_.end(),
                                                          [first](qsizetype end) { return end <= first; }) -
                                     highlightEndsSoFar_.begin());
        QTextCharFormat format;
        format.setBackground(highlightColor_);
        for (; index < highlights_.size() && highlights_[index].start < last; ++index) {
            if (highlights_[index].end <= first) continue;
            if (static_cast<std::size_t>(selections.size()) == visibleHighlightLimit) break;
            QTextCursor cursor(view_->document());
            cursor.setPosition(static_cast<int>(highlights_[index].start));
            cursor.setPosition(static_cast<int>(highlights_[index].end), QTextCursor::KeepAnchor);
            selections.append({cursor, format});
        }
    }
    view_->setExtraSelections(selections);
}

}  // namespace velquor::ui

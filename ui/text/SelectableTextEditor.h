#pragma once

#include "app/TextSelectionRequest.h"
#include "core/text/records/TextLocation.h"
#include "ui/text/EditorOffsetMap.h"

#include <QColor>
#include <QString>
#include <QUuid>
#include <QWidget>

#include <deque>
#include <optional>
#include <span>
#include <vector>

class QPlainTextEdit;

namespace velquor::ui {

class EditorFindBar;

// A range of the editor's document, in document units.
struct DocumentRange {
    qsizetype start = 0;
    qsizetype end = 0;

    friend bool operator==(const DocumentRange&, const DocumentRange&) = default;
};

// Highlights after the document range [position, position + removed) was replaced by `added`
// units: ranges after the edit move with it, ranges it cut lose the cut part, and nothing
// inserted is ever highlighted.
std::vector<DocumentRange> rangesAfterEdit(const std::vector<DocumentRange>& ranges, qsizetype position,
                                           qsizetype removed, qsizetype added);

// The plain-text editor both panes use. The bound text is the model's text exactly: each edit
// is applied to it as the change it is (position, removed units, added units), so that every
// character the person did not touch stays as it was, including those the document cannot
// tell apart (NBSP, CR, CR LF, U+2028 and U+2029). Selection requests and highlights come in
// the text's UTF-16 offsets and are mapped onto the document the same way.
class SelectableTextEditor : public QWidget {
    Q_OBJECT

public:
    explicit SelectableTextEditor(QWidget* parent = nullptr);
    ~SelectableTextEditor() override;

    // The bound text, with every edit made in the editor applied.
    const QString& text() const { return text_; }
    // Shows `text`; the document is replaced only when it differs from the bound text.
    void setText(const QString& text);
    void setEditable(bool editable);
    // Ranges with a location of at least 0, a length of at least 1 and an end inside the text
    // are highlighted; the others are left out.
    void setHighlights(std::span<const text::TextLocation> ranges, const QColor& color);
    // Carried out once per request id, when its range lies inside the text: selects the range,
    // reveals it and focuses the editor.
    void setSelectionRequest(const std::optional<app::TextSelectionRequest>& request);

    QPlainTextEdit* textView() const;
    EditorFindBar* findBar() const { return findBar_; }
    // The highlights in document units, in order of their start.
    const std::vector<DocumentRange>& highlights() const { return highlights_; }

Q_SIGNALS:
    // The person changed the text; text() holds the result.
    void textEdited();

private:
    class TextView;

    void documentChanged(int position, int removed, int added);
    void applyEdit(qsizetype documentStart, qsizetype documentRemoved, const QString& modelText,
                   const EditorOffsetMap& addedPairs);
    void insertPlainText(const QString& pasted);
    void refreshVisibleHighlights();

    // Text that left the document (or was pasted into it) with line breaks, which the document
    // keeps only as block separators: when undo or redo brings the same units back at the same
    // place, the model gets the original line breaks again.
    struct Fragment {
        qsizetype documentPosition;
        QString documentText;
        QString modelText;
        EditorOffsetMap pairs;
    };
    void rememberFragment(qsizetype documentPosition, const QString& modelText, const EditorOffsetMap& pairs);
    const Fragment* rememberedFragment(qsizetype documentPosition, const QString& documentText) const;

    TextView* view_;
    std::deque<Fragment> fragments_;
    EditorFindBar* findBar_;
    QString text_;
    EditorOffsetMap map_;
    std::vector<DocumentRange> highlights_;
    std::vector<qsizetype> highlightEndsSoFar_;  // the largest end among highlights_[0..i]
    QColor highlightColor_;
    bool isUpdating_ = false;  // true while the editor itself writes into the document
    std::optional<QUuid> lastSelectionRequestID_;
};

}  // namespace velquor::ui

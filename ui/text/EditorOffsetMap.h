#pragma once

#include <QString>
#include <QStringView>

#include <vector>

namespace velquor::ui {

// Where the editor's document and the model's text differ in length. The document keeps every
// line break as a block separator one unit long, so the two units of a CR LF pair are one unit
// there; every other code unit (CR, LF, U+2028, U+2029, NBSP, tabs, surrogates...) stays one
// unit on both sides. The map remembers which model offsets start such merged pairs, so that an
// edit, a selection or a highlight in one text lands on the same characters in the other.
class EditorOffsetMap {
public:
    // The pairs Qt merges when it loads `modelText`: every CR directly followed by LF.
    static EditorOffsetMap forText(QStringView modelText);

    qsizetype modelOffset(qsizetype documentOffset) const;
    // A model offset between the CR and the LF of a merged pair lies inside one document unit:
    // a range starting there starts before that unit, a range ending there ends after it.
    qsizetype documentStart(qsizetype modelOffset) const;
    qsizetype documentEnd(qsizetype modelOffset) const;

    // The model range [modelStart, modelEnd) was replaced by `addedLength` units whose own merged
    // pairs are `added` (offsets relative to the inserted text).
    void replace(qsizetype modelStart, qsizetype modelEnd, qsizetype addedLength, const EditorOffsetMap& added);

    // What the document holds for the model range [modelStart, modelEnd): each line break one
    // block separator (U+2029), everything else as it is.
    QString documentText(QStringView modelText, qsizetype modelStart, qsizetype modelEnd) const;

    // The pairs inside [modelStart, modelEnd), relative to modelStart.
    EditorOffsetMap slice(qsizetype modelStart, qsizetype modelEnd) const;

    const std::vector<qsizetype>& mergedPairs() const { return pairs_; }

private:
    // Pairs (by index) whose CR lies before `modelOffset`, with their LF too when `wholePair`.
    std::size_t pairsBefore(qsizetype modelOffset, bool wholePair) const;

    std::vector<qsizetype> pairs_;  // model offsets of the CR of each merged pair, ascending
};

// True for the model's code units that the document turns into a block separator.
bool isDocumentLineBreak(char16_t unit);

// The model's text for units read from the document: a block separator becomes LF, the line
// break a person types; everything else is kept.
QString modelTextFromDocument(QStringView documentText);

}  // namespace velquor::ui

#pragma once

#include "core/text/records/AuthorshipPromptResult.h"

#include <QDialog>

#include <functional>

class QHBoxLayout;

namespace velquor::ui {

class SelectableTextEditor;

// The modal sheet that shows the rewrite prompt before it leaves the window: the person may edit
// it, and "Copy Prompt" copies the edited draft and leaves the sheet open.
class PromptReviewSheet : public QDialog {
    Q_OBJECT

public:
    using MakePrompt = std::function<text::AuthorshipPromptResult()>;
    using CopyPrompt = std::function<void(const QString& prompt, std::int64_t redactedFindings)>;

    PromptReviewSheet(MakePrompt makePrompt, CopyPrompt copyPrompt, QWidget* parent = nullptr);

    // A fresh prompt as result and draft, discarding edits.
    void regenerate();
    const QString& draft() const;
    const text::AuthorshipPromptResult& result() const { return result_; }
    QSize sizeHint() const override;

private:
    void refreshBadges();

    MakePrompt makePrompt_;
    CopyPrompt copyPrompt_;
    text::AuthorshipPromptResult result_;
    QHBoxLayout* badges_;
    SelectableTextEditor* editor_;
};

}  // namespace velquor::ui

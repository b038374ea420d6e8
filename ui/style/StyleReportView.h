#pragma once

#include "core/text/records/StyleReport.h"

#include <QWidget>

#include <array>
#include <optional>

class QAction;
class QLabel;
class QProgressBar;
class QPushButton;
class QToolButton;
class QVBoxLayout;

namespace velquor::app {
class AppModel;
}

namespace velquor::ui {

class PersonalBaselineView;
class PromptReviewSheet;
class RewriteChecklist;
class RewriteResultReviewSheet;
class StatView;

// The Style report: the templated-writing signals of the input text with a rewrite checklist,
// the comparison with the person's own writing, and the two sheets that take a rewrite prompt
// out of the window and a reviewed rewrite back in.
class StyleReportView : public QWidget {
    Q_OBJECT

public:
    explicit StyleReportView(app::AppModel& model, QWidget* parent = nullptr);

    PromptReviewSheet* promptSheet() const { return promptSheet_; }
    RewriteResultReviewSheet* rewriteSheet() const { return rewriteSheet_; }

    // What the two header buttons do.
    void regeneratePrompt();
    void reviewRewriteResult();

private:
    void refreshReport();
    void refreshBaseline();
    void selectSignal(const text::StyleSignal& signal);

    app::AppModel& model_;
    std::optional<text::StyleReport> shownReport_;
    QProgressBar* baselineBusy_;
    QToolButton* baselineMenu_;
    QAction* clearBaseline_;
    QLabel* baselineStatus_;
    std::array<StatView*, 3> statistics_{};
    RewriteChecklist* checklist_;
    QVBoxLayout* signalRows_;
    PersonalBaselineView* baselineView_;
    PromptReviewSheet* promptSheet_;
    RewriteResultReviewSheet* rewriteSheet_;
};

}  // namespace velquor::ui

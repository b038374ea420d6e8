#pragma once

#include "core/text/records/RewriteComparisonReport.h"

#include <QDialog>

#include <functional>
#include <optional>

class QLabel;
class QPushButton;
class QStackedWidget;

namespace velquor::ui {

class RewriteComparisonView;
class SelectableTextEditor;
class SymbolLabel;

// The modal sheet where a rewrite from an outside assistant is pasted, compared with the
// original and, once the current draft was analysed, copied or accepted. Every edit of the draft
// drops the analysis, so that nothing unanalysed leaves the sheet.
class RewriteResultReviewSheet : public QDialog {
    Q_OBJECT

public:
    using Compare = std::function<text::RewriteComparisonReport(const QString& rewrite)>;
    using Use = std::function<void(const QString& rewrite)>;

    struct Actions {
        Compare compare;
        Use copy;
        Use accept;
    };

    explicit RewriteResultReviewSheet(Actions actions, QWidget* parent = nullptr);

    // Starts again with an empty draft and no analysis, against `original`.
    void reset(const QString& original);
    const QString& draft() const;
    void setDraft(const QString& draft);
    const std::optional<text::RewriteComparisonReport>& report() const { return report_; }
    QSize sizeHint() const override;

private:
    void draftEdited();
    void analyze(const QString& rewrite);
    void clean();
    void showReport();
    void refreshButtons();

    Actions actions_;
    QString original_;
    std::optional<text::RewriteComparisonReport> report_;
    bool reanalyzeAfterClean_ = false;
    SymbolLabel* status_;
    QLabel* removedCount_;
    QLabel* addedCount_;
    SelectableTextEditor* originalEditor_;
    SelectableTextEditor* rewriteEditor_;
    QStackedWidget* details_;
    RewriteComparisonView* comparison_;
    QPushButton* cleanButton_;
    QPushButton* analyzeButton_;
    QPushButton* copyButton_;
    QPushButton* acceptButton_;
};

}  // namespace velquor::ui

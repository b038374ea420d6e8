#pragma once

#include "core/text/records/RewriteComparisonReport.h"

#include <QWidget>

#include <array>

class QVBoxLayout;

namespace velquor::ui {

class StatView;

// What an analysed rewrite changed: seven statistics, the factual anchors it lost or gained,
// the hygiene residue a cleanup would remove, and its own privacy, Unicode and style findings.
class RewriteComparisonView : public QWidget {
    Q_OBJECT

public:
    explicit RewriteComparisonView(QWidget* parent = nullptr);

    void setReport(const text::RewriteComparisonReport& report);

private:
    void addAnchorChanges(const text::RewriteComparisonReport& report);
    void addHygiene(const text::TextChangeSummary& summary);
    void addFindings(const text::TextReport& rewritten);
    void addHeading(const QString& title);
    void addLine(const QString& text);

    std::array<StatView*, 7> statistics_{};
    QVBoxLayout* sections_;
};

}  // namespace velquor::ui

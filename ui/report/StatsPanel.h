#pragma once

#include <QWidget>

#include "core/text/records/HiddenTextPayload.h"
#include "core/text/records/PrivacyFinding.h"
#include "core/text/records/TextIssue.h"

#include <array>
#include <optional>
#include <vector>

class QStackedWidget;

namespace velquor::app {
class AppModel;
}

namespace velquor::ui {

class ClipboardFindingsList;
class HiddenPayloadList;
class IssueList;
class PrivacyReportView;
class SegmentedPicker;
class StatView;
class StyleReportView;

// The four reports of a text, in the order of their tabs.
enum class TextReportTab { changes, privacy, style, unicode };

QString rawValue(TextReportTab tab);

// The report panel below the panes: four statistics and the selected report, or only the
// empty state while there is no text.
class StatsPanel : public QWidget {
    Q_OBJECT

public:
    explicit StatsPanel(app::AppModel& model, QWidget* parent = nullptr);

    TextReportTab selectedTab() const { return selectedTab_; }
    void setSelectedTab(TextReportTab tab);
    StyleReportView* stylePage() const { return stylePage_; }

private:
    QWidget* reportPage(QWidget* content);
    void refreshEmptyState();
    void refreshStatistics();
    void refreshPrivacy();
    void refreshUnicode();

    app::AppModel& model_;
    TextReportTab selectedTab_ = TextReportTab::changes;
    QStackedWidget* states_;
    QWidget* review_;
    std::array<StatView*, 4> statistics_{};
    SegmentedPicker* picker_;
    QStackedWidget* reports_;
    PrivacyReportView* privacy_;
    ClipboardFindingsList* clipboardFindings_;
    StyleReportView* stylePage_;
    HiddenPayloadList* payloads_;
    IssueList* issues_;
    // What the report rows show now: a row keeps the record it selects.
    std::optional<text::TextPrivacyReport> shownPrivacy_;
    std::optional<std::vector<text::HiddenTextPayload>> shownPayloads_;
    std::optional<std::vector<text::TextIssue>> shownIssues_;
};

}  // namespace velquor::ui

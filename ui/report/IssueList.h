#pragma once

#include "core/text/records/TextIssue.h"

#include <QWidget>

#include <functional>
#include <vector>

class QVBoxLayout;

namespace velquor::ui {

// The Unicode issues, one row per distinct scalar in the report's order: kind, code point,
// printable form and count. Clicking a row selects the scalar's next occurrence.
class IssueList : public QWidget {
    Q_OBJECT

public:
    using Select = std::function<void(const text::TextIssue&)>;

    explicit IssueList(Select onSelect, QWidget* parent = nullptr);

    void setIssues(const std::vector<text::TextIssue>& issues);

private:
    QWidget* issueRow(const text::TextIssue& issue);

    Select onSelect_;
    QVBoxLayout* rows_;
};

}  // namespace velquor::ui

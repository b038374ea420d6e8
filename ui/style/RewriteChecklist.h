#pragma once

#include "core/text/records/StyleReport.h"

#include <QWidget>

#include <functional>
#include <vector>

class QVBoxLayout;

namespace velquor::ui {

// What to change first: the suggestion of each given signal, with its label and count, and a
// button that selects the signal in the input text.
class RewriteChecklist : public QWidget {
    Q_OBJECT

public:
    using Select = std::function<void(const text::StyleSignal&)>;

    explicit RewriteChecklist(Select onSelect, QWidget* parent = nullptr);

    void setSignals(const std::vector<text::StyleSignal>& signals);

private:
    QWidget* checklistRow(const text::StyleSignal& signal);

    Select onSelect_;
    QVBoxLayout* rows_;
};

// "1 finding", "2 findings".
QString findingCount(std::int64_t count);

}  // namespace velquor::ui

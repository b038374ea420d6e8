#pragma once

#include "core/text/records/TextChangeCategory.h"

#include <QWidget>

class QCheckBox;
class QVBoxLayout;

namespace velquor::app {
class AppModel;
}

namespace velquor::ui {

class StatView;
class SymbolLabel;

// The "Changes" report: input and output lengths, whether anything changed and whether the
// second cleaning pass matched, then what cleaning with every option would change, by section.
class TextChangeReviewView : public QWidget {
    Q_OBJECT

public:
    explicit TextChangeReviewView(app::AppModel& model, QWidget* parent = nullptr);

private:
    void refreshSummary();
    void rebuildSections();
    void refreshToggles();
    QWidget* sections();

    app::AppModel& model_;
    StatView* input_;
    StatView* output_;
    StatView* changed_;
    SymbolLabel* verification_;
    QVBoxLayout* column_;
    QWidget* sections_ = nullptr;
};

}  // namespace velquor::ui

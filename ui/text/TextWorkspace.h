#pragma once

#include <QWidget>

class QSplitter;

namespace velquor::app {
class AppModel;
}

namespace velquor::ui {

class StatsPanel;
class TextActionRow;
class TextBeforeAfterView;

// The text workspace: the action row above a vertical split of the two panes and the report
// panel. Ctrl+Shift+C copies the cleaned text and Ctrl+Return applies it.
class TextWorkspace : public QWidget {
    Q_OBJECT

public:
    explicit TextWorkspace(app::AppModel& model, QWidget* parent = nullptr);

    TextActionRow* actionRow() const { return actionRow_; }
    TextBeforeAfterView* beforeAfter() const { return beforeAfter_; }
    StatsPanel* statsPanel() const { return statsPanel_; }

private:
    TextActionRow* actionRow_;
    TextBeforeAfterView* beforeAfter_;
    StatsPanel* statsPanel_;
    QSplitter* split_;
};

}  // namespace velquor::ui

#include "ui/common/SegmentedPicker.h"

#include "ui/common/Symbols.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPushButton>

namespace velquor::ui {

namespace {

// A pressed-in bevel hardly shows on a dark window, so the selected segment takes the accent.
void markSelection(QAbstractButton& button, bool selected) {
    if (!selected) {
        button.setPalette(QPalette());
        return;
    }
    QPalette palette = button.parentWidget()->palette();
    palette.setColor(QPalette::Button, palette.color(QPalette::Highlight));
    palette.setColor(QPalette::ButtonText, palette.color(QPalette::HighlightedText));
    button.setPalette(palette);
}

}  // namespace

SegmentedPicker::SegmentedPicker(const QString& accessibleLabel, const std::vector<Segment>& segments, int width,
                                 QWidget* parent)
    : QWidget(parent), group_(new QButtonGroup(this)) {
    setAccessibleName(accessibleLabel);
    setFixedWidth(width);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    for (std::size_t i = 0; i < segments.size(); ++i) {
        auto* button = new QPushButton(segments[i].label, this);
        if (!segments[i].symbol.empty()) button->setIcon(symbolIcon(segments[i].symbol));
        button->setCheckable(true);
        button->setAutoDefault(false);
        button->setAccessibleName(segments[i].label);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        group_->addButton(button, static_cast<int>(i));
        row->addWidget(button);
    }
    group_->setExclusive(true);
    connect(group_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        markSelection(*group_->button(id), checked);
        if (checked) Q_EMIT selectedChanged(id);
    });
    if (!segments.empty()) group_->button(0)->setChecked(true);
}

int SegmentedPicker::selected() const { return group_->checkedId(); }

void SegmentedPicker::setSelected(int index) {
    if (auto* button = group_->button(index)) button->setChecked(true);
}

QPushButton* SegmentedPicker::segment(int index) const { return qobject_cast<QPushButton*>(group_->button(index)); }

}  // namespace velquor::ui

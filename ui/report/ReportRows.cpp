#include "ui/report/ReportRows.h"

#include "ui/common/Labels.h"
#include "ui/common/ViewColors.h"

#include <QFrame>
#include <QLayoutItem>
#include <QVBoxLayout>

namespace velquor::ui {

void clearLayout(QVBoxLayout& layout) {
    while (QLayoutItem* item = layout.takeAt(0)) {
        if (QWidget* widget = item->widget()) widget->deleteLater();
        if (auto* nested = qobject_cast<QVBoxLayout*>(item->layout())) clearLayout(*nested);
        delete item;
    }
}

QWidget* moreRowsLabel(std::size_t total, QWidget* parent) {
    auto* label =
        styledLabel(QObject::tr("%1 more not shown.").arg(total - reportRowLimit), TextStyle::caption, parent);
    setForeground(*label, ViewColors::of(parent->palette()).secondaryText);
    return label;
}

QWidget* rowDivider(QWidget* parent) {
    auto* divider = new QFrame(parent);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Plain);
    setForeground(*divider, ViewColors::of(parent->palette()).separator);
    return divider;
}

}  // namespace velquor::ui

#include "ui/report/ChangeReviewSection.h"

#include "app/AppModel.h"
#include "app/QtText.h"
#include "ui/common/Labels.h"
#include "ui/common/Symbols.h"
#include "ui/common/ViewColors.h"
#include "ui/report/PreviewValueDisplay.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace velquor::ui {

namespace {

QString shownAfter(const text::TextChangePreview& preview) {
    return preview.after.empty() ? QObject::tr("removed") : displayPreviewValue(app::qtString(preview.after));
}

QWidget* exampleLine(const text::TextChangePreview& preview, const QColor& color, QWidget* parent) {
    auto* line = new QWidget(parent);
    auto* row = new QHBoxLayout(line);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(5);
    const QFont font = styledFont(TextStyle::caption, QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* before = new QLabel(displayPreviewValue(app::qtString(preview.before)), line);
    auto* arrow = new QLabel(line);
    auto* after = new QLabel(shownAfter(preview), line);
    for (QLabel* part : {before, after}) {
        part->setTextFormat(Qt::PlainText);
        part->setFont(font);
        setForeground(*part, color);
    }
    arrow->setPixmap(symbolIcon("arrow.right").pixmap(QFontMetrics(font).height()));
    arrow->setAccessibleName(QString());
    row->addWidget(before);
    row->addWidget(arrow);
    row->addWidget(after);
    row->addStretch(1);
    line->setAccessibleName(exampleAccessibleName(preview));
    return line;
}

}  // namespace

QString exampleAccessibleName(const text::TextChangePreview& preview) {
    return QObject::tr("Example: ") + displayPreviewValue(app::qtString(preview.before)) + QObject::tr(" becomes ") +
           shownAfter(preview);
}

ChangeReviewSection::ChangeReviewSection(app::AppModel& model, const QString& title, std::string_view symbol,
                                         const std::vector<text::TextChangeReviewItem>& changes, QWidget* parent)
    : QWidget(parent), model_(model) {
    setAccessibleName(title);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    column->addWidget(new SymbolLabel(symbol, title, TextStyle::headline, this));
    for (std::size_t i = 0; i < changes.size(); ++i) {
        if (i > 0) {
            auto* divider = new QFrame(this);
            divider->setFrameShape(QFrame::HLine);
            divider->setFrameShadow(QFrame::Plain);
            setForeground(*divider, ViewColors::of(palette()).separator);
            column->addWidget(divider);
        }
        column->addWidget(itemRow(changes[i]));
    }
}

QWidget* ChangeReviewSection::itemRow(const text::TextChangeReviewItem& item) {
    const auto colors = ViewColors::of(palette());
    const auto& category = text::info(item.category);
    const QString title = app::qtString(category.title);

    auto* rowWidget = new QWidget(this);
    auto* row = new QHBoxLayout(rowWidget);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);

    auto* labelColumn = new QVBoxLayout;
    labelColumn->setSpacing(2);
    auto* toggle = new QCheckBox(title, rowWidget);
    toggle->setAccessibleName(title);
    toggle->setChecked(model_.isChangeEnabled(item.category));
    toggle->setProperty("category", app::qtString(category.rawValue));
    const auto changeCategory = item.category;
    connect(toggle, &QCheckBox::toggled, &model_,
            [this, changeCategory](bool on) { model_.setChangeEnabled(changeCategory, on); });
    labelColumn->addWidget(toggle);
    const int indent = toggle->style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                       toggle->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
    auto* detail = styledLabel(app::qtString(category.detail), TextStyle::caption, rowWidget);
    detail->setContentsMargins(indent, 0, 0, 0);
    detail->setWordWrap(true);
    setForeground(*detail, colors.secondaryText);
    labelColumn->addWidget(detail);
    if (item.preview) {
        auto* example = exampleLine(*item.preview, colors.secondaryText, rowWidget);
        example->setContentsMargins(indent, 0, 0, 0);
        labelColumn->addWidget(example);
    }
    row->addLayout(labelColumn, 1);

    auto* count = new QLabel(QString::number(item.count), rowWidget);
    count->setFont(digitsFont(TextStyle::body));
    count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    count->setAccessibleName(title + tr(" count"));
    setForeground(*count, colors.secondaryText);
    row->addWidget(count);

    auto* select = new QToolButton(rowWidget);
    select->setIcon(symbolIcon("scope"));
    select->setAutoRaise(true);
    select->setFixedSize(22, 22);
    select->setFocusPolicy(Qt::StrongFocus);
    select->setToolTip(tr("Select this change in Original Text"));
    select->setAccessibleName(tr("Select ") + title + tr(" in Original Text"));
    const auto selected = item;
    connect(select, &QToolButton::clicked, &model_, [this, selected] { model_.selectChange(selected); });
    row->addWidget(select);
    return rowWidget;
}

}  // namespace velquor::ui

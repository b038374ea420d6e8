#include "ui/report/TextChangeReviewView.h"

#include "app/AppModel.h"
#include "ui/common/Labels.h"
#include "ui/common/OutlinedBox.h"
#include "ui/common/StatView.h"
#include "ui/common/ViewColors.h"
#include "ui/report/ChangeReviewSection.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace velquor::ui {

namespace {

constexpr int statWidth = 110;

}  // namespace

TextChangeReviewView::TextChangeReviewView(app::AppModel& model, QWidget* parent)
    : QWidget(parent),
      model_(model),
      input_(new StatView(tr("Input"), statWidth, this)),
      output_(new StatView(tr("Output"), statWidth, this)),
      changed_(new StatView(tr("Changed"), statWidth, this)),
      verification_(new SymbolLabel("checkmark.seal", QString(), TextStyle::body, this)),
      column_(new QVBoxLayout(this)) {
    column_->setContentsMargins(0, 0, 0, 0);
    column_->setSpacing(12);
    auto* statistics = new QHBoxLayout;
    statistics->setSpacing(0);
    statistics->addWidget(input_);
    statistics->addWidget(output_);
    statistics->addWidget(changed_);
    statistics->addWidget(verification_);
    statistics->addStretch(1);
    column_->addLayout(statistics);
    column_->addStretch(1);

    using M = app::AppModel;
    connect(&model_, &M::textSummaryChanged, this, &TextChangeReviewView::refreshSummary);
    connect(&model_, &M::cleanedOutputVerifiedChanged, this, &TextChangeReviewView::refreshSummary);
    connect(&model_, &M::textChangesChanged, this, &TextChangeReviewView::rebuildSections);
    for (const auto changed : {&M::removeUnsafeUnicodeChanged, &M::normalizeWhitespaceChanged,
                               &M::stripTrackingParametersChanged, &M::normalizePunctuationChanged,
                               &M::flattenMarkdownChanged, &M::unwrapParagraphsChanged, &M::asciiOnlyChanged}) {
        connect(&model_, changed, this, &TextChangeReviewView::refreshToggles);
    }
    refreshSummary();
    rebuildSections();
}

void TextChangeReviewView::refreshSummary() {
    const auto& summary = model_.textSummary();
    input_->setValue(QString::number(summary.inputCharacters));
    output_->setValue(QString::number(summary.outputCharacters));
    changed_->setValue(summary.contentChanged ? tr("Yes") : tr("No"));
    const auto colors = ViewColors::of(palette());
    const bool verified = model_.cleanedOutputVerified();
    verification_->setText(verified ? tr("Second cleaning pass matched") : tr("Output changed on verification"));
    verification_->setSymbol(verified ? "checkmark.seal" : "exclamationmark.triangle");
    verification_->setColor(verified ? colors.green : colors.orange);
}

void TextChangeReviewView::rebuildSections() {
    // Deleted later: a checkbox of the old sections may be the one whose toggle led here.
    if (sections_) sections_->deleteLater();
    sections_ = sections();
    column_->insertWidget(1, sections_);
}

void TextChangeReviewView::refreshToggles() {
    if (!sections_) return;
    for (auto* toggle : sections_->findChildren<QCheckBox*>()) {
        const auto category = text::textChangeCategory(toggle->property("category").toString().toStdU16String());
        if (!category) continue;
        const QSignalBlocker quiet(toggle);
        toggle->setChecked(model_.isChangeEnabled(*category));
    }
}

QWidget* TextChangeReviewView::sections() {
    auto* container = new QWidget(this);
    auto* column = new QVBoxLayout(container);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);
    const auto colors = ViewColors::of(palette());
    const auto& changes = model_.textChanges();
    if (changes.empty()) {
        auto* box = new OutlinedBox(container);
        box->setColors(colors.separator);
        auto* label = new SymbolLabel("checkmark.circle", tr("No cleaning changes available."), TextStyle::body, box);
        label->setColor(colors.secondaryText);
        (new QHBoxLayout(box))->addWidget(label);
        column->addWidget(box);
        return container;
    }
    std::vector<text::TextChangeReviewItem> hygiene;
    std::vector<text::TextChangeReviewItem> style;
    for (const auto& item : changes) (text::info(item.category).isHygiene ? hygiene : style).push_back(item);
    if (!hygiene.empty()) {
        column->addWidget(new ChangeReviewSection(model_, tr("Hygiene"), "checkmark.shield", hygiene, container));
    }
    if (!style.empty()) {
        if (!hygiene.empty()) {
            auto* divider = new QFrame(container);
            divider->setFrameShape(QFrame::HLine);
            column->addWidget(divider);
        }
        column->addWidget(new ChangeReviewSection(model_, tr("Style cleanup"), "textformat", style, container));
    }
    return container;
}

}  // namespace velquor::ui

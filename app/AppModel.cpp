#include "app/AppModel.h"

#include "app/FilePreview.h"
#include "app/QtText.h"

#include "core/workflow/StatusTexts.h"
#include "core/workflow/TextAnalysis.h"

#include <QClipboard>
#include <QGuiApplication>

#include <array>
#include <utility>

namespace velquor::app {

namespace {

struct CategoryOption {
    text::TextChangeCategory category;
    bool text::CleaningOptions::*option;
    void (AppModel::*set)(bool);
};

constexpr std::array<CategoryOption, 7> categoryOptions{{
    {text::TextChangeCategory::unsafeUnicode, &text::CleaningOptions::removeUnsafeUnicode,
     &AppModel::setRemoveUnsafeUnicode},
    {text::TextChangeCategory::whitespace, &text::CleaningOptions::normalizeWhitespace,
     &AppModel::setNormalizeWhitespace},
    {text::TextChangeCategory::trackingURLs, &text::CleaningOptions::stripTrackingParameters,
     &AppModel::setStripTrackingParameters},
    {text::TextChangeCategory::punctuation, &text::CleaningOptions::normalizePunctuation,
     &AppModel::setNormalizePunctuation},
    {text::TextChangeCategory::markdown, &text::CleaningOptions::flattenMarkdown, &AppModel::setFlattenMarkdown},
    {text::TextChangeCategory::paragraphWrapping, &text::CleaningOptions::unwrapParagraphs,
     &AppModel::setUnwrapParagraphs},
    {text::TextChangeCategory::ascii, &text::CleaningOptions::asciiOnly, &AppModel::setAsciiOnly},
}};

const CategoryOption& optionFor(text::TextChangeCategory category) {
    for (const auto& entry : categoryOptions) {
        if (entry.category == category) return entry;
    }
    return categoryOptions.front();
}

}  // namespace

AppModel::AppModel(Desktop& desktop, AppModelTimings timings, QObject* parent)
    : QObject(parent),
      desktop_(desktop),
      options_(workflow::applicationCleaningDefaults),
      textStatus_(qtString(workflow::textStatusAtStart)),
      fileStatus_(qtString(workflow::fileStatusAtStart)) {
    const auto& empty = workflow::emptyTextAnalysis();
    textReport_ = empty.report;
    textSummary_ = empty.summary;

    textInspectionTimer_.setSingleShot(true);
    textInspectionTimer_.setInterval(timings.textInspectionDelay);
    connect(&textInspectionTimer_, &QTimer::timeout, this, &AppModel::inspectText);

    clipboardRestoreExpiryTimer_.setSingleShot(true);
    clipboardRestoreExpiryTimer_.setInterval(timings.clipboardRestoreLifetime);
    connect(&clipboardRestoreExpiryTimer_, &QTimer::timeout, this, &AppModel::clipboardRestoreExpired);

    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &AppModel::clipboardDataChanged);

    limitPreviewAllocations();
}

AppModel::~AppModel() = default;

void AppModel::setSelectedTab(WorkspaceTab tab) { assign(selectedTab_, tab, &AppModel::selectedTabChanged); }

void AppModel::setInputText(const QString& text) {
    if (inputText_ == text) return;
    inputText_ = text;
    supersedeTextAnalysis();
    Q_EMIT inputTextChanged();
}

void AppModel::setOption(bool text::CleaningOptions::*option, bool enabled, Signal changed) {
    if (options_.*option == enabled) return;
    options_.*option = enabled;
    Q_EMIT(this->*changed)();
    inspectText();
}

void AppModel::setRemoveUnsafeUnicode(bool enabled) {
    setOption(&text::CleaningOptions::removeUnsafeUnicode, enabled, &AppModel::removeUnsafeUnicodeChanged);
}

void AppModel::setNormalizeWhitespace(bool enabled) {
    setOption(&text::CleaningOptions::normalizeWhitespace, enabled, &AppModel::normalizeWhitespaceChanged);
}

void AppModel::setStripTrackingParameters(bool enabled) {
    setOption(&text::CleaningOptions::stripTrackingParameters, enabled, &AppModel::stripTrackingParametersChanged);
}

void AppModel::setNormalizePunctuation(bool enabled) {
    setOption(&text::CleaningOptions::normalizePunctuation, enabled, &AppModel::normalizePunctuationChanged);
}

void AppModel::setAsciiOnly(bool enabled) {
    setOption(&text::CleaningOptions::asciiOnly, enabled, &AppModel::asciiOnlyChanged);
}

void AppModel::setFlattenMarkdown(bool enabled) {
    setOption(&text::CleaningOptions::flattenMarkdown, enabled, &AppModel::flattenMarkdownChanged);
}

void AppModel::setUnwrapParagraphs(bool enabled) {
    setOption(&text::CleaningOptions::unwrapParagraphs, enabled, &AppModel::unwrapParagraphsChanged);
}

void AppModel::setHighlightChanges(bool enabled) {
    assign(highlightChanges_, enabled, &AppModel::highlightChangesChanged);
}

bool AppModel::isChangeEnabled(text::TextChangeCategory category) const { return options_.*optionFor(category).option; }

void AppModel::setChangeEnabled(text::TextChangeCategory category, bool enabled) {
    (this->*optionFor(category).set)(enabled);
}

}  // namespace velquor::app

// The clipboard workflow: inspect the clipboard's text and flavours, clean it in place with a
// snapshot to restore for a while, and restore it unless someone else wrote to it since.
#include "app/AppModel.h"

#include "app/AppStatusTexts.h"
#include "app/QtText.h"
#include "app/clipboard/ClipboardFindings.h"
#include "app/clipboard/ClipboardText.h"

#include "core/text/input/TextInputSafety.h"
#include "core/workflow/TextAnalysis.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace velquor::app {

namespace {

QClipboard& clipboard() { return *QGuiApplication::clipboard(); }

// The error's description when the clipboard's text may not enter the workspace.
std::optional<QString> refusalOf(const QString& text) {
    try {
        text::TextInputSafety::validateText(engineView(text), workflow::applicationTextByteLimit);
    } catch (const text::TextInputError& error) {
        return QString::fromUtf8(error.what());
    }
    return std::nullopt;
}

}  // namespace

bool AppModel::canRestoreClipboard() const {
    return previousClipboardSnapshot_ && sanitizedClipboardChangeCount_ &&
           *sanitizedClipboardChangeCount_ == clipboardChangeCount_;
}

void AppModel::refreshCanRestoreClipboard() {
    const bool canRestore = canRestoreClipboard();
    if (canRestore == couldRestoreClipboard_) return;
    couldRestoreClipboard_ = canRestore;
    Q_EMIT canRestoreClipboardChanged();
}

void AppModel::clipboardDataChanged() {
    if (writingClipboard_) return;
    ++clipboardChangeCount_;
    refreshCanRestoreClipboard();
}

// Whether the clipboard now holds what was written. The model's own write counts as one
// change, however many notifications the platform sends while it happens.
bool AppModel::writeClipboard(std::unique_ptr<QMimeData> data) {
    const QMimeData* written = data.get();
    const QStringList formats = data->formats();
    writingClipboard_ = true;
    clipboard().setMimeData(data.release());
    writingClipboard_ = false;
    ++clipboardChangeCount_;
    refreshCanRestoreClipboard();
    const QMimeData* now = clipboard().mimeData();
    return now && (now == written || now->formats() == formats);
}

bool AppModel::writeClipboardText(const QString& text) {
    auto data = std::make_unique<QMimeData>();
    data->setText(text);
    return writeClipboard(std::move(data));
}

bool AppModel::restoreClipboard(const ClipboardSnapshot& snapshot) {
    return writeClipboard(restoredMimeData(snapshot));
}

void AppModel::clearClipboardRestore() {
    clipboardRestoreExpiryTimer_.stop();
    expiryChangeCount_.reset();
    previousClipboardSnapshot_.reset();
    sanitizedClipboardChangeCount_.reset();
    refreshCanRestoreClipboard();
}

void AppModel::scheduleClipboardRestoreExpiry() {
    clipboardRestoreExpiryTimer_.stop();
    expiryChangeCount_ = sanitizedClipboardChangeCount_;
    clipboardRestoreExpiryTimer_.start();
}

// An expiry set for an earlier clean never withdraws the offer of a later one.
void AppModel::clipboardRestoreExpired() {
    if (sanitizedClipboardChangeCount_ == expiryChangeCount_) clearClipboardRestore();
}

std::optional<QString> AppModel::usableClipboardText(const QMimeData* data) {
    assign(clipboardFindings_, clipboardFlavorFindings(data), &AppModel::clipboardFindingsChanged);
    auto text = clipboardText(data);
    if (!text) {
        setTextStatus(noReadableClipboardTextStatus);
        return std::nullopt;
    }
    if (const auto refusal = refusalOf(*text)) {
        assign(textStatus_, *refusal, &AppModel::textStatusChanged);
        return std::nullopt;
    }
    return text;
}

void AppModel::inspectClipboard() {
    if (sanitizedClipboardChangeCount_ && *sanitizedClipboardChangeCount_ != clipboardChangeCount_) {
        clearClipboardRestore();
    }
    const QMimeData* data = clipboard().mimeData();
    const auto text = usableClipboardText(data);
    if (!text) return;
    setInputText(*text);
    setTextStatus(clipboardFindings_.isEmpty() ? clipboardLoadedStatus : clipboardLoadedWithFlavorsStatus);
    setPreviousInputText(std::nullopt);
    inspectText();
}

void AppModel::sanitizeClipboardInPlace() {
    const QMimeData* data = clipboard().mimeData();
    const auto text = usableClipboardText(data);
    if (!text) return;
    auto snapshot = snapshotClipboard(data);

    // The same analysis inspectText makes, at once: what is written must be what is shown.
    setInputText(*text);
    supersedeTextAnalysis();
    auto analysis = workflow::analyzeText(engineView(*text), options_, writingBaseline_);
    const bool contentChanged = analysis.summary.contentChanged;
    auto cleaned = qtString(analysis.cleanedText);
    applyTextAnalysis(std::move(analysis), cleaned);
    setSelectedTab(WorkspaceTab::text);
    setPreviousInputText(std::nullopt);

    if (!contentChanged && clipboardFindings_.isEmpty()) {
        clearClipboardRestore();
        setTextStatus(clipboardAlreadyCleanStatus);
        return;
    }
    if (!writeClipboardText(cleaned)) {
        if (snapshot) restoreClipboard(*snapshot);
        clearClipboardRestore();
        setTextStatus(clipboardWriteFailedStatus);
        return;
    }
    const bool restorable = snapshot.has_value();
    previousClipboardSnapshot_ = std::move(snapshot);
    sanitizedClipboardChangeCount_ = clipboardChangeCount_;
    refreshCanRestoreClipboard();
    scheduleClipboardRestoreExpiry();
    std::u16string status(contentChanged ? clipboardSanitizedStatus : clipboardFormatsRemovedStatus);
    if (restorable) status += restoreAvailableSuffix;
    setTextStatus(status);
}

void AppModel::restorePreviousClipboard() {
    if (!previousClipboardSnapshot_ || !sanitizedClipboardChangeCount_) return;
    if (*sanitizedClipboardChangeCount_ != clipboardChangeCount_) {
        clearClipboardRestore();
        setTextStatus(clipboardChangedElsewhereStatus);
        return;
    }
    const auto snapshot = std::move(*previousClipboardSnapshot_);
    const bool restored = restoreClipboard(snapshot);
    clearClipboardRestore();
    setTextStatus(restored ? clipboardRestoredStatus : clipboardRestoreFailedStatus);
}

}  // namespace velquor::app

#include "tests/app/ModelTestSupport.h"
#include "tests/support/TemporaryDirectory.h"

#include "core/workflow/TextAnalysis.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

namespace velquor::testing {
namespace {

using app::AppModel;
using text::TextChangeCategory;

// What the synchronous path and velquor-cli compute for the same text and options.
workflow::TextAnalysis expectedAnalysis(const AppModel& model, const text::CleaningOptions& options) {
    return workflow::analyzeText(app::engineView(model.inputText()), options, model.writingBaseline());
}

void expectAnalysisOf(const AppModel& model, const text::CleaningOptions& options) {
    const auto expected = expectedAnalysis(model, options);
    EXPECT_EQ(model.textReport(), expected.report);
    EXPECT_EQ(model.cleanedText(), qs(expected.cleanedText));
    EXPECT_EQ(model.cleanedChangedOffsets(), expected.cleanedChangedOffsets);
    EXPECT_EQ(model.textSummary(), expected.summary);
    EXPECT_EQ(model.textChanges(), expected.changes);
    EXPECT_EQ(model.cleanedOutputVerified(), expected.cleanedOutputVerified);
}

void expectEmptyAnalysis(const AppModel& model) {
    const auto& empty = workflow::emptyTextAnalysis();
    EXPECT_EQ(model.textReport(), empty.report);
    EXPECT_TRUE(model.cleanedText().isEmpty());
    EXPECT_TRUE(model.cleanedChangedOffsets().empty());
    EXPECT_EQ(model.textSummary(), empty.summary);
    EXPECT_TRUE(model.textChanges().empty());
    EXPECT_TRUE(model.cleanedOutputVerified());
    EXPECT_TRUE(model.styleDeviations().empty());
}

TEST(TextWorkflowTest, StartsWithTheAnalysisOfTheEmptyTextAndTheDefaultOptionsEachCategoryItsOwn) {
    ModelFixture fixture;
    const auto& model = fixture.model;
    EXPECT_EQ(model.selectedTab(), app::WorkspaceTab::text);
    EXPECT_EQ(model.textStatus(), "Drop a text file or paste text below.");
    EXPECT_EQ(model.fileStatus(), "Drop an image, SVG, PDF, audio/video, Office document, or iWork file.");
    EXPECT_TRUE(model.removeUnsafeUnicode() && model.normalizeWhitespace() && model.stripTrackingParameters());
    EXPECT_FALSE(model.normalizePunctuation() || model.asciiOnly() || model.flattenMarkdown() ||
                 model.unwrapParagraphs());
    EXPECT_TRUE(model.highlightChanges());
    EXPECT_FALSE(model.canRevert() || model.canRestoreClipboard() || model.isInspectingText());
    expectEmptyAnalysis(model);

    // Every category controls its own option.
    for (const auto category : text::allTextChangeCategories()) {
        const bool before = fixture.model.isChangeEnabled(category);
        fixture.model.setChangeEnabled(category, !before);
        EXPECT_EQ(model.isChangeEnabled(category), !before);
        EXPECT_EQ(model.property(qs(text::info(category).optionName).toLatin1().constData()).toBool(), !before);
    }
}

TEST(TextWorkflowTest, ABurstOfEditsInspectsOnceAfterTheLastOne) {
    ModelFixture fixture;
    auto& model = fixture.model;
    QSignalSpy applied(&model, &AppModel::textAnalysisApplied);
    QString typed;
    for (const auto letter : {u'a', u'b', u'c', u'd', u'\u200B'}) {
        typed += QChar(letter);
        model.setInputText(typed);
        model.scheduleTextInspection();
        QTest::qWait(10);
    }
    EXPECT_EQ(applied.count(), 0);
    ASSERT_TRUE(applied.wait(2000));
    QTest::qWait(120);
    EXPECT_EQ(applied.count(), 1);
    EXPECT_EQ(model.cleanedText(), "abcd");
    expectAnalysisOf(model, workflow::applicationCleaningDefaults);
}

TEST(TextWorkflowTest, APendingInspectionDiesWithItsModel) {
    auto fixture = std::make_unique<ModelFixture>();
    fixture->model.setInputText("text");
    fixture->model.scheduleTextInspection();
    fixture.reset();
    QTest::qWait(100);
}

TEST(TextWorkflowTest, AnOptionChangeReinspectsAtOnceAndAnEqualWriteNotifiesNobody) {
    ModelFixture fixture;
    auto& model = fixture.model;
    model.setInputText(qs(u"\u201CQuoted\u201D a\u200Bb"));
    model.inspectText();
    EXPECT_EQ(model.cleanedText(), qs(u"\u201CQuoted\u201D ab"));

    QSignalSpy punctuation(&model, &AppModel::normalizePunctuationChanged);
    model.setNormalizePunctuation(true);
    EXPECT_EQ(model.cleanedText(), "\"Quoted\" ab");
    model.setNormalizePunctuation(true);
    EXPECT_EQ(punctuation.count(), 1);

    model.setChangeEnabled(TextChangeCategory::unsafeUnicode, false);
    EXPECT_FALSE(model.removeUnsafeUnicode());
    EXPECT_FALSE(model.isChangeEnabled(TextChangeCategory::unsafeUnicode));
    EXPECT_EQ(model.cleanedText(), qs(u"\"Quoted\" a\u200Bb"));
    expectAnalysisOf(model,
                     {.normalizePunctuation = true, .normalizeWhitespace = true, .stripTrackingParameters = true});

    QSignalSpy anyChange(&model, &AppModel::cleanedTextChanged);
    model.inspectText();
    EXPECT_EQ(anyChange.count(), 0);
}

TEST(TextWorkflowTest, TextOverTheLimitClearsTheAnalysisAndKeepsTheText) {
    ModelFixture fixture;
    auto& model = fixture.model;
    model.setInputText(qs(u"a\u200Bb"));
    model.inspectText();
    ASSERT_FALSE(model.textReport().issues.empty());

    const QString oversized(16'777'217, QLatin1Char('x'));
    model.setInputText(oversized);
    model.inspectText();
    EXPECT_TRUE(model.isInspectingText());
    settle();
    EXPECT_FALSE(model.isInspectingText());
    EXPECT_EQ(model.textStatus(), "Text input exceeds the 16.8 MB safety limit.");
    EXPECT_EQ(model.inputText().size(), oversized.size());
    expectEmptyAnalysis(model);

    TemporaryDirectory folder;
    const auto file = folder.write("big.txt", std::string(16'777'217, 'x'));
    model.setInputText("kept");
    model.loadTextFile(file);
    EXPECT_EQ(model.inputText(), "kept");
    EXPECT_EQ(model.textStatus(), "Text input exceeds the 16.8 MB safety limit.");
}

TEST(TextWorkflowTest, ALongTextIsAnalysedOnAWorkerWithTheSameResult) {
    ModelFixture fixture;
    auto& model = fixture.model;
    QString text;
    while (text.size() <= app::synchronousInspectionLimit)
        text += QString::fromUtf16(u"Caf\u00E9 notes\u200B and more. ");
    model.setInputText(text);
    QSignalSpy busy(&model, &AppModel::isInspectingTextChanged);
    model.inspectText();
    EXPECT_TRUE(model.isInspectingText());
    expectEmptyAnalysis(model);
    settle();
    EXPECT_FALSE(model.isInspectingText());
    EXPECT_EQ(busy.count(), 2);
    expectAnalysisOf(model, workflow::applicationCleaningDefaults);
}

TEST(TextWorkflowTest, AWorkerResultOvertakenByANewerTextIsDropped) {
    ModelFixture fixture;
    auto& model = fixture.model;
    model.setInputText(QString(app::synchronousInspectionLimit + 1, QLatin1Char('y')) + QChar(0x200B));
    model.inspectText();
    model.setInputText("short text");
    model.inspectText();
    EXPECT_FALSE(model.isInspectingText());
    settle();
    EXPECT_EQ(model.cleanedText(), "short text");
    expectAnalysisOf(model, workflow::applicationCleaningDefaults);

    model.setInputText(QString(app::synchronousInspectionLimit + 1, QLatin1Char('z')) + QChar(0x200B));
    model.inspectText();
    model.setInputText("edited meanwhile");
    settle();
    EXPECT_EQ(model.cleanedText(), "short text");
}

TEST(TextWorkflowTest, SelectionCyclesThroughLocationsAndRestartsForAnotherSource) {
    ModelFixture fixture;
    auto& model = fixture.model;
    model.setInputText(qs(u"a\u200Bb\u200Bc\u00A0d"));
    model.inspectText();
    const auto& issues = model.textReport().issues;
    const auto invisible = std::find_if(
        issues.begin(), issues.end(), [](const auto& issue) { return issue.kind == text::TextIssue::Kind::invisible; });
    const auto space = std::find_if(issues.begin(), issues.end(), [](const auto& issue) {
        return issue.kind == text::TextIssue::Kind::unusualWhitespace;
    });
    ASSERT_NE(invisible, issues.end());
    ASSERT_NE(space, issues.end());
    ASSERT_EQ(invisible->locations.size(), 2u);

    const std::vector<std::pair<std::int64_t, const char*>> expected{
        {1, "Selected invisible occurrence 1 of 2."},
        {3, "Selected invisible occurrence 2 of 2."},
        {1, "Selected invisible occurrence 1 of 2."},
    };
    QUuid previous;
    for (const auto& [location, status] : expected) {
        model.selectIssue(*invisible);
        ASSERT_TRUE(model.textSelectionRequest());
        EXPECT_EQ(model.textSelectionRequest()->range.utf16Location, location);
        EXPECT_EQ(model.textSelectionRequest()->sourceID, "unicode-Invisible-U+200B");
        EXPECT_NE(model.textSelectionRequest()->id, previous);
        previous = model.textSelectionRequest()->id;
        EXPECT_EQ(model.textStatus(), status);
    }
    model.selectIssue(*space);
    EXPECT_EQ(model.textStatus(), "Selected whitespace occurrence 1 of 1.");
    model.selectIssue(*invisible);
    EXPECT_EQ(model.textStatus(), "Selected invisible occurrence 1 of 2.");
    model.selectIssue(*invisible);

    const auto& changes = model.textChanges();
    ASSERT_FALSE(changes.empty());
    model.selectChange(changes.front());
    EXPECT_EQ(model.textSelectionRequest()->sourceID, "change-unsafeUnicode");
    EXPECT_EQ(model.textStatus(), "Selected hidden and control unicode occurrence 1 of 2.");

    model.selectTextLocation("privacy-none", "nothing", {});
    EXPECT_EQ(model.textStatus(), "Selected hidden and control unicode occurrence 1 of 2.");
    model.inspectText();
    EXPECT_FALSE(model.textSelectionRequest());
}

TEST(TextWorkflowTest, ApplyRevertAndLoadingFollowOneLevelOfRevert) {
    ModelFixture fixture;
    auto& model = fixture.model;
    model.setInputText("already clean");
    model.inspectText();
    model.replaceTextWithCleaned();
    EXPECT_FALSE(model.canRevert());
    EXPECT_EQ(model.textStatus(), "Drop a text file or paste text below.");

    QSignalSpy revertable(&model, &AppModel::canRevertChanged);
    model.setInputText(qs(u"first\u200B"));
    model.inspectText();
    model.replaceTextWithCleaned();
    EXPECT_EQ(model.inputText(), "first");
    EXPECT_TRUE(model.canRevert());
    EXPECT_EQ(model.textStatus(), "Applied cleaned text. Revert is available.");

    model.setInputText(qs(u"second\u200B"));
    model.inspectText();
    model.replaceTextWithCleaned();
    model.revert();
    EXPECT_EQ(model.inputText(), qs(u"second\u200B"));
    EXPECT_EQ(model.textStatus(), "Reverted to previous text.");
    EXPECT_FALSE(model.canRevert());
    EXPECT_EQ(revertable.count(), 2);
    expectAnalysisOf(model, workflow::applicationCleaningDefaults);

    model.revert();
    EXPECT_EQ(model.inputText(), qs(u"second\u200B"));

    TemporaryDirectory folder;
    model.replaceTextWithCleaned();
    ASSERT_TRUE(model.canRevert());
    model.loadTextFile(folder.write("notes.txt", "loaded\xe2\x80\x8b text\n"));
    EXPECT_EQ(model.inputText(), qs(u"loaded\u200B text\n"));
    EXPECT_EQ(model.textStatus(), "Loaded notes.txt.");
    EXPECT_FALSE(model.canRevert());
    expectAnalysisOf(model, workflow::applicationCleaningDefaults);
}

TEST(TextWorkflowTest, AFileThatCannotBeReadLeavesTextAndAnalysisAsTheyWere) {
    ModelFixture fixture;
    auto& model = fixture.model;
    model.setInputText(qs(u"keep\u200B"));
    model.inspectText();
    TemporaryDirectory folder;
    const std::vector<std::pair<std::string, std::string>> refused{
        {"paper.txt", "%PDF-1.7 text"},
        {"latin.txt", "caf\xe9"},
    };
    for (const auto& [name, bytes] : refused) {
        model.loadTextFile(folder.write(name, bytes));
        EXPECT_EQ(model.inputText(), qs(u"keep\u200B"));
        EXPECT_EQ(model.cleanedText(), "keep");
    }
    EXPECT_EQ(model.textStatus(), "The input is not valid UTF-8 text.");
    model.loadTextFile(folder.write("paper.txt", "%PDF-1.7"));
    EXPECT_EQ(model.textStatus(), "The input appears to be a PDF, not plain text.");

    fixture.desktop.paths = {QString()};
    model.chooseTextFile();
    EXPECT_EQ(model.inputText(), qs(u"keep\u200B"));
    fixture.desktop.paths = {QString::fromStdString((folder.path() / "chosen.txt").string())};
    folder.write("chosen.txt", "chosen");
    model.chooseTextFile();
    EXPECT_EQ(model.inputText(), "chosen");
}

TEST(TextWorkflowTest, DroppedTextIsCheckedLoadedAndDropsClipboardFindings) {
    ModelFixture fixture;
    auto& model = fixture.model;
    putOnClipboard([](QMimeData& data) { data.setHtml("<p>hi</p>"); });
    model.inspectClipboard();
    ASSERT_FALSE(model.clipboardFindings().isEmpty());
    model.loadDroppedText(qs(u"dropped\u200B"));
    EXPECT_EQ(model.textStatus(), "Loaded dropped text.");
    EXPECT_TRUE(model.clipboardFindings().isEmpty());
    EXPECT_EQ(model.cleanedText(), "dropped");

    model.loadDroppedText(QString(16'777'217, QLatin1Char('x')));
    EXPECT_EQ(model.textStatus(), "Text input exceeds the 16.8 MB safety limit.");
    EXPECT_EQ(model.inputText(), qs(u"dropped\u200B"));
}

TEST(TextWorkflowTest, CopyAndSaveWriteTheCleanedTextAndDoNothingWhenItIsEmpty) {
    ModelFixture fixture;
    auto& model = fixture.model;
    model.copyCleanedText();
    model.saveCleanedText();
    EXPECT_EQ(fixture.desktop.pickerCalls, 0);
    EXPECT_EQ(model.textStatus(), "Drop a text file or paste text below.");

    model.setInputText(qs(u"  caf\u00E9\u200B  "));
    model.inspectText();
    model.copyCleanedText();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), qs(u"caf\u00E9"));
    EXPECT_EQ(model.textStatus(), "Copied cleaned text.");

    TemporaryDirectory folder;
    const auto saved = folder.path() / "out.txt";
    fixture.desktop.paths = {QString::fromStdString(saved.string())};
    model.saveCleanedText();
    EXPECT_EQ(fixture.desktop.proposedNames, std::vector<QString>{"cleaned.txt"});
    EXPECT_EQ(model.textStatus(), "Saved out.txt.");
    std::ifstream in(saved, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "caf\xc3\xa9");

    const auto target = folder.write("target.txt", "untouched");
    std::filesystem::create_symlink(target, folder.path() / "link.txt");
    fixture.desktop.paths = {QString::fromStdString((folder.path() / "link.txt").string()),
                             QString::fromStdString((folder.path() / "missing" / "x.txt").string())};
    model.saveCleanedText();
    EXPECT_EQ(model.textStatus(), "Too many levels of symbolic links");
    std::ifstream kept(target);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "untouched");
    model.saveCleanedText();
    EXPECT_NE(model.textStatus(), "Too many levels of symbolic links");
    EXPECT_FALSE(model.textStatus().startsWith("Saved"));
}

}  // namespace
}  // namespace velquor::testing

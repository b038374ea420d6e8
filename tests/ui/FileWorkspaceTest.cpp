// The Files workspace as a person sees it: the action row, the preview pair that takes drops,
// the report of one file, the batch table and the status, over a real model and real files.
#include "tests/support/ImageFixtures.h"
#include "tests/support/OfficePackages.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/ui/ViewTestSupport.h"
#include "ui/common/StatView.h"
#include "ui/files/BatchReportTable.h"
#include "ui/files/FileReportView.h"
#include "ui/files/FileWorkspace.h"
#include "ui/files/ImageBeforeAfterView.h"
#include "ui/files/ImagePreviewPanel.h"

#include <QAbstractButton>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QTableWidget>
#include <QUrl>

namespace velquor::testing {
namespace {

namespace fs = std::filesystem;

QString pathText(const fs::path& path) { return QFile::decodeName(QByteArray(path.c_str())); }

// The window on its Files tab.
struct FilesFixture : WindowFixture {
    FilesFixture() {
        model.setSelectedTab(app::WorkspaceTab::files);
        QCoreApplication::processEvents();
        workspace = qobject_cast<ui::FileWorkspace*>(view.workspace());
    }

    bool waitForFiles() {
        const bool idle = QTest::qWaitFor([&] { return !model.isProcessingFiles(); }, 60000);
        settle();
        return idle;
    }

    QAbstractButton* button(const char* name) const { return named<QAbstractButton>(QString::fromLatin1(name)); }
    QString status() const { return named<QLabel>(QStringLiteral("File status"))->text(); }

    ui::FileWorkspace* workspace = nullptr;
};

std::unique_ptr<QMimeData> urlDrop(const QList<QUrl>& urls) {
    auto data = std::make_unique<QMimeData>();
    data->setUrls(urls);
    return data;
}

fs::path wordDocument(const fs::path& folder) {
    auto parts = minimalWordDocument("<w:r><w:t>Hello</w:t></w:r>");
    parts["docProps/core.xml"] = corePropertiesPart("Jane Roe", "Letter");
    zipWithSystemZip(folder, parts, folder / "letter.docx");
    return folder / "letter.docx";
}

TEST(FileWorkspace, IdleShowsEmptyPanelsAndOnlyChooseEnabled) {
    FilesFixture window;
    ASSERT_NE(window.workspace, nullptr);
    EXPECT_TRUE(window.button("Choose file")->isEnabled());
    EXPECT_FALSE(window.button("Create privacy copy")->isEnabled());
    EXPECT_FALSE(window.button("Reveal")->isEnabled());
    EXPECT_EQ(window.workspace->previews()->before()->contentKind(), QStringLiteral("empty"));
    EXPECT_EQ(window.workspace->previews()->after()->contentKind(), QStringLiteral("empty"));
    EXPECT_FALSE(window.shows(QStringLiteral("Metadata")));
    EXPECT_FALSE(window.shows(QStringLiteral("Batch")));
    EXPECT_FALSE(window.shows(QStringLiteral("Inspecting files")));
    EXPECT_EQ(window.status(), window.model.fileStatus());
    EXPECT_FALSE(window.status().isEmpty());
}

TEST(FileWorkspace, ThreeDroppedFilesGiveOneBatchInDropOrder) {
    FilesFixture window;
    TemporaryDirectory folder;
    std::vector<fs::path> files;
    for (const char* name : {"c.png", "a.png", "b.png"}) {
        files.push_back(folder.path() / name);
        writeBytes(files.back(), tinyPng());
    }
    QList<QUrl> urls;
    for (const auto& file : files) urls.push_back(QUrl::fromLocalFile(pathText(file)));
    auto drop = urlDrop(urls);
    EXPECT_TRUE(window.workspace->handleImageDrop(*drop));
    EXPECT_FALSE(window.model.isProcessingFiles()) << "the model sees the drop after the handler returned";
    QCoreApplication::processEvents();
    ASSERT_TRUE(window.waitForFiles());
    ASSERT_EQ(window.model.batchReports().size(), 3U);
    for (std::size_t i = 0; i < files.size(); ++i) EXPECT_EQ(window.model.batchReports()[i].url, files[i]);
    auto* table = window.named<QTableWidget>(QStringLiteral("Batch"));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->item(0, 0)->text(), QStringLiteral("c.png"));
    EXPECT_EQ(table->horizontalHeaderItem(2)->text(), QStringLiteral("Findings"));
    EXPECT_FALSE(window.shows(QStringLiteral("Metadata")));
    EXPECT_EQ(window.workspace->previews()->before()->contentKind(), QStringLiteral("empty"));
}

TEST(FileWorkspace, DropsWithoutLocalFilesAreRefusedOrReported) {
    FilesFixture window;
    const QString before = window.status();
    auto web = urlDrop({QUrl(QStringLiteral("https://example.org/photo.jpg"))});
    EXPECT_FALSE(window.workspace->handleImageDrop(*web));
    QMimeData text;
    text.setText(QStringLiteral("/tmp/photo.jpg"));
    EXPECT_FALSE(window.workspace->handleImageDrop(text));
    settle();
    EXPECT_EQ(window.status(), before) << "a refused drop says nothing";

    auto remote = urlDrop({QUrl(QStringLiteral("file://otherhost/photo.jpg"))});
    EXPECT_TRUE(window.workspace->handleImageDrop(*remote));
    settle();
    EXPECT_EQ(window.status(), QStringLiteral("Could not read the dropped file URLs."));
}

TEST(FileWorkspace, OnlyBeforeLightsUpWhileADragHovers) {
    FilesFixture window;
    auto* previews = window.workspace->previews();
    auto data = urlDrop({QUrl::fromLocalFile(QStringLiteral("/tmp/x.png"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(previews, &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_TRUE(previews->before()->isDropTargeted());
    EXPECT_FALSE(previews->after()->isDropTargeted());
    EXPECT_TRUE(window.shows(QStringLiteral("Drop here")));
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(previews, &leave);
    EXPECT_FALSE(previews->before()->isDropTargeted());

    QMimeData text;
    text.setText(QStringLiteral("words"));
    QDragEnterEvent words(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    words.setAccepted(false);
    QCoreApplication::sendEvent(previews, &words);
    EXPECT_FALSE(words.isAccepted());
    EXPECT_FALSE(previews->before()->isDropTargeted());
}

TEST(FileWorkspace, AnExportedWordDocumentShowsItsCardAndCanBeRevealed) {
    FilesFixture window;
    TemporaryDirectory folder;
    const auto document = wordDocument(folder.path());
    window.model.inspectFile(document);
    auto* progress = window.workspace->findChild<QProgressBar*>();
    EXPECT_TRUE(progress->isVisibleTo(window.workspace));
    EXPECT_EQ(progress->accessibleName(), QStringLiteral("Inspecting files"));
    ASSERT_TRUE(window.waitForFiles());
    auto* before = window.workspace->previews()->before();
    EXPECT_EQ(before->contentKind(), QStringLiteral("file"));
    EXPECT_EQ(before->fileName(), QStringLiteral("letter.docx"));
    EXPECT_EQ(before->caption(), QStringLiteral("Original file"));
    EXPECT_EQ(window.statistic(QStringLiteral("Pixels")), QStringLiteral("-"));
    EXPECT_TRUE(window.shows(QStringLiteral("Metadata")));
    EXPECT_FALSE(
        window.shows(QStringLiteral("Inspect-only report. Privacy export is not available for this file type.")));

    // No events between the click and the checks, so that the copy cannot finish in between.
    auto* create = window.button("Create privacy copy");
    auto* choose = window.button("Choose file");
    ASSERT_TRUE(create->isEnabled());
    create->click();
    EXPECT_TRUE(progress->isVisibleTo(window.workspace));
    EXPECT_EQ(progress->accessibleName(), QStringLiteral("Creating privacy copy"));
    EXPECT_FALSE(choose->isEnabled());
    EXPECT_FALSE(create->isEnabled());
    auto late = urlDrop({QUrl::fromLocalFile(pathText(document))});
    EXPECT_FALSE(window.workspace->handleImageDrop(*late)) << "drops wait for the copy";
    ASSERT_TRUE(window.waitForFiles());

    auto* after = window.workspace->previews()->after();
    EXPECT_EQ(after->contentKind(), QStringLiteral("file"));
    EXPECT_EQ(after->fileName(), QStringLiteral("letter-privacy.docx"));
    EXPECT_EQ(after->caption(), QStringLiteral("Verified privacy copy"));
    EXPECT_EQ(window.status(), QStringLiteral("Created and verified letter-privacy.docx."));
    ASSERT_TRUE(window.button("Reveal")->isEnabled());
    window.button("Reveal")->click();
    EXPECT_EQ(window.desktop.revealed, std::vector<QString>{pathText(folder.path() / "letter-privacy.docx")});

    // Only the verified copy can be dragged out, never the original.
    EXPECT_EQ(before->dragData(), nullptr);
    const auto dragged = after->dragData();
    ASSERT_NE(dragged, nullptr);
    EXPECT_EQ(dragged->urls(), QList<QUrl>{QUrl::fromLocalFile(pathText(folder.path() / "letter-privacy.docx"))});
}

// Neither an iWork archive nor an image with credentials can be copied; only the archive says so.
TEST(FileWorkspace, InspectOnlyFilesOfferNoCopyAndOnlyAnArchiveShowsTheNotice) {
    FilesFixture window;
    TemporaryDirectory folder;
    zipWithSystemZip(folder.path(), {{"Index/Document.iwa", "x"}}, folder.path() / "essay.pages");
    writeBytes(folder.path() / "signed.png", tinyPng({pngChunk("caBX", {1, 2, 3})}));
    for (const auto& [name, notice] : {std::pair{"essay.pages", true}, std::pair{"signed.png", false}}) {
        window.model.inspectFile(folder.path() / name);
        ASSERT_TRUE(window.waitForFiles());
        ASSERT_TRUE(window.model.fileReport().has_value()) << name;
        EXPECT_EQ(
            window.shows(QStringLiteral("Inspect-only report. Privacy export is not available for this file type.")),
            notice)
            << name;
        EXPECT_FALSE(window.button("Create privacy copy")->isEnabled()) << name;
    }
    EXPECT_EQ(window.workspace->previews()->before()->contentKind(), QStringLiteral("image"));
}

TEST(FileWorkspace, TheInspectOnlyNoticeNeedsAllThreeConditions) {
    files::FileMetadataReport archive;
    archive.typeDescription = u"Pages document archive";
    auto image = archive;
    image.typeDescription = u"PNG image";
    image.pixelSize = u"1 x 1";
    auto svg = archive;
    svg.typeDescription = u"SVG document";
    auto pdf = archive;
    pdf.typeDescription = u"PDF document";
    const struct {
        const files::FileMetadataReport& report;
        bool canExport;
        bool shown;
    } cases[] = {{archive, false, true},
                 {archive, true, false},
                 {image, false, false},
                 {svg, false, false},
                 {pdf, false, false}};
    for (const auto& row : cases) {
        EXPECT_EQ(ui::showsInspectOnlyNotice(row.report, row.canExport), row.shown)
            << std::string(row.report.typeDescription.begin(), row.report.typeDescription.end());
    }
}

TEST(FileWorkspace, ProvenanceNoticesKeepTheirOrder) {
    QWidget host;
    auto* view = new ui::FileReportView(&host);
    files::FileMetadataReport report;
    report.typeDescription = u"JPEG image";
    report.byteCount = 1'500;
    report.pixelSize = u"4 x 3";
    report.provenanceEvidence = {{files::ProvenanceConfidence::possible, u"XMP", u"an XMP provenance field", false},
                                 {files::ProvenanceConfidence::confirmed, u"C2PA", u"a C2PA manifest store", true}};
    report.entries = {{u"1", u"Location", u"GPS Latitude", u"51.5"}, {u"2", u"Camera", u"Model", u"X100"}};
    view->setReport(report, false);
    QStringList notices;
    for (auto* label : view->findChildren<QLabel*>()) {
        if (label->text().contains(QStringLiteral("provenance reference")) ||
            label->text().contains(QStringLiteral("Content Credentials")))
            notices << label->text();
    }
    EXPECT_EQ(notices, (QStringList{QStringLiteral("Possible provenance reference: an XMP provenance field. This does "
                                                   "not block export."),
                                    QStringLiteral("Confirmed Content Credentials: a C2PA manifest store. Export is "
                                                   "disabled.")}));
    ASSERT_EQ(view->table()->rowCount(), 2);
    EXPECT_EQ(view->table()->item(0, 0)->text(), QStringLiteral("Location"));
    EXPECT_EQ(view->table()->item(1, 2)->text(), QStringLiteral("X100"));
    QStringList statistics;
    for (auto* stat : view->findChildren<ui::StatView*>())
        statistics << stat->label() + QStringLiteral("=") + stat->value();
    EXPECT_EQ(statistics, (QStringList{QStringLiteral("Type=JPEG image"), QStringLiteral("Size=2 KB"),
                                       QStringLiteral("Pixels=4 x 3")}));
}

TEST(FileWorkspace, AnEmptyBatchShowsNoTable) {
    FilesFixture window;
    TemporaryDirectory folder;
    folder.write("notes.txt", "not a supported file");
    window.model.inspectSelection({folder.path()});
    ASSERT_TRUE(window.waitForFiles());
    EXPECT_EQ(window.status(), QStringLiteral("No supported files found."));
    EXPECT_FALSE(window.shows(QStringLiteral("Batch")));
}

TEST(FileWorkspace, ABatchIsCopiedRowByRowAndARowOpensItsFile) {
    FilesFixture window;
    TemporaryDirectory folder;
    std::string comment = "Comment";
    comment.push_back('\0');
    comment += "taken by Ann";
    for (const char* name : {"one.png", "two.png"}) {
        writeBytes(folder.path() / name, tinyPng({pngChunk("tEXt", bytesOf(comment))}));
    }
    window.model.inspectSelection({folder.path()});
    ASSERT_TRUE(window.waitForFiles());
    auto* copies = window.button("Create privacy copies");
    ASSERT_NE(copies, nullptr);
    EXPECT_EQ(window.button("Create privacy copy"), nullptr);
    ASSERT_TRUE(copies->isEnabled());
    EXPECT_EQ(window.workspace->previews()->after()->dragData(), nullptr) << "no copy yet";
    auto* progress = window.workspace->findChild<QProgressBar*>();
    copies->click();
    EXPECT_TRUE(progress->isVisibleTo(window.workspace));
    EXPECT_EQ(progress->maximum(), 2) << "one step per copy";
    const auto buttons = window.workspace->findChildren<QAbstractButton*>();
    const auto cancel = std::find_if(buttons.begin(), buttons.end(), [](QAbstractButton* button) {
        return button->accessibleName() == QStringLiteral("Cancel");
    });
    ASSERT_NE(cancel, buttons.end());
    EXPECT_TRUE((*cancel)->isVisibleTo(window.workspace)) << "a batch copy can be stopped";
    ASSERT_TRUE(window.waitForFiles());
    EXPECT_FALSE(progress->isVisibleTo(window.workspace));
    EXPECT_FALSE((*cancel)->isVisibleTo(window.workspace));
    auto* table = window.named<QTableWidget>(QStringLiteral("Batch"));
    ASSERT_EQ(table->rowCount(), 2);
    for (int row = 0; row < 2; ++row) {
        const auto& report = window.model.batchReports()[static_cast<std::size_t>(row)];
        ASSERT_TRUE(report.outputURL.has_value());
        EXPECT_TRUE(fs::exists(*report.outputURL));
        EXPECT_EQ(table->item(row, 3)->text(), QString::fromStdU16String(report.status));
    }
    EXPECT_FALSE(copies->isEnabled()) << "every row has its copy";
    const auto lastCopy = *window.model.batchReports()[1].outputURL;
    EXPECT_EQ(window.workspace->previews()->after()->fileName(), QString::fromStdString(lastCopy.filename().string()));
    ASSERT_TRUE(window.button("Reveal")->isEnabled());
    window.button("Reveal")->click();
    EXPECT_EQ(window.desktop.revealed, std::vector<QString>{pathText(lastCopy)});

    const auto second = window.model.batchReports()[1].url;
    table->setFocus();
    table->setCurrentCell(1, 0);
    QTest::keyClick(table, Qt::Key_Return);
    ASSERT_TRUE(window.waitForFiles());
    EXPECT_EQ(window.model.selectedFile(), second);
    EXPECT_TRUE(window.shows(QStringLiteral("Metadata")));
    EXPECT_FALSE(window.shows(QStringLiteral("Batch")));
    EXPECT_TRUE(window.shows(QStringLiteral("Create privacy copy")));
}

TEST(FileWorkspace, EveryControlHasANameAndTakesFocus) {
    FilesFixture window;
    TemporaryDirectory folder;
    writeBytes(folder.path() / "one.png", tinyPng());
    writeBytes(folder.path() / "two.png", tinyPng());
    window.model.inspectSelection({folder.path()});
    ASSERT_TRUE(window.waitForFiles());
    for (auto* button : window.workspace->findChildren<QAbstractButton*>()) {
        if (!button->isVisibleTo(window.workspace)) continue;
        EXPECT_FALSE(button->accessibleName().isEmpty()) << button->metaObject()->className();
        EXPECT_NE(button->focusPolicy() & Qt::TabFocus, 0) << button->accessibleName().toStdString();
    }
    for (const char* name :
         {"Choose file", "Create privacy copies", "Reveal", "Before", "After", "Batch", "File status"}) {
        EXPECT_TRUE(window.shows(QString::fromLatin1(name))) << name;
    }
}

}  // namespace
}  // namespace velquor::testing

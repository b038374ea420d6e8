// A person at a real window drops a photo with a location on "Before", reads its report, writes
// the privacy copy and sees it in "After"; then drops a folder and copies the whole batch. Runs
// on an X server (xvfb-run), where the window is mapped like any other.
#include "tests/support/ImageFixtures.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/ui/ViewTestSupport.h"
#include "ui/files/FileWorkspace.h"
#include "ui/files/ImageBeforeAfterView.h"
#include "ui/files/ImagePreviewPanel.h"

#include <QAbstractButton>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QTableWidget>
#include <QUrl>

namespace velquor::testing {
namespace {

namespace fs = std::filesystem;

QString pathText(const fs::path& path) { return QFile::decodeName(QByteArray(path.c_str())); }

// Drags `file` over the middle of `target` and releases it there.
void dropOn(QWidget* target, const fs::path& file) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(pathText(file))});
    const QPoint middle = target->rect().center();
    QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent drop(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
}

// Ctrl+2, as a person switches to the Files tab.
void showFiles(WindowFixture& window) {
    window.view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window.view));
    QTest::keyClick(&window.view, Qt::Key_2, Qt::ControlModifier);
    QCoreApplication::processEvents();
    ASSERT_EQ(window.model.selectedTab(), app::WorkspaceTab::files);
}

bool tableHolds(const QTableWidget* table, int column, const QString& text) {
    for (int row = 0; row < table->rowCount(); ++row) {
        if (table->item(row, column) && table->item(row, column)->text() == text) return true;
    }
    return false;
}

TEST(FileDropUnderXvfb, ADroppedPhotoIsReportedCopiedAndShownInAfter) {
    WindowFixture window;
    ASSERT_NO_FATAL_FAILURE(showFiles(window));
    auto* previews = window.view.findChild<ui::ImageBeforeAfterView*>();
    ASSERT_NE(previews, nullptr);

    TemporaryDirectory folder;
    const auto photo = makeTestImage(folder.path() / "photo.jpg", "320x240", 1);
    writeTags(photo, {"-GPSLatitude=51.5", "-GPSLatitudeRef=N", "-GPSLongitude=0.12", "-GPSLongitudeRef=W"});
    dropOn(previews, photo);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.model.fileReport().has_value(); }, 30000));
    settle();
    auto* table = window.named<QTableWidget>(QStringLiteral("Metadata"));
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(tableHolds(table, 0, QStringLiteral("Location")));
    EXPECT_EQ(window.named<QLabel>(QStringLiteral("File status"))->text(), QStringLiteral("Image ready."));
    EXPECT_EQ(previews->before()->contentKind(), QStringLiteral("image"));

    auto* create = window.named<QAbstractButton>(QStringLiteral("Create privacy copy"));
    ASSERT_TRUE(create->isEnabled());
    QTest::mouseClick(create, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.model.outputURL().has_value(); }, 30000));
    settle();
    EXPECT_TRUE(fs::exists(folder.path() / "photo-privacy.jpg"));
    EXPECT_EQ(window.named<QLabel>(QStringLiteral("File status"))->text(),
              QStringLiteral("Created and verified photo-privacy.jpg."));
    EXPECT_EQ(previews->after()->contentKind(), QStringLiteral("image"));
    EXPECT_TRUE(window.named<QAbstractButton>(QStringLiteral("Reveal"))->isEnabled());
}

TEST(FileDropUnderXvfb, ADroppedFolderIsCopiedRowByRow) {
    WindowFixture window;
    ASSERT_NO_FATAL_FAILURE(showFiles(window));
    TemporaryDirectory folder;
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) {
        writeTags(makeTestImage(folder.path() / name, "64x48", 1), {"-Artist=Ann"});
    }
    auto* previews = window.view.findChild<ui::ImageBeforeAfterView*>();
    ASSERT_NE(previews, nullptr);
    dropOn(previews, folder.path());
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.model.batchReports().size() == 3; }, 30000));
    settle();
    auto* copies = window.named<QAbstractButton>(QStringLiteral("Create privacy copies"));
    ASSERT_NE(copies, nullptr);
    QTest::mouseClick(copies, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.model.isProcessingFiles(); }, 30000));
    settle();
    auto* table = window.named<QTableWidget>(QStringLiteral("Batch"));
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->rowCount(), 3);
    for (const char* name : {"a-privacy.jpg", "b-privacy.jpg", "c-privacy.jpg"}) {
        EXPECT_TRUE(fs::exists(folder.path() / name)) << name;
    }
    for (int row = 0; row < table->rowCount(); ++row) {
        EXPECT_TRUE(table->item(row, 3)->text().startsWith(QStringLiteral("Created "))) << row;
    }
}

}  // namespace
}  // namespace velquor::testing

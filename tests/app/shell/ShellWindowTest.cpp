// The frame of the application: the tray menu, the window's menus, the settings window and
// where opened paths go.
#include "app/BuildSettings.h"
#include "app/ReleaseUpdate.h"
#include "app/shell/AppIconLoader.h"
#include "app/shell/ClipboardMenu.h"
#include "app/shell/MainWindow.h"
#include "app/shell/OpenPaths.h"
#include "app/shell/SettingsWindow.h"
#include "app/shell/UpdateSection.h"
#include "tests/app/LoopbackHttpServer.h"
#include "tests/app/ModelTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace velquor::testing {
namespace {

using app::AppUpdateState;

// A menu as text: each action's label, "---" for a divider.
QStringList menuLayout(const QMenu& menu) {
    QStringList layout;
    for (const QAction* action : menu.actions()) layout.push_back(action->isSeparator() ? "---" : action->text());
    return layout;
}

QAction* actionNamed(const QMenu& menu, const QString& text) {
    for (QAction* action : menu.actions()) {
        if (action->text() == text) return action;
    }
    return nullptr;
}

QMenu* menuNamed(QMainWindow& window, const QString& title) {
    for (QAction* action : window.menuBar()->actions()) {
        if (action->menu() && action->text() == title) return action->menu();
    }
    return nullptr;
}

TEST(TrayMenuTest, HasTheItemsInOrderAndRestorePutsTheOriginalBackWhileTheModelOffersIt) {
    ModelFixture fixture;
    QMenu menu;
    int shown = 0;
    int quits = 0;
    shell::fillTrayMenu(
        menu, fixture.model, [&] { ++shown; }, [&] { ++quits; });
    EXPECT_EQ(menuLayout(menu), (QStringList{"Inspect Clipboard", "Clean Clipboard", "Restore Previous Clipboard",
                                             "---", "Show Velquor", "---", "Quit"}));
    QAction* restore = actionNamed(menu, "Restore Previous Clipboard");
    ASSERT_TRUE(restore);
    EXPECT_FALSE(restore->isEnabled());
    for (const QAction* action : menu.actions()) {
        if (!action->isSeparator()) {
            EXPECT_FALSE(action->icon().isNull()) << action->text().toStdString();
        }
    }

    QGuiApplication::clipboard()->setText(qs(u"pay\u200B now"));
    actionNamed(menu, "Clean Clipboard")->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "pay now");
    EXPECT_EQ(shown, 0);  // cleaning never brings the window forward
    EXPECT_TRUE(restore->isEnabled());

    QGuiApplication::clipboard()->setText("written elsewhere");
    EXPECT_TRUE(waitFor([&] { return !restore->isEnabled(); }));

    actionNamed(menu, "Inspect Clipboard")->trigger();
    EXPECT_EQ(fixture.model.inputText(), "written elsewhere");
    EXPECT_EQ(shown, 1);
    actionNamed(menu, "Show Velquor")->trigger();
    EXPECT_EQ(shown, 2);
    actionNamed(menu, "Quit")->trigger();
    EXPECT_EQ(quits, 1);

    QGuiApplication::clipboard()->setText(qs(u"a\u200Bb https://x.org/?utm_source=z"));
    actionNamed(menu, "Clean Clipboard")->trigger();
    ASSERT_TRUE(restore->isEnabled());
    restore->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), qs(u"a\u200Bb https://x.org/?utm_source=z"));
    EXPECT_FALSE(restore->isEnabled());
}

TEST(MainWindowTest, IsTitledVelquorWithItsMenusAndShortcutsAndOpenTextLoadsTheChosenFile) {
    ModelFixture fixture;
    shell::MainWindow window(fixture.model, fixture.desktop);
    EXPECT_EQ(window.windowTitle(), "Velquor");
    EXPECT_EQ(window.minimumSize(), QSize(1120, 720));
    ASSERT_TRUE(window.centralWidget());

    QMenu* file = menuNamed(window, "&File");
    QMenu* clipboard = menuNamed(window, "&Clipboard");
    QMenu* help = menuNamed(window, "&Help");
    ASSERT_TRUE(file && clipboard && help);
    EXPECT_EQ(menuLayout(*file),
              (QStringList{"Open Text…", "Open Files…", "Save Cleaned…", "---", "Settings…", "---", "Quit"}));
    EXPECT_EQ(menuLayout(*clipboard),
              (QStringList{"Inspect Clipboard", "Clean Clipboard", "Restore Previous Clipboard"}));
    EXPECT_EQ(menuLayout(*help), (QStringList{"Check for Updates...", "About Velquor"}));
    EXPECT_EQ(actionNamed(*file, "Open Text…")->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(actionNamed(*file, "Save Cleaned…")->shortcut(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(actionNamed(*file, "Settings…")->shortcut(), QKeySequence("Ctrl+,"));
    EXPECT_EQ(actionNamed(*file, "Quit")->shortcut(), QKeySequence("Ctrl+Q"));
    EXPECT_FALSE(actionNamed(*clipboard, "Restore Previous Clipboard")->isEnabled());

    actionNamed(*help, "About Velquor")->trigger();
    ASSERT_EQ(fixture.desktop.alerts.size(), 1u);
    EXPECT_EQ(fixture.desktop.alerts[0].message, "Velquor " + app::runningVersion());

    QTemporaryDir folder;
    QFile chosen(folder.filePath("notes.txt"));
    ASSERT_TRUE(chosen.open(QIODevice::WriteOnly));
    chosen.write("hello\xe2\x80\x8b");
    chosen.close();
    fixture.desktop.paths.push_back(chosen.fileName());
    actionNamed(*file, "Open Text…")->trigger();
    EXPECT_EQ(fixture.model.inputText(), qs(u"hello\u200B"));
}

TEST(MainWindowTest, ClosingHidesTheWindowOnlyWhileATrayKeepsVelquor) {
    ModelFixture fixture;
    shell::MainWindow window(fixture.model, fixture.desktop);
    window.setKeepsRunningInTray(true);
    window.showVelquorWindow();
    EXPECT_FALSE(window.close());  // refused: hidden instead
    EXPECT_FALSE(window.isVisible());
    window.showVelquorWindow();
    EXPECT_TRUE(window.isVisible());
    window.setKeepsRunningInTray(false);
    EXPECT_TRUE(window.close());
}

// A switch to a dark theme while the window is open: the secondary texts are built again from the
// dark palette (light grey on dark), and the text the person was working on stays.
TEST(MainWindowTest, SwitchingToADarkPaletteRecoloursTheViewsAndKeepsTheText) {
    ModelFixture fixture;
    shell::MainWindow window(fixture.model, fixture.desktop);
    window.showVelquorWindow();
    fixture.model.setInputText(qs(u"hello\u200B"));
    const QString subtitleText =
        "Privacy hygiene and authorship support. It does not erase or falsify AI origin signals.";
    const auto subtitleLightness = [&] {
        for (const QLabel* label : window.centralWidget()->findChildren<QLabel*>()) {
            if (label->text() == subtitleText) return label->palette().color(QPalette::WindowText).lightness();
        }
        return -1;
    };
    const QPalette light = QApplication::palette();
    ASSERT_LT(subtitleLightness(), 128);

    QPalette dark(QColor(55, 55, 60), QColor(40, 40, 44));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    QApplication::setPalette(dark);
    QCoreApplication::processEvents();
    const int darkLightness = subtitleLightness();
    QApplication::setPalette(light);
    EXPECT_GT(darkLightness, 128);
    EXPECT_EQ(fixture.model.inputText(), qs(u"hello\u200B"));
}

TEST(AppIconLoaderTest, LoadsTheBuiltInIconAtEverySize) {
    const auto icon = shell::AppIconLoader::image();
    ASSERT_TRUE(icon);
    for (const int size : {48, 64, 128, 256}) {
        EXPECT_TRUE(icon->availableSizes().contains(QSize(size, size))) << size;
    }
}

// Paths from the command line or the bus: one text document to the text workspace, anything
// else to the files; relative paths never reach the model.
TEST(OpenPathsTest, RoutesTextDocumentsAndEverythingElse) {
    QTemporaryDir folder;
    const auto make = [&](const QString& name, const QByteArray& bytes) {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    const QString text = make("a.TXT", "plain text");
    const QString markdown = make("b.markdown", "# heading");
    const QString image = folder.filePath("c.png");
    QImage pixels(4, 4, QImage::Format_RGB32);
    pixels.fill(Qt::red);
    ASSERT_TRUE(pixels.save(image, "PNG"));
    const QString secondImage = folder.filePath("e.png");
    ASSERT_TRUE(pixels.save(secondImage, "PNG"));
    QDir(folder.path()).mkdir("d.md");  // a folder named like a document
    const QString folderLikeText = folder.filePath("d.md");

    struct Case {
        const char* name;
        QStringList paths;
        app::WorkspaceTab tab;
        QString inputText;
        bool fileSelected;
        std::size_t batchRows;
    };
    const Case cases[] = {
        {"text", {text}, app::WorkspaceTab::text, "plain text", false, 0},
        {"markdown", {markdown}, app::WorkspaceTab::text, "# heading", false, 0},
        {"image", {image}, app::WorkspaceTab::files, {}, true, 0},
        {"two images", {image, secondImage}, app::WorkspaceTab::files, {}, false, 2},
        {"two texts", {text, markdown}, app::WorkspaceTab::files, {}, false, 0},
        {"folder named .md", {folderLikeText}, app::WorkspaceTab::files, {}, false, 0},
        {"relative", {"a.TXT"}, app::WorkspaceTab::text, {}, false, 0},
        {"none", {}, app::WorkspaceTab::text, {}, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ModelFixture fixture;
        shell::openPaths(fixture.model, c.paths);
        ASSERT_TRUE(waitFor([&] { return !fixture.model.isProcessingFiles(); }));
        settle();
        EXPECT_EQ(fixture.model.selectedTab(), c.tab);
        EXPECT_EQ(fixture.model.inputText(), c.inputText);
        EXPECT_EQ(fixture.model.selectedFile().has_value(), c.fileSelected);
        EXPECT_EQ(fixture.model.batchReports().size(), c.batchRows);
    }
}

TEST(UpdateSectionTest, ShowsEachStateWithItsTextSymbolAndButton) {
    using Action = shell::UpdateSectionContent::Action;
    const app::ReleaseManifest manifest{.version = "2.1", .url = {}, .notes = "n", .sha256 = "s"};
    const std::pair<AppUpdateState, shell::UpdateSectionContent> cases[] = {
        {{AppUpdateState::Idle{}}, {false, "", "", "Check for Updates", Action::check}},
        {{AppUpdateState::Checking{}}, {true, "Checking for updates...", "", "", Action::none}},
        {{AppUpdateState::Current{"1.4"}},
         {false, "Version 1.4 is current", "checkmark.circle", "Check Again", Action::check}},
        {{AppUpdateState::Available{manifest}},
         {false, "Version 2.1 is available", "arrow.down.circle", "Download", Action::download}},
        {{AppUpdateState::Failed{"No luck."}}, {false, "No luck.", "", "Try Again", Action::check}},
    };
    for (const auto& [state, expected] : cases) {
        const auto content = shell::updateSectionContent(state);
        EXPECT_EQ(content, expected) << content.text.toStdString();
    }
}

TEST(SettingsWindowTest, ShowsPrivacyAndAboutAndOpensTheMakersPages) {
    ModelFixture fixture;
    shell::SettingsWindow settings(fixture.model, fixture.desktop);
    const auto* statement = settings.findChild<QLabel*>("privacyStatement");
    ASSERT_TRUE(statement);
    EXPECT_TRUE(statement->text().contains("stay on this machine"));
    EXPECT_TRUE(statement->text().contains("only when you check for updates"));
    EXPECT_EQ(settings.findChild<QLabel*>("versionValue")->text(), app::runningVersion());

    const std::pair<const char*, const char*> links[] = {
        {"Privacy", app::buildPrivacyAddress},
        {"Website", app::buildWebsiteAddress},
        {"Send feedback", app::buildFeedbackAddress},
    };
    for (const auto& [label, address] : links) {
        QPushButton* button = nullptr;
        for (auto* candidate : settings.findChildren<QPushButton*>()) {
            if (candidate->text() == label) button = candidate;
        }
        ASSERT_TRUE(button) << label;
        button->click();
        ASSERT_FALSE(fixture.desktop.opened.empty());
        EXPECT_EQ(fixture.desktop.opened.back(), QUrl(QString::fromUtf8(address))) << label;
        EXPECT_EQ(fixture.desktop.opened.back().scheme(), "https");
    }
}

TEST(SettingsWindowTest, TheUpdateRowFollowsARealCheckAndDownloads) {
    LoopbackHttpServer server(LoopbackHttpServer::response(
        200, "OK", R"({"version":"999.1","url":"https://elsewhere.example/x","notes":"n","sha256":"s"})"));
    qputenv("VELQUOR_UPDATE_MANIFEST_URL", server.address().toString().toUtf8());
    ModelFixture fixture;
    shell::SettingsWindow settings(fixture.model, fixture.desktop);
    auto* button = settings.findChild<QPushButton*>("updateButton");
    auto* text = settings.findChild<QLabel*>("updateText");
    ASSERT_TRUE(button && text);
    EXPECT_EQ(button->text(), "Check for Updates");
    button->click();
    EXPECT_EQ(text->text(), "Checking for updates...");
    EXPECT_TRUE(button->isHidden());
    EXPECT_TRUE(waitFor([&] { return button->text() == "Download"; }));
    EXPECT_EQ(text->text(), "Version 999.1 is available");
    EXPECT_TRUE(fixture.desktop.alerts.empty());  // the settings window never asks for an alert
    button->click();
    ASSERT_EQ(fixture.desktop.opened.size(), 1u);
    EXPECT_EQ(fixture.desktop.opened[0], QUrl(QString::fromUtf8(app::buildReleaseDownloadAddress)));
    qunsetenv("VELQUOR_UPDATE_MANIFEST_URL");
}

}  // namespace
}  // namespace velquor::testing

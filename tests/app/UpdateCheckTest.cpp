#include "app/BuildSettings.h"
#include "app/ReleaseUpdate.h"
#include "tests/app/LoopbackHttpServer.h"
#include "tests/app/ModelTestSupport.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace velquor::testing {
namespace {

using app::AppUpdateState;

// Points the model's manifest address at `address` for the life of the object.
class ManifestAddress {
public:
    explicit ManifestAddress(const QString& address) { qputenv("VELQUOR_UPDATE_MANIFEST_URL", address.toUtf8()); }
    ~ManifestAddress() { qunsetenv("VELQUOR_UPDATE_MANIFEST_URL"); }
    ManifestAddress(const ManifestAddress&) = delete;
    ManifestAddress& operator=(const ManifestAddress&) = delete;
};

struct UpdateFixture {
    explicit UpdateFixture(std::chrono::milliseconds timeout = 15s)
        : model(desktop,
                {.textInspectionDelay = 40ms, .clipboardRestoreLifetime = 300ms, .updateCheckTimeout = timeout}) {}

    bool finished() const {
        const auto& state = model.updateState().value;
        return !std::holds_alternative<AppUpdateState::Checking>(state) &&
               !std::holds_alternative<AppUpdateState::Idle>(state);
    }

    ScriptedDesktop desktop;
    app::AppModel model;
};

QByteArray manifestJson(const QByteArray& version, const QByteArray& url = "https://example.org/other.dmg") {
    return R"({"version":")" + version + R"(","url":")" + url + R"(","notes":"Faster scans.","sha256":"0123abcd"})";
}

const QString failedMessage = QStringLiteral("Could not check for updates. Check your connection and try again.");

TEST(ReleaseUpdateTest, ComparesVersionsPieceByPiece) {
    struct Case {
        const char* candidate;
        const char* current;
        bool newer;
    };
    const Case cases[] = {
        {"1.0.12", "1.0.12", false},
        {"1.0.13", "1.0.12", true},
        {"1.1", "1.0.12", true},
        {"1.0", "1.0.0", false},
        {"1.0.0", "1.0", false},
        {"1.0.1", "1.0", true},
        {"2b", "2", false},
        {"3b", "2", true},
        {"x.1", "0.1", false},
        {"1..2", "1.2", false},
        {"0.9", "0.10", false},
        {"0.10", "0.9", true},
        {"", "0", false},
        {"1", "", true},
        {"99999999999999999999999", "1", false},
        {"1.2.3-beta", "1.2.3", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(app::isNewer(QString::fromUtf8(c.candidate), QString::fromUtf8(c.current)), c.newer)
            << c.candidate << " against " << c.current;
    }
}

TEST(ReleaseUpdateTest, DecodesOnlyManifestsWithAllFourStringKeys) {
    const auto manifest = app::decodeReleaseManifest(manifestJson("2.0.1") + " ");
    EXPECT_EQ(manifest.version, "2.0.1");
    EXPECT_EQ(manifest.url, QUrl("https://example.org/other.dmg"));
    EXPECT_EQ(manifest.notes, "Faster scans.");
    EXPECT_EQ(manifest.sha256, "0123abcd");

    const QByteArray refused[] = {
        "",
        "{",
        "[]",
        "null",
        R"({"version":"2.0","url":"https://e.org/x","notes":"n"})",
        R"({"version":2,"url":"https://e.org/x","notes":"n","sha256":"s"})",
        R"({"version":"2.0","url":"https://e.org/x","notes":null,"sha256":"s"})",
        R"({"version":"2.0","url":"relative/path","notes":"n","sha256":"s"})",
        R"({"version":"2.0","url":"","notes":"n","sha256":"s"})",
        R"({"version":"2.0","url":"https://e.org/x","notes":"n","sha256":"s"} trailing)",
    };
    for (const auto& body : refused) {
        EXPECT_THROW(app::decodeReleaseManifest(body), app::UpdateError) << body.toStdString();
    }
    EXPECT_STREQ(app::UpdateError().what(), "The update server returned an invalid response.");
}

TEST(ReleaseUpdateTest, AcceptsHttpsAndPlainHttpOnLoopbackOnlyAlsoAsAnOverride) {
    const std::pair<const char*, bool> cases[] = {
        {"https://velquor.org/releases/latest.json", true},
        {"http://127.0.0.1:8080/latest.json", true},
        {"http://velquor.org/releases/latest.json", false},
        {"http://localhost:8080/latest.json", false},
        {"http://127.0.0.2/latest.json", false},
        {"ftp://velquor.org/latest.json", false},
        {"file:///etc/passwd", false},
        {"https:///latest.json", false},
        {"not a url", false},
    };
    for (const auto& [address, accepted] : cases) {
        EXPECT_EQ(app::isAcceptedManifestAddress(QUrl(QString::fromUtf8(address))), accepted) << address;
    }
    EXPECT_TRUE(QUrl(QString::fromUtf8(app::buildReleaseManifestAddress)).path().endsWith("latest.json"));
    EXPECT_EQ(QUrl(QString::fromUtf8(app::buildReleaseManifestAddress)).scheme(), "https");
    {  // an override that is not accepted gives no address
        const ManifestAddress plain(QStringLiteral("http://example.org/latest.json"));
        EXPECT_FALSE(app::releaseManifestAddress());
    }
    EXPECT_EQ(app::releaseManifestAddress(), QUrl(QString::fromUtf8(app::buildReleaseManifestAddress)));
}

// Each answer of the server and the state and alert it ends in.
TEST(UpdateCheckTest, EachServerAnswerEndsInItsStateAndAlert) {
    struct Case {
        const char* name;
        QByteArray response;
        AppUpdateState expected;
        QString alertMessage;
        QString alertText;
    };
    const QString running = app::runningVersion();
    const app::ReleaseManifest newer{.version = "999.0",
                                     .url = QUrl("https://example.org/other.dmg"),
                                     .notes = "Faster scans.",
                                     .sha256 = "0123abcd"};
    const auto failed = [](const char* name, QByteArray response) {
        return Case{
            name, std::move(response), {AppUpdateState::Failed{failedMessage}}, "Update check failed", failedMessage};
    };
    const auto current = [&](const char* name, const QByteArray& version) {
        return Case{name,
                    LoopbackHttpServer::response(200, "OK", manifestJson(version)),
                    {AppUpdateState::Current{running}},
                    "Velquor is up to date",
                    QStringLiteral("Version %1 is the latest version.").arg(running)};
    };
    const Case cases[] = {
        {"newer",
         LoopbackHttpServer::response(200, "OK", manifestJson("999.0")),
         {AppUpdateState::Available{newer}},
         "Velquor 999.0 is available",
         "Faster scans."},
        current("equal", running.toUtf8()),
        current("older", "0.0.1"),
        failed("not modified", LoopbackHttpServer::response(304, "Not Modified", {})),
        failed("not found", LoopbackHttpServer::response(404, "Not Found", manifestJson("999.0"))),
        failed("created", LoopbackHttpServer::response(201, "Created", manifestJson("999.0"))),
        failed("malformed", LoopbackHttpServer::response(200, "OK", "{\"version\": \"2.0\",")),
        failed("missing key",
               LoopbackHttpServer::response(200, "OK", R"({"version":"999.0","url":"https://e.org/x","notes":"n"})")),
        failed("oversized", LoopbackHttpServer::response(200, "OK", QByteArray(200'000, ' ') + manifestJson("999.0"))),
        failed("not http", "garbage without a status line\r\n\r\n"),
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LoopbackHttpServer server(c.response);
        const ManifestAddress address(server.address().toString());
        UpdateFixture fixture;
        fixture.model.checkForUpdates(true);
        EXPECT_TRUE(std::holds_alternative<AppUpdateState::Checking>(fixture.model.updateState().value));
        ASSERT_TRUE(waitFor([&] { return fixture.finished(); }));
        EXPECT_EQ(fixture.model.updateState(), c.expected);
        ASSERT_EQ(fixture.desktop.alerts.size(), 1u);
        EXPECT_EQ(fixture.desktop.alerts[0].message, c.alertMessage);
        EXPECT_EQ(fixture.desktop.alerts[0].informativeText, c.alertText);
        EXPECT_GE(server.requests(), 1);  // Qt retries an answer that is not HTTP
    }
}

// "Download" is the alert's first button; it opens the fixed address, never the manifest's own.
TEST(UpdateCheckTest, TheAlertOffersDownloadWhichOpensTheFixedAddressNotTheManifestsOwn) {
    LoopbackHttpServer server(
        LoopbackHttpServer::response(200, "OK", manifestJson("999.0", "https://attacker.example/evil.deb")));
    const ManifestAddress address(server.address().toString());
    for (const int answer : {1, 0}) {
        UpdateFixture fixture;
        fixture.desktop.alertAnswer = answer;
        fixture.model.downloadAvailableUpdate();
        EXPECT_TRUE(fixture.desktop.opened.empty());  // nothing is available yet
        fixture.model.checkForUpdates(true);
        ASSERT_TRUE(waitFor([&] { return fixture.finished(); }));
        ASSERT_EQ(fixture.desktop.alerts.size(), 1u);
        EXPECT_EQ(fixture.desktop.alerts[0].buttons, (QStringList{"Download", "Not now"}));
        if (answer == 1) {  // "Not now"
            EXPECT_TRUE(fixture.desktop.opened.empty());
            continue;
        }
        ASSERT_EQ(fixture.desktop.opened.size(), 1u);
        EXPECT_EQ(fixture.desktop.opened[0], QUrl(QString::fromUtf8(app::buildReleaseDownloadAddress)));
        fixture.model.downloadAvailableUpdate();
        EXPECT_EQ(fixture.desktop.opened.size(), 2u);
        EXPECT_EQ(fixture.desktop.opened[1], fixture.desktop.opened[0]);
    }
}

TEST(UpdateCheckTest, AServerThatNeverAnswersTimesOutAsFailed) {
    LoopbackHttpServer server;
    const ManifestAddress address(server.address().toString());
    UpdateFixture fixture(300ms);
    fixture.model.checkForUpdates(false);
    ASSERT_TRUE(waitFor([&] { return fixture.finished(); }, 10000));
    EXPECT_EQ(fixture.model.updateState(), AppUpdateState{AppUpdateState::Failed{failedMessage}});
    EXPECT_TRUE(fixture.desktop.alerts.empty());
    EXPECT_EQ(server.requests(), 1);
}

TEST(UpdateCheckTest, TwoQuickRequestsMakeOneCheckOfTheServerNotACacheAndOneAlert) {
    LoopbackHttpServer server(LoopbackHttpServer::response(200, "OK", manifestJson("0.0.1")));
    const ManifestAddress address(server.address().toString());
    UpdateFixture fixture;
    QSignalSpy changes(&fixture.model, &app::AppModel::updateStateChanged);
    fixture.model.checkForUpdates(true);
    fixture.model.checkForUpdates(true);
    ASSERT_TRUE(waitFor([&] { return fixture.finished(); }));
    QTest::qWait(100);
    EXPECT_EQ(fixture.desktop.alerts.size(), 1u);
    EXPECT_EQ(server.requests(), 1);
    EXPECT_EQ(changes.count(), 2);  // checking, then current
    EXPECT_TRUE(server.lastRequest().startsWith("GET /releases/latest.json HTTP/1.1\r\n"));
    EXPECT_TRUE(server.lastRequest().toLower().contains("cache-control: no-cache"));
    fixture.model.checkForUpdates(false);
    ASSERT_TRUE(waitFor([&] { return server.requests() == 2 && fixture.finished(); }));
    EXPECT_EQ(fixture.desktop.alerts.size(), 1u) << "a check in the background shows no alert";
}

TEST(UpdateCheckTest, ARefusedAddressFailsWithoutTouchingTheNetwork) {
    LoopbackHttpServer server(LoopbackHttpServer::response(200, "OK", manifestJson("999.0")));
    const QString plain = QStringLiteral("http://localhost:%1/latest.json").arg(server.address().port());
    const ManifestAddress address(plain);
    UpdateFixture fixture;
    fixture.model.checkForUpdates(true);
    ASSERT_TRUE(waitFor([&] { return fixture.finished(); }));
    EXPECT_EQ(fixture.model.updateState(), AppUpdateState{AppUpdateState::Failed{failedMessage}});
    EXPECT_EQ(fixture.desktop.alerts.size(), 1u);
    EXPECT_EQ(server.requests(), 0);
}

TEST(UpdateCheckTest, AModelDestroyedDuringACheckIsLeftAlone) {
    LoopbackHttpServer server;
    const ManifestAddress address(server.address().toString());
    {
        UpdateFixture fixture(200ms);
        fixture.model.checkForUpdates(true);
        ASSERT_TRUE(waitFor([&] { return server.requests() == 1; }));
    }
    QTest::qWait(400);  // the deadline of the destroyed model must not fire into it
    SUCCEED();
}

}  // namespace
}  // namespace velquor::testing

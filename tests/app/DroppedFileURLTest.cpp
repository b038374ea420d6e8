#include "app/DroppedFileURL.h"

#include <QByteArray>
#include <QUrl>

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace velquor::testing {
namespace {

using app::decodeDroppedFileURL;

TEST(DroppedFileURLTest, OnlyLocalFileURLsBecomeStandardizedPaths) {
    struct Case {
        const char* name;
        QVariant item;
        std::optional<std::string> path;
    };
    const Case cases[] = {
        {"a URL", QUrl(QStringLiteral("file:///home/ann/photo.jpg")), "/home/ann/photo.jpg"},
        {"a folder with a trailing slash", QUrl(QStringLiteral("file:///home/ann/Photos/")), "/home/ann/Photos"},
        {"the root", QUrl(QStringLiteral("file:///")), "/"},
        {"dots and repeated slashes", QUrl(QStringLiteral("file:///home/./ann//x/../photo.jpg")),
         "/home/ann/photo.jpg"},
        {"above the root", QUrl(QStringLiteral("file:///../../etc/passwd")), "/etc/passwd"},
        {"escapes", QUrl(QStringLiteral("file:///tmp/a%20b/%C3%A9t%C3%A9.png")), "/tmp/a b/\xC3\xA9t\xC3\xA9.png"},
        {"a name that is not UTF-8", QByteArray("file:///tmp/caf%E9.png"), "/tmp/caf\xE9.png"},
        {"localhost", QUrl(QStringLiteral("file://localhost/tmp/x.png")), "/tmp/x.png"},
        {"bytes with the line end of a URI list", QByteArray("file:///tmp/x.png\r\n"), "/tmp/x.png"},
        {"a string", QStringLiteral("file:///tmp/x.png"), "/tmp/x.png"},
        {"query and fragment are not the path", QStringLiteral("file:///tmp/x.png?a=1#b"), "/tmp/x.png"},
        {"another host", QUrl(QStringLiteral("file://server/share/x.png")), std::nullopt},
        {"a web address", QUrl(QStringLiteral("https://example.com/x.png")), std::nullopt},
        {"a relative file URL", QStringLiteral("file:x.png"), std::nullopt},
        {"a plain path", QStringLiteral("/tmp/x.png"), std::nullopt},
        {"an escaped NUL", QByteArray("file:///tmp/x%00.png"), std::nullopt},
        {"an invalid URL", QByteArray("file:///tmp/%zz"), std::nullopt},
        {"an empty string", QString(), std::nullopt},
        {"a number", QVariant(42), std::nullopt},
        {"nothing", QVariant(), std::nullopt},
    };
    for (const auto& [name, item, path] : cases) {
        const auto decoded = decodeDroppedFileURL(item);
        if (path) {
            ASSERT_TRUE(decoded.has_value()) << name;
            EXPECT_EQ(decoded->string(), *path) << name;
        } else {
            EXPECT_EQ(decoded, std::nullopt) << name;
        }
    }
}

}  // namespace
}  // namespace velquor::testing

#include "core/workflow/BatchCollector.h"
#include "core/workflow/BatchFileReport.h"

#include "tests/support/TemporaryDirectory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace velquor::workflow {
namespace {

namespace fs = std::filesystem;
using velquor::testing::TemporaryDirectory;

// Collection decides by name and kind, never by content, so empty files will do.
fs::path touch(const fs::path& file) {
    fs::create_directories(file.parent_path());
    std::ofstream{file};
    return file;
}

std::vector<std::string> relativeNames(const std::vector<fs::path>& files, const fs::path& base) {
    std::vector<std::string> names;
    for (const auto& file : files) names.push_back(file.lexically_relative(base).string());
    return names;
}

std::vector<std::string> collected(const TemporaryDirectory& directory, const std::vector<fs::path>& selection,
                                   std::size_t limit = batchFileLimit) {
    return relativeNames(inspectableBatchFiles(selection, limit), directory.path());
}

TEST(BatchCollectorTest, AFolderGivesItsSupportedFilesInNameOrderAtEachLevel) {
    const TemporaryDirectory directory;
    const auto root = directory.path() / "photos";
    for (const auto* name : {"b.png", "a10.jpg", "a2.JPG", "A1.svg", "notes.txt", "Makefile", "z/c.pdf",
                             "z/deeper/d.mp4", "m/e.docx", "m/f.pages", "m/g.key"}) {
        touch(root / name);
    }
    EXPECT_THAT(
        collected(directory, {root}),
        ::testing::ElementsAre("photos/A1.svg", "photos/a2.JPG", "photos/a10.jpg", "photos/b.png", "photos/m/e.docx",
                               "photos/m/f.pages", "photos/m/g.key", "photos/z/c.pdf", "photos/z/deeper/d.mp4"));
}

// Folders nested deeper than a path can name (PATH_MAX), made and removed through descriptors.
class DeepFolders {
public:
    DeepFolders(const fs::path& root, int levels) : root_(root), levels_(levels) {
        int parent = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        for (int i = 0; i < levels; ++i) {
            ::mkdirat(parent, name_.c_str(), 0700);
            const int child = ::openat(parent, name_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            ::close(parent);
            parent = child;
        }
        ::close(::openat(parent, "deep.png", O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
        ::close(parent);
    }
    ~DeepFolders() {
        for (int level = levels_; level >= 0; --level) {
            const int folder = openLevel(level);
            ::unlinkat(folder, level == levels_ ? "deep.png" : name_.c_str(), level == levels_ ? 0 : AT_REMOVEDIR);
            ::close(folder);
        }
    }
    DeepFolders(const DeepFolders&) = delete;
    DeepFolders& operator=(const DeepFolders&) = delete;

    const std::string& name() const { return name_; }

private:
    int openLevel(int level) const {
        int folder = ::open(root_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        for (int i = 0; i < level; ++i) {
            const int child = ::openat(folder, name_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            ::close(folder);
            folder = child;
        }
        return folder;
    }

    fs::path root_;
    int levels_;
    std::string name_ = std::string(200, 'd');
};

TEST(BatchCollectorTest, AFileDeeperThanAPathCanNameIsStillFound) {
    const TemporaryDirectory directory;
    const DeepFolders deep(directory.path(), PATH_MAX / 200 + 2);
    const auto files = inspectableBatchFiles(std::vector{directory.path()}, batchFileLimit);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_GT(files[0].native().size(), static_cast<std::size_t>(PATH_MAX));
    EXPECT_EQ(files[0].filename(), "deep.png");
}

TEST(BatchCollectorTest, HiddenEntriesLinksAndSpecialFilesAreLeftOut) {
    const TemporaryDirectory directory;
    const auto root = directory.path() / "folder";
    touch(root / "kept.png");
    touch(root / ".hidden.png");
    touch(root / ".cache/inside.png");
    touch(directory.path() / "outside/secret.png");
    fs::create_directory_symlink(directory.path() / "outside", root / "linked-folder");
    fs::create_symlink(directory.path() / "outside/secret.png", root / "linked.png");
    fs::create_directory_symlink(root, root / "loop");
    ASSERT_EQ(::mkfifo((root / "pipe.png").c_str(), 0600), 0);
    // Document packages of other systems are single documents, not folders of files.
    touch(root / "Slides.key/Data/image.png");
    touch(root / "Tool.app/Contents/icon.png");

    EXPECT_THAT(collected(directory, {root}), ::testing::ElementsAre("folder/kept.png"));
}

TEST(BatchCollectorTest, TheSelectionKeepsItsOrderAndSelectedPathsAreTakenAsTheyAre) {
    const TemporaryDirectory directory;
    const auto folder = directory.path() / "f";
    touch(folder / "b.png");
    touch(folder / "a.png");
    const auto hidden = touch(directory.path() / ".chosen.png");
    const auto unsupported = touch(directory.path() / "chosen.txt");
    const auto missing = directory.path() / "gone.jpg";
    const auto linkToFolder = directory.path() / "shortcut";
    fs::create_directory_symlink(folder, linkToFolder);

    EXPECT_THAT(
        collected(directory, {missing, folder, hidden, unsupported, linkToFolder}),
        ::testing::ElementsAre("gone.jpg", "f/a.png", "f/b.png", ".chosen.png", "shortcut/a.png", "shortcut/b.png"));
}

TEST(BatchCollectorTest, TheLimitAndAStopRequestEndTheWalk) {
    const TemporaryDirectory directory;
    const auto root = directory.path() / "many";
    for (int i = 0; i < 250; ++i) touch(root / ("img" + std::to_string(i) + ".png"));

    const auto first200 = collected(directory, {root});
    ASSERT_EQ(first200.size(), 200u);
    EXPECT_EQ(first200.front(), "many/img0.png");
    EXPECT_EQ(first200[10], "many/img10.png");
    EXPECT_EQ(first200.back(), "many/img199.png");
    EXPECT_THAT(collected(directory, {root, root}, 300), ::testing::SizeIs(300));
    EXPECT_THAT(collected(directory, {root}, 0), ::testing::IsEmpty());
    EXPECT_THAT(collected(directory, {}, 200), ::testing::IsEmpty());

    std::stop_source stop;
    stop.request_stop();
    const std::vector<fs::path> selection{root};
    EXPECT_THAT(inspectableBatchFiles(selection, 200, stop.get_token()), ::testing::IsEmpty());
}

TEST(BatchCollectorTest, NamesThatCompareEqualForDisplayStillHaveOneOrder) {
    const TemporaryDirectory directory;
    const auto root = directory.path() / "r";
    // "\xE9" alone is not UTF-8: such a name is shown as Latin-1 and must not stop the walk.
    for (const auto* name : {"a.png", "A.png", "caf\xE9.png", "b.png"}) touch(root / name);
    const auto once = collected(directory, {root});
    EXPECT_THAT(once, ::testing::ElementsAre("r/A.png", "r/a.png", "r/b.png", "r/caf\xE9.png"));
    EXPECT_EQ(collected(directory, {root}), once);
}

}  // namespace
}  // namespace velquor::workflow

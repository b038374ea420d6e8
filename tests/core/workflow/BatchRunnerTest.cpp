#include "core/workflow/BatchRunner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <numeric>
#include <stdexcept>
#include <thread>

namespace velquor::workflow {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> numberedFiles(std::size_t count) {
    std::vector<fs::path> files;
    for (std::size_t i = 0; i < count; ++i) files.push_back(std::to_string(i));
    return files;
}

// Later files finish first, so rows only come out in order if the runner puts them there.
std::size_t slowerForEarlierFiles(const fs::path& file) {
    const auto index = std::stoul(file.string());
    std::this_thread::sleep_for(std::chrono::microseconds(100 * (40 - index % 40)));
    return index;
}

std::vector<std::size_t> firstIndexes(std::size_t count) {
    std::vector<std::size_t> indexes(count);
    std::iota(indexes.begin(), indexes.end(), 0);
    return indexes;
}

TEST(BatchRunnerTest, RowsComeBackInTheFilesOrderWhateverTheNumberOfWorkers) {
    const auto files = numberedFiles(80);
    for (const unsigned workers : {0u, 1u, 2u, 7u, 200u}) {
        const auto rows =
            runBatch<std::size_t>(files, slowerForEarlierFiles, {.workers = workers, .stop = {}, .progress = {}});
        EXPECT_EQ(rows, firstIndexes(80)) << workers << " workers";
    }
    EXPECT_THAT(runBatch<std::size_t>({}, slowerForEarlierFiles), ::testing::IsEmpty());
}

TEST(BatchRunnerTest, AStopRequestKeepsTheRowsOfTheFilesAlreadyStarted) {
    const auto files = numberedFiles(200);
    std::stop_source stop;
    const auto rows = runBatch<std::size_t>(
        files, slowerForEarlierFiles,
        {.workers = 3, .stop = stop.get_token(), .progress = [&](std::size_t finished, std::size_t) {
             if (finished == 10) stop.request_stop();
         }});
    // Up to one more file per worker was under way when the tenth finished.
    EXPECT_GE(rows.size(), 10u);
    EXPECT_LE(rows.size(), 13u);
    EXPECT_EQ(rows, firstIndexes(rows.size()));

    std::stop_source before;
    before.request_stop();
    EXPECT_THAT(
        runBatch<std::size_t>(files, slowerForEarlierFiles, {.workers = 2, .stop = before.get_token(), .progress = {}}),
        ::testing::IsEmpty());
}

TEST(BatchRunnerTest, ProgressCountsEveryFileOnceAndInOrder) {
    std::vector<std::size_t> reported;
    std::size_t reportedTotal = 0;
    runBatch<std::size_t>(numberedFiles(50), slowerForEarlierFiles,
                          {.workers = 4, .stop = {}, .progress = [&](std::size_t finished, std::size_t total) {
                               reported.push_back(finished);
                               reportedTotal = total;
                           }});
    EXPECT_EQ(reported.size(), 50u);
    for (std::size_t i = 0; i < reported.size(); ++i) EXPECT_EQ(reported[i], i + 1);
    EXPECT_EQ(reportedTotal, 50u);
}

TEST(BatchRunnerTest, TheFirstFailureStopsTheRunAndIsRethrownAfterTheOthersFinished) {
    std::atomic<int> running = 0;
    std::atomic<int> started = 0;
    const auto work = [&](const fs::path& file) -> std::size_t {
        ++running;
        ++started;
        const auto index = slowerForEarlierFiles(file);
        --running;
        if (index == 5) throw std::runtime_error("file 5 failed");
        return index;
    };
    EXPECT_THROW(
        {
            try {
                runBatch<std::size_t>(numberedFiles(500), work, {.workers = 4, .stop = {}, .progress = {}});
            } catch (const std::runtime_error& error) {
                EXPECT_STREQ(error.what(), "file 5 failed");
                throw;
            }
        },
        std::runtime_error);
    EXPECT_EQ(running.load(), 0);
    EXPECT_LT(started.load(), 500);
}

}  // namespace
}  // namespace velquor::workflow

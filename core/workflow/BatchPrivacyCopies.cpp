#include "core/workflow/BatchPrivacyCopies.h"

#include "core/workflow/PrivacyCopyDestination.h"
#include "core/workflow/PrivacyCopyOutcome.h"
#include "core/workflow/StatusTexts.h"

#include <algorithm>
#include <mutex>
#include <optional>
#include <set>

namespace velquor::workflow {

namespace {

// Copies run side by side, and two of them may be named in the same folder before either is
// published (the same file selected twice, a folder and its subfolder), so each name is spoken
// for from the moment it is chosen.
class DestinationReservations {
public:
    std::filesystem::path reserve(const std::filesystem::path& source) {
        const std::lock_guard lock(mutex_);
        auto destination = uniquePrivacyDestination(
            source, [this](const std::filesystem::path& candidate) { return reserved_.contains(candidate); });
        reserved_.insert(destination);
        return destination;
    }

private:
    std::mutex mutex_;
    std::set<std::filesystem::path> reserved_;
};

void applyOutcome(BatchFileReport& row, const PrivacyCopyOutcome& outcome, BatchCopyResult& result) {
    if (outcome.copy) {
        row.outputURL = outcome.copy;
        row.status = batchCopyRowStatus(*outcome.copy);
        ++result.created;
    } else {
        row.status = outcome.status;
        ++result.failed;
    }
}

}  // namespace

std::size_t privacyCopiesAwaited(std::span<const BatchFileReport> rows) {
    return static_cast<std::size_t>(std::count_if(rows.begin(), rows.end(), awaitsPrivacyCopy));
}

BatchCopyResult exportBatchPrivacyCopies(std::vector<BatchFileReport> rows, const BatchRunOptions& options) {
    std::vector<std::size_t> awaiting;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (awaitsPrivacyCopy(rows[i])) awaiting.push_back(i);
    }
    DestinationReservations reservations;
    std::vector<std::optional<PrivacyCopyOutcome>> outcomes(awaiting.size());
    const auto started = runInParallel(
        awaiting.size(),
        [&](std::size_t k) {
            const auto& source = rows[awaiting[k]].url;
            outcomes[k] = exportPrivacyCopyUnderFreeName(source, reservations.reserve(source),
                                                         [&] { return reservations.reserve(source); });
        },
        options);

    BatchCopyResult result{std::move(rows), 0, 0};
    for (std::size_t k = 0; k < started; ++k) applyOutcome(result.rows[awaiting[k]], *outcomes[k], result);
    return result;
}

}  // namespace velquor::workflow

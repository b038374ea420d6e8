#include "cli/TextScan.h"

#include "cli/TextInput.h"

#include "core/posix/FileDescriptor.h"
#include "core/text/TextSanitizer.h"
#include "core/text/input/TextInputError.h"
#include "core/text/input/TextInputSafety.h"
#include "core/workflow/BatchCollector.h"
#include "core/workflow/BatchRunner.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <system_error>

namespace velquor::cli {

namespace {

// Results are held until their turn to be shown; a slice bounds how many wait at once.
constexpr std::size_t sliceSize = 256;

// O_NOFOLLOW: the walk left symbolic links out, and one swapped in since must not be read
// either. O_NONBLOCK keeps a FIFO swapped in from blocking the open; only regular files are read.
// Nothing for a file known to be over the limit, which is not read at all, and for a symbolic
// link, which a scan skips wherever it is named.
std::optional<std::u16string> readRegularFile(const std::filesystem::path& file) {
    posix::FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    if (!fd.valid() && errno == ELOOP) return std::nullopt;
    if (!fd.valid()) throw std::system_error(errno, std::generic_category(), file.string());
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0) throw std::system_error(errno, std::generic_category(), file.string());
    if (!S_ISREG(status.st_mode)) throw std::system_error(EINVAL, std::generic_category(), file.string());
    if (status.st_size > textInputLimit) return std::nullopt;
    return text::TextInputSafety::readText(fd.get(), textInputLimit);
}

std::optional<std::u16string> textOf(const TextScanInput& input) {
    if (input.bytes) return text::TextInputSafety::decodeText(*input.bytes, textInputLimit);
    if (input.file) return readRegularFile(*input.file);
    return std::nullopt;
}

bool everyFile(const std::filesystem::path&) { return true; }

}  // namespace

TextScanResult scanText(const TextScanInput& input, AttentionScope scope) {
    TextScanResult result;
    result.shownPath = input.shownPath;
    std::optional<std::u16string> text;
    try {
        text = textOf(input);
    } catch (const text::TextInputError&) {
        return result;
    } catch (const std::system_error& error) {
        result.outcome = TextScanResult::Outcome::unreadable;
        result.problem = error.what();
        return result;
    }
    if (!text) return result;
    result.outcome = TextScanResult::Outcome::inspected;
    result.report = restrictedReport(text::TextSanitizer().inspect(*text), scope);
    result.needsAttention = reportNeedsAttention(*result.report);
    return result;
}

void scanTexts(std::span<const TextScanInput> inputs, AttentionScope scope, unsigned workers,
               const std::function<void(const TextScanResult&)>& show, TextScanTotals& totals) {
    workflow::BatchRunOptions runOptions;
    runOptions.workers = workers;
    for (std::size_t start = 0; start < inputs.size(); start += sliceSize) {
        const auto slice = inputs.subspan(start, std::min(sliceSize, inputs.size() - start));
        std::vector<TextScanResult> results(slice.size());
        workflow::runInParallel(
            slice.size(), [&](std::size_t i) { results[i] = scanText(slice[i], scope); }, runOptions);
        for (const auto& result : results) {
            switch (result.outcome) {
                case TextScanResult::Outcome::inspected:
                    ++totals.inspected;
                    if (result.needsAttention) ++totals.needAttention;
                    break;
                case TextScanResult::Outcome::skipped:
                    ++totals.skipped;
                    break;
                case TextScanResult::Outcome::unreadable:
                    ++totals.unreadable;
                    break;
            }
            show(result);
        }
    }
}

std::vector<TextScanInput> folderScanInputs(std::span<const std::filesystem::path> selection) {
    std::vector<TextScanInput> inputs;
    for (auto& file : workflow::selectedFiles(selection, everyFile)) {
        inputs.push_back({.shownPath = file.string(), .file = file, .bytes = std::nullopt});
    }
    return inputs;
}

}  // namespace velquor::cli

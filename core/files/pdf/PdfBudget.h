#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <stdexcept>

namespace velquor::files {

// What one PDF inspection, or one privacy export with the verification of its copy, may cost.
// qpdf has no interrupt callback: the time is checked by the input source every qpdf read goes
// through (so that qpdf's parsing, rebuilding and flattening stop with it), by the writer's
// output, and by our own walks over objects, annotations and revisions. The object count is
// taken from the cross-reference table before anything is walked.
struct PdfBudget {
    static constexpr std::chrono::seconds time{8};
    static constexpr std::size_t objects = 150'000;
    static constexpr std::size_t annotations = 50'000;
    // What the process may grow by while qpdf parses: one array of millions of numbers takes
    // gigabytes once parsed, whatever its object count. The growth is the whole process's, so
    // each PDF at work at the same time (a batch runs one per core) adds this much again.
    static constexpr std::uint64_t memoryGrowth = std::uint64_t{640} << 20;
    // qpdf rebuilds a damaged cross-reference table by reading the whole file, object by object;
    // a larger file whose table is damaged is refused instead.
    static constexpr std::uint64_t rebuiltByteCount = std::uint64_t{16} << 20;
};

// Thrown where a budget runs out. Inspections report it as unreadableFile, exports as exportFailed.
class PdfBudgetExceeded : public std::runtime_error {
public:
    PdfBudgetExceeded() : std::runtime_error("The PDF exceeds its inspection budget.") {}
};

// The budget of one inspection or export, from its start. The checks remember a refusal, so that
// the caller still knows the budget ran out when qpdf or a report step turned the exception
// into another error on its way up.
class PdfWorkBudget {
public:
    explicit PdfWorkBudget(std::chrono::steady_clock::duration time = PdfBudget::time);
    ~PdfWorkBudget();
    PdfWorkBudget(const PdfWorkBudget&) = delete;
    PdfWorkBudget& operator=(const PdfWorkBudget&) = delete;

    // The time, and every so often the memory the process has grown by since the start.
    void checkTimeAndMemory() const;
    void checkObjectCount(std::size_t objects) const;
    void checkAnnotationCount(std::size_t annotations) const;
    // For a damaged file: whether it is small enough for its table to be rebuilt.
    void checkRebuildSize(std::uint64_t byteCount) const;

    bool exceeded() const { return exceeded_ || std::chrono::steady_clock::now() >= end_; }

private:
    [[noreturn]] void refuse() const;

    std::chrono::steady_clock::time_point end_;
    std::uint64_t startingResidentBytes_;
    mutable std::uint32_t checks_ = 0;
    mutable bool exceeded_ = false;
};

}  // namespace velquor::files

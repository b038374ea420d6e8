#include "core/files/pdf/PdfBudget.h"

#include "core/posix/FileDescriptor.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <system_error>

namespace velquor::files {

namespace {

// The process's resident size from /proc/self/statm (its second field, in pages); 0 when it
// cannot be read, which never refuses anything.
std::uint64_t residentBytes() {
    posix::FileDescriptor statm(::open("/proc/self/statm", O_RDONLY | O_CLOEXEC));
    if (!statm.valid()) return 0;
    std::array<char, 128> text{};
    const auto length = ::read(statm.get(), text.data(), text.size() - 1);
    if (length <= 0) return 0;
    const char* begin = text.data();
    const char* end = begin + length;
    const char* field = std::find(begin, end, ' ');
    std::uint64_t pages = 0;
    if (field == end || std::from_chars(field + 1, end, pages).ec != std::errc()) return 0;
    return pages * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
}

// Reads of the file come every 128 bytes while qpdf parses; the memory is looked at every so
// many of them, a few megabytes of parsed objects apart.
constexpr std::uint32_t checksPerMemoryLook = 256;

// The budgets alive in the process: parallel inspections share the one resident size.
std::atomic<std::uint64_t> budgetsAtWork{0};

}  // namespace

PdfWorkBudget::PdfWorkBudget(std::chrono::steady_clock::duration time)
    : end_(std::chrono::steady_clock::now() + time), startingResidentBytes_(residentBytes()) {
    ++budgetsAtWork;
}

PdfWorkBudget::~PdfWorkBudget() { --budgetsAtWork; }

void PdfWorkBudget::checkTimeAndMemory() const {
    if (exceeded()) refuse();
    if (++checks_ % checksPerMemoryLook != 0) return;
    const auto resident = residentBytes();
    const auto allowed = PdfBudget::memoryGrowth * std::max<std::uint64_t>(budgetsAtWork.load(), 1);
    if (resident > startingResidentBytes_ && resident - startingResidentBytes_ > allowed) refuse();
}

void PdfWorkBudget::checkObjectCount(std::size_t objects) const {
    if (objects > PdfBudget::objects) refuse();
}

void PdfWorkBudget::checkAnnotationCount(std::size_t annotations) const {
    if (annotations > PdfBudget::annotations) refuse();
}

void PdfWorkBudget::checkRebuildSize(std::uint64_t byteCount) const {
    if (byteCount > PdfBudget::rebuiltByteCount) refuse();
}

void PdfWorkBudget::refuse() const {
    exceeded_ = true;
    throw PdfBudgetExceeded();
}

}  // namespace velquor::files

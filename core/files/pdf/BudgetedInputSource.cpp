#include "core/files/pdf/BudgetedInputSource.h"

namespace velquor::files {

qpdf_offset_t BudgetedInputSource::findAndSkipNextEOL() {
    budget_.checkTimeAndMemory();
    const auto offset = source_->findAndSkipNextEOL();
    setLastOffset(source_->getLastOffset());
    return offset;
}

void BudgetedInputSource::seek(qpdf_offset_t offset, int whence) {
    budget_.checkTimeAndMemory();
    source_->seek(offset, whence);
}

// qpdf asks the source it was given where the last read started.
size_t BudgetedInputSource::read(char* buffer, size_t length) {
    budget_.checkTimeAndMemory();
    const auto count = source_->read(buffer, length);
    setLastOffset(source_->getLastOffset());
    return count;
}

}  // namespace velquor::files

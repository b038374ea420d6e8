#pragma once

#include "core/files/pdf/PdfBudget.h"
#include "core/files/pdf/QpdfHeaders.h"

#include <memory>
#include <string>

namespace velquor::files {

// The file as qpdf reads it, through a check of the work budget on every read, seek and line
// search: qpdf offers no way to interrupt its parsing or the rebuilding of a damaged
// cross-reference table, but all of it reads through here. The budget must outlive the source.
class BudgetedInputSource final : public InputSource {
public:
    BudgetedInputSource(std::shared_ptr<InputSource> source, const PdfWorkBudget& budget)
        : source_(std::move(source)), budget_(budget) {}

    qpdf_offset_t findAndSkipNextEOL() override;
    std::string const& getName() const override { return source_->getName(); }
    qpdf_offset_t tell() override { return source_->tell(); }
    void seek(qpdf_offset_t offset, int whence) override;
    void rewind() override { source_->rewind(); }
    size_t read(char* buffer, size_t length) override;
    void unreadCh(char ch) override { source_->unreadCh(ch); }

private:
    std::shared_ptr<InputSource> source_;
    const PdfWorkBudget& budget_;
};

}  // namespace velquor::files

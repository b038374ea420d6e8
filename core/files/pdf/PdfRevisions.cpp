#include "core/files/pdf/PdfRevisions.h"

#include "core/files/pdf/QpdfHeaders.h"

#include <cstdio>
#include <set>

namespace velquor::files {

namespace {

// Far more revisions than any editor writes, and a bound on the tokens of the cross-reference
// tables read on the way, so that a file cannot make the walk run long.
constexpr int maximumRevisions = 256;
constexpr std::size_t maximumTableTokens = 4'000'000;

class TrailerReader {
public:
    TrailerReader(QPDF& pdf, std::shared_ptr<InputSource> file) : pdf_(pdf), file_(std::move(file)) {}

    // The trailer dictionary of the revision whose cross-reference section starts at the offset:
    // the dictionary after a table's "trailer", or the dictionary of a cross-reference stream.
    // Null when the bytes there are neither.
    QPDFObjectHandle trailerAt(qpdf_offset_t offset) {
        file_->seek(offset, SEEK_SET);
        QPDFTokenizer tokenizer;
        const auto first = tokenizer.readToken(file_, "revision", true);
        if (first.isWord("xref")) return tableTrailer(tokenizer);
        if (first.isInteger() && tokenizer.readToken(file_, "revision", true).isInteger() &&
            tokenizer.readToken(file_, "revision", true).isWord("obj")) {
            return dictionaryHere(tokenizer);
        }
        return QPDFObjectHandle::newNull();
    }

private:
    // A table holds only numbers and the entry words n and f before its trailer.
    QPDFObjectHandle tableTrailer(QPDFTokenizer& tokenizer) {
        while (tableTokens_ < maximumTableTokens) {
            ++tableTokens_;
            const auto token = tokenizer.readToken(file_, "revision", true);
            if (token.isWord("trailer")) return dictionaryHere(tokenizer);
            if (!token.isInteger() && !token.isWord("n") && !token.isWord("f")) break;
        }
        return QPDFObjectHandle::newNull();
    }

    QPDFObjectHandle dictionaryHere(QPDFTokenizer& tokenizer) {
        bool empty = false;
        auto object = QPDFObjectHandle::parse(file_, "older trailer", tokenizer, empty, nullptr, &pdf_);
        return object.isDictionary() ? object : QPDFObjectHandle::newNull();
    }

    QPDF& pdf_;
    std::shared_ptr<InputSource> file_;
    std::size_t tableTokens_ = 0;
};

bool sameIndirectObject(QPDFObjectHandle a, QPDFObjectHandle b) {
    return a.isIndirect() && b.isIndirect() && a.getObjGen() == b.getObjGen();
}

}  // namespace

std::vector<QPDFObjectHandle> olderInformationDictionaries(QPDF& pdf, const std::shared_ptr<InputSource>& file) {
    std::vector<QPDFObjectHandle> found;
    auto current = pdf.getTrailer().getKey("/Info");
    const auto alreadyKnown = [&](QPDFObjectHandle info) {
        if (sameIndirectObject(info, current)) return true;
        for (const auto& earlier : found) {
            if (sameIndirectObject(info, earlier)) return true;
        }
        return false;
    };
    TrailerReader reader(pdf, file);
    std::set<long long> visited;
    auto previous = pdf.getTrailer().getKey("/Prev");
    for (int revision = 0; revision < maximumRevisions && previous.isInteger(); ++revision) {
        const auto offset = previous.getIntValue();
        if (offset < 0 || !visited.insert(offset).second) break;
        auto trailer = reader.trailerAt(offset);
        if (!trailer.isDictionary()) break;
        auto info = trailer.getKey("/Info");
        if (info.isDictionary() && !alreadyKnown(info)) found.push_back(info);
        previous = trailer.getKey("/Prev");
    }
    return found;
}

}  // namespace velquor::files

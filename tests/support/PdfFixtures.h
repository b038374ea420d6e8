#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velquor::testing {

// PDFs written object by object in PDF syntax, with a correct cross-reference table, so that a
// test controls every byte that matters to it.
class PdfBuilder {
public:
    // Adds an object and returns its number.
    int add(std::string body);
    int addStream(std::string_view dictionaryEntries, std::string_view data);
    void replace(int object, std::string body);

    // Adds a page tree with one page for each element, which holds that page's entries (media
    // box, contents, resources...), and returns the tree's number.
    int addPageTree(const std::vector<std::string>& pageEntries);

    static std::string reference(int object);

    // The whole file: header, objects, cross-reference table and a trailer naming `root`, plus
    // any further trailer entries.
    std::string build(int root, std::string_view trailerEntries = "") const;

private:
    std::vector<std::string> bodies_;
};

struct SamplePdfOptions {
    std::string info = {};                      // information dictionary entries; empty: no dictionary
    std::string xmp = {};                       // XMP packet for the catalog's /Metadata; empty: none
    std::vector<std::string> annotations = {};  // annotation dictionary entries, one page each
    std::string catalogEntries = {};            // further entries of the catalog
    std::string pageText = "Quarterly report";
    int pageCount = 1;
    std::string trailerEntries = {};  // further entries of the trailer
};

// The file with an incremental update appended, as an editor saves one: the objects (number and
// body) added or replacing the file's, a cross-reference section for them, and a trailer with
// `trailerEntries` (/Size and /Root among them) and /Prev naming the file's last section.
std::string withIncrementalUpdate(std::string file, const std::vector<std::pair<int, std::string>>& objects,
                                  std::string_view trailerEntries);

// A document whose pages each show `pageText` in Helvetica; the annotations go on the first
// page. An annotation entry may hold "{AP}", which becomes a reference to a small visible
// appearance stream.
std::string samplePdf(const SamplePdfOptions& options);

// A one-page document with `count` text annotations on its page, each with its own text and
// author.
std::string pdfWithAnnotations(std::size_t count);

// A one-page document and then `fillerObjects` objects that nothing refers to, each with a string
// of `fillerBytes` bytes.
std::string pdfWithFillerObjects(std::size_t fillerObjects, std::size_t fillerBytes = 16);

// A one-page document whose page refers to one array of `numbers` zeros: a few objects, but
// millions of values once parsed.
std::string pdfWithLongArray(std::size_t numbers);

// The same, with its startxref pointing past the end of the file: a reader has to rebuild the
// cross-reference table by scanning every byte, and then finds every object.
std::string pdfWithBrokenCrossReference(std::size_t fillerObjects, std::size_t fillerBytes = 16);

}  // namespace velquor::testing

#include "tests/support/PdfFixtures.h"

#include <cstdio>

namespace velquor::testing {

namespace {

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

}  // namespace

int PdfBuilder::add(std::string body) {
    bodies_.push_back(std::move(body));
    return static_cast<int>(bodies_.size());
}

void PdfBuilder::replace(int object, std::string body) {
    bodies_.at(static_cast<std::size_t>(object - 1)) = std::move(body);
}

std::string PdfBuilder::reference(int object) { return std::to_string(object) + " 0 R"; }

int PdfBuilder::addPageTree(const std::vector<std::string>& pageEntries) {
    const int tree = add("null");  // its kids are numbered below
    std::string kids;
    for (const auto& entries : pageEntries) {
        kids += reference(add("<< /Type /Page /Parent " + reference(tree) + " " + entries + " >>")) + " ";
    }
    replace(tree, "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pageEntries.size()) + " >>");
    return tree;
}

int PdfBuilder::addStream(std::string_view dictionaryEntries, std::string_view data) {
    return add("<< " + std::string(dictionaryEntries) + " /Length " + std::to_string(data.size()) + " >>\nstream\n" +
               std::string(data) + "\nendstream");
}

std::string PdfBuilder::build(int root, std::string_view trailerEntries) const {
    std::string file = "%PDF-1.7\n%\xE2\xE3\xCF\xD3\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < bodies_.size(); ++i) {
        offsets.push_back(file.size());
        file += std::to_string(i + 1) + " 0 obj\n" + bodies_[i] + "\nendobj\n";
    }
    const auto xref = file.size();
    file += "xref\n0 " + std::to_string(bodies_.size() + 1) + "\n0000000000 65535 f \n";
    for (const auto offset : offsets) {
        char line[21];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
        file += line;
    }
    file += "trailer\n<< /Size " + std::to_string(bodies_.size() + 1) + " /Root " + reference(root) + " " +
            std::string(trailerEntries) + " >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return file;
}

std::string samplePdf(const SamplePdfOptions& options) {
    PdfBuilder pdf;
    const int font = pdf.add("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
    const int appearance =
        pdf.addStream("/Type /XObject /Subtype /Form /BBox [0 0 100 20]", "0 0 1 rg 0 0 100 20 re f");
    std::string annotationRefs;
    for (auto entries : options.annotations) {
        replaceAll(entries, "{AP}", "<< /N " + PdfBuilder::reference(appearance) + " >>");
        annotationRefs += PdfBuilder::reference(pdf.add("<< /Type /Annot " + entries + " >>")) + " ";
    }
    const int content = pdf.addStream("", "BT /F1 24 Tf 72 700 Td (" + options.pageText + ") Tj ET");
    std::vector<std::string> pages;
    for (int i = 0; i < options.pageCount; ++i) {
        std::string page = "/MediaBox [0 0 612 792] /Contents " + PdfBuilder::reference(content) +
                           " /Resources << /Font << /F1 " + PdfBuilder::reference(font) + " >> >>";
        if (i == 0 && !annotationRefs.empty()) page += " /Annots [" + annotationRefs + "]";
        pages.push_back(page);
    }
    const int tree = pdf.addPageTree(pages);
    std::string catalog = "<< /Type /Catalog /Pages " + PdfBuilder::reference(tree) + " " + options.catalogEntries;
    if (!options.xmp.empty()) {
        catalog += " /Metadata " + PdfBuilder::reference(pdf.addStream("/Type /Metadata /Subtype /XML", options.xmp));
    }
    const int root = pdf.add(catalog + " >>");
    std::string trailer = options.trailerEntries;
    if (!options.info.empty()) trailer += " /Info " + PdfBuilder::reference(pdf.add("<< " + options.info + " >>"));
    return pdf.build(root, trailer);
}

std::string withIncrementalUpdate(std::string file, const std::vector<std::pair<int, std::string>>& objects,
                                  std::string_view trailerEntries) {
    const auto previous = std::stoul(file.substr(file.rfind("startxref") + 9));
    std::string table = "xref\n";
    for (const auto& [number, body] : objects) {
        char line[21];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", file.size());
        table += std::to_string(number) + " 1\n" + line;
        file += std::to_string(number) + " 0 obj\n" + body + "\nendobj\n";
    }
    const auto xref = file.size();
    file += table + "trailer\n<< " + std::string(trailerEntries) + " /Prev " + std::to_string(previous) +
            " >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return file;
}

std::string pdfWithAnnotations(std::size_t count) {
    PdfBuilder pdf;
    const int tree = pdf.add("null");
    const int page = pdf.add("null");
    std::string annotations;
    annotations.reserve(count * 12);
    for (std::size_t i = 0; i < count; ++i) {
        const auto n = std::to_string(i);
        annotations +=
            PdfBuilder::reference(pdf.add("<< /Type /Annot /Subtype /Text /Rect [10 10 20 20] /Contents (Note " + n +
                                          ") /T (Reviewer " + n + ") >>")) +
            " ";
    }
    pdf.replace(page, "<< /Type /Page /Parent " + PdfBuilder::reference(tree) + " /MediaBox [0 0 612 792] /Annots [" +
                          annotations + "] >>");
    pdf.replace(tree, "<< /Type /Pages /Kids [" + PdfBuilder::reference(page) + "] /Count 1 >>");
    return pdf.build(pdf.add("<< /Type /Catalog /Pages " + PdfBuilder::reference(tree) + " >>"));
}

std::string pdfWithFillerObjects(std::size_t fillerObjects, std::size_t fillerBytes) {
    PdfBuilder pdf;
    const int tree = pdf.addPageTree({"/MediaBox [0 0 612 792]"});
    const int root = pdf.add("<< /Type /Catalog /Pages " + PdfBuilder::reference(tree) + " >>");
    const std::string data(fillerBytes, 'x');
    for (std::size_t i = 0; i < fillerObjects; ++i) {
        pdf.add("<< /Kind /Filler /Index " + std::to_string(i) + " /Data (" + data + ") >>");
    }
    return pdf.build(root);
}

std::string pdfWithLongArray(std::size_t numbers) {
    PdfBuilder pdf;
    std::string array = "[";
    array.reserve(2 * numbers + 2);
    for (std::size_t i = 0; i < numbers; ++i) array += "0 ";
    const int values = pdf.add(array + "]");
    const int tree = pdf.addPageTree({"/MediaBox [0 0 612 792] /Values " + PdfBuilder::reference(values)});
    return pdf.build(pdf.add("<< /Type /Catalog /Pages " + PdfBuilder::reference(tree) + " >>"));
}

std::string pdfWithBrokenCrossReference(std::size_t fillerObjects, std::size_t fillerBytes) {
    auto file = pdfWithFillerObjects(fillerObjects, fillerBytes);
    const auto startxref = file.rfind("startxref\n") + 10;
    file.replace(startxref, file.find('\n', startxref) - startxref, std::to_string(file.size() * 2));
    return file;
}

}  // namespace velquor::testing

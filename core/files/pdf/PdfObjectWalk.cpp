#include "core/files/pdf/PdfObjectWalk.h"

#include <vector>

namespace velquor::files {

namespace {

bool isNestedContainer(QPDFObjectHandle object) {
    return !object.isIndirect() && (object.isArray() || object.isDictionary());
}

void forEachDictionaryIn(QPDFObjectHandle object, const std::function<void(QPDFObjectHandle)>& visit) {
    std::vector<QPDFObjectHandle> pending{object.isStream() ? object.getDict() : object};
    while (!pending.empty()) {
        auto current = pending.back();
        pending.pop_back();
        if (current.isArray()) {
            for (auto& item : current.getArrayAsVector()) {
                if (isNestedContainer(item)) pending.push_back(item);
            }
        } else if (current.isDictionary()) {
            visit(current);
            for (auto& [key, value] : current.getDictAsMap()) {
                if (isNestedContainer(value)) pending.push_back(value);
            }
        }
    }
}

}  // namespace

void forEachDictionary(QPDF& pdf, const PdfWorkBudget& budget,
                       const std::function<void(QPDFObjectHandle dictionary)>& visit) {
    forEachDictionaryIn(pdf.getTrailer(), visit);
    for (auto& object : pdf.getAllObjects()) {
        budget.checkTimeAndMemory();
        forEachDictionaryIn(object, visit);
    }
}

}  // namespace velquor::files

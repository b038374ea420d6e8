#pragma once

// Every qpdf header this code needs, included in one place. clang (14 to 16, with libstdc++ 12 in
// C++20) instantiates std::vector<JSON>'s constexpr destructor inside qpdf's JSON.hh, where JSON
// is still incomplete, and rejects the header; GCC does not. Declaring that destructor as an
// explicit specialization first, and defining it once JSON is complete, lets clang (and so the
// fuzz targets, which need clang) build the PDF code unchanged.
#if defined(__clang__)
#include <memory>
#include <vector>

class JSON;
template <>
constexpr std::vector<JSON, std::allocator<JSON>>::~vector() noexcept;
#endif

#include <qpdf/Buffer.hh>
#include <qpdf/BufferInputSource.hh>
#include <qpdf/FileInputSource.hh>
#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFAcroFormDocumentHelper.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFTokenizer.hh>
#include <qpdf/QPDFWriter.hh>

#if defined(__clang__)
// The elements are destroyed here; the storage is released by the base class's destructor.
template <>
constexpr std::vector<JSON, std::allocator<JSON>>::~vector() noexcept {
    std::destroy(begin(), end());
}
#endif

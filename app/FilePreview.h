#pragma once

#include <QImage>
#include <QSize>

#include <filesystem>

namespace velquor::app {

// Previews fit in this box: twice the largest panel the window shows, so that they stay sharp
// on a high-density screen.
inline constexpr QSize previewBox{1024, 1024};

// No picture is decoded whose full size would take more than this many megabytes (64 megapixels
// of four bytes), whatever the scale: a header can declare any size, and some decoders hold the
// whole picture, or a buffer as large, before they scale it down. Qt's image reader checks every
// image against it before allocating. Qt's own default is half of it, which leaves the photos of
// today's cameras without a preview even though scaled decoding reads them in a few megabytes.
inline constexpr int previewAllocationLimitMegabytes = 256;

// Sets the image reader's allocation limit, which is the whole process's, to the previews' limit,
// the first time it is called. The model calls it when it is made, on the main thread, before
// any preview is decoded.
void limitPreviewAllocations();

// The picture of a JPEG, PNG, GIF, WebP or TIFF file, scaled while decoding to fit `box` and
// turned upright by its orientation. A null image when the path is not a regular file, its
// content is no such format (what a file is comes from its bytes, never its name), its header
// declares no size, its full size is past the allocation limit, or decoding fails. Safe on any
// thread.
QImage decodePreview(const std::filesystem::path& file, QSize box = previewBox);

}  // namespace velquor::app

#pragma once

#include "core/files/FileBytes.h"

#include <functional>
#include <vector>

namespace velquor::files {

struct GifBlock {
    enum class Kind {
        image,           // descriptor, local colour table and compressed data
        graphicControl,  // delay, disposal and transparency of the next image
        loop,            // NETSCAPE2.0 or ANIMEXTS1.0
        colourProfile,   // ICCRGBG1
        xmp,             // XMP DataXMP
        comment,
        otherExtension,  // plain text, other applications, unknown labels
    };
    Kind kind;
    std::size_t begin;  // the introducer byte
    std::size_t end;    // after the block terminator
};

// The offset past the signature, the screen descriptor and the global colour table; 0 when
// those do not fit.
std::size_t gifHeaderEnd(ByteView data);

// How a walk over a GIF's blocks went. `headerEnd` is gifHeaderEnd (0: nothing was walked). The
// walk ends at
// the trailer (`complete`), at the end of the data or an unknown byte where a block should start,
// at a block that does not fit (`damaged`), or where the visitor asked it to stop.
struct GifWalk {
    std::size_t headerEnd = 0;
    bool complete = false;
    bool damaged = false;
};

// Hands each block to the visitor in file order, holding none of them, so that an animation of
// millions of frames costs no more memory than one; the visitor returns false to stop.
GifWalk walkGifBlocks(ByteView data, const std::function<bool(const GifBlock&)>& visit);

// The number of images, counted to the end of the data however many there are.
std::size_t gifImageCount(ByteView data);

// The payloads of the sub-blocks from `begin` up to the terminator, concatenated.
std::vector<std::uint8_t> gifSubBlockData(ByteView data, std::size_t begin);

// The offset of the block's first data sub-block after the extension introducer and label, and
// after the 11-byte identifier for application extensions.
std::size_t gifExtensionDataStart(const GifBlock& block, ByteView data);

}  // namespace velquor::files

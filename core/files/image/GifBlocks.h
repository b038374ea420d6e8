#pragma once

#include "core/files/FileBytes.h"

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

// A GIF split into its blocks. `headerEnd` is past the signature, the screen descriptor and the
// global colour table (0 when those do not fit). The walk ends at the trailer (`complete`), at
// the end of the data or an unknown byte where a block should start, or at a block that does not
// fit (`damaged`).
struct GifStructure {
    std::size_t headerEnd = 0;
    std::vector<GifBlock> blocks;
    bool complete = false;
    bool damaged = false;
};

GifStructure readGifStructure(ByteView data);

// The payloads of the sub-blocks from `begin` up to the terminator, concatenated.
std::vector<std::uint8_t> gifSubBlockData(ByteView data, std::size_t begin);

// The offset of the block's first data sub-block after the extension introducer and label, and
// after the 11-byte identifier for application extensions.
std::size_t gifExtensionDataStart(const GifBlock& block, ByteView data);

}  // namespace velquor::files

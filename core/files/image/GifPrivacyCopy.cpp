#include "core/files/image/ImagePrivacyCopy.h"

#include "core/files/image/GifBlocks.h"

#include <optional>

namespace velquor::files {

namespace {

// The loop count in its standard form, whatever form the source used.
void appendLoopExtension(std::vector<std::uint8_t>& out, ByteView source, const GifBlock& block) {
    const auto loop = gifSubBlockData(source, gifExtensionDataStart(block, source));
    if (loop.size() < 3 || loop[0] != 1) return;
    appendBytes(out, std::string_view("\x21\xFF\x0BNETSCAPE2.0\x03\x01", 16));
    out.push_back(loop[1]);
    out.push_back(loop[2]);
    out.push_back(0);
}

}  // namespace

// Written block by block as the walk meets them, so that a long animation is never held twice.
std::vector<std::uint8_t> gifPrivacyCopy(ByteView source) {
    const std::size_t headerEnd = gifHeaderEnd(source);
    if (headerEnd == 0) throwExportFailed();
    std::vector<std::uint8_t> out(source.begin(), source.begin() + static_cast<std::ptrdiff_t>(headerEnd));
    bool hasImage = false;
    // A graphic control block belongs to the next graphic: written with its image, dropped with
    // a plain-text graphic, so that no delay moves to another frame.
    std::optional<GifBlock> pendingControl;
    const auto wholeBlock = [&](const GifBlock& block) { return source.subspan(block.begin, block.end - block.begin); };
    const auto walk = walkGifBlocks(source, [&](const GifBlock& block) {
        switch (block.kind) {
            case GifBlock::Kind::graphicControl:
                pendingControl = block;
                break;
            case GifBlock::Kind::image:
                if (pendingControl) appendBytes(out, wholeBlock(*pendingControl));
                appendBytes(out, wholeBlock(block));
                pendingControl.reset();
                hasImage = true;
                break;
            case GifBlock::Kind::colourProfile:
                appendBytes(out, wholeBlock(block));
                break;
            case GifBlock::Kind::loop:
                appendLoopExtension(out, source, block);
                break;
            case GifBlock::Kind::otherExtension:
                if (source[block.begin + 1] == 0x01) pendingControl.reset();
                break;
            case GifBlock::Kind::xmp:
            case GifBlock::Kind::comment:
                break;
        }
        return true;
    });
    if (walk.damaged || !hasImage) throwExportFailed();
    out.push_back(0x3B);
    return out;
}

}  // namespace velquor::files

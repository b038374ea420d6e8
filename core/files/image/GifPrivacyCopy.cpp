#include "core/files/image/ImagePrivacyCopy.h"

#include "core/files/image/GifBlocks.h"

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

std::vector<std::uint8_t> gifPrivacyCopy(ByteView source) {
    const auto structure = readGifStructure(source);
    if (structure.headerEnd == 0 || structure.damaged) throwExportFailed();
    std::vector<std::uint8_t> out(source.begin(), source.begin() + static_cast<std::ptrdiff_t>(structure.headerEnd));
    bool hasImage = false;
    // A graphic control block belongs to the next graphic: written with its image, dropped with
    // a plain-text graphic, so that no delay moves to another frame.
    const GifBlock* pendingControl = nullptr;
    const auto wholeBlock = [&](const GifBlock& block) { return source.subspan(block.begin, block.end - block.begin); };
    for (const auto& block : structure.blocks) {
        switch (block.kind) {
            case GifBlock::Kind::graphicControl:
                pendingControl = &block;
                break;
            case GifBlock::Kind::image:
                if (pendingControl != nullptr) appendBytes(out, wholeBlock(*pendingControl));
                appendBytes(out, wholeBlock(block));
                pendingControl = nullptr;
                hasImage = true;
                break;
            case GifBlock::Kind::colourProfile:
                appendBytes(out, wholeBlock(block));
                break;
            case GifBlock::Kind::loop:
                appendLoopExtension(out, source, block);
                break;
            case GifBlock::Kind::otherExtension:
                if (source[block.begin + 1] == 0x01) pendingControl = nullptr;
                break;
            case GifBlock::Kind::xmp:
            case GifBlock::Kind::comment:
                break;
        }
    }
    if (!hasImage) throwExportFailed();
    out.push_back(0x3B);
    return out;
}

}  // namespace velquor::files

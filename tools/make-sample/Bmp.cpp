#include "make-sample/Bmp.h"

#include "make-sample/LittleEndian.h"

namespace orv {

std::string encodeBmp(const Raster& picture) {
    const auto width = static_cast<std::uint32_t>(picture.width);
    const auto height = static_cast<std::uint32_t>(picture.height);
    const std::uint32_t rowBytes = (width * 3 + 3) / 4 * 4; // rows are padded to 4 bytes
    const std::uint32_t imageBytes = rowBytes * height;
    std::string out;
    out += "BM";
    put32(out, 14 + 40 + imageBytes);
    put32(out, 0);
    put32(out, 14 + 40);
    put32(out, 40); // BITMAPINFOHEADER
    put32(out, width);
    put32(out, height); // positive: rows stored bottom-up
    put16(out, 1);
    put16(out, 24);
    put32(out, 0); // BI_RGB
    put32(out, imageBytes);
    put32(out, 2835); // 72 dpi
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = picture.height - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width; ++x) {
            const Rgb& p = picture.at(x, y);
            out += static_cast<char>(p.b);
            out += static_cast<char>(p.g);
            out += static_cast<char>(p.r);
        }
        out.append(rowBytes - width * 3, '\0');
    }
    return out;
}

} // namespace orv

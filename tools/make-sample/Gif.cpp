#include "make-sample/Gif.h"

#include "make-sample/LittleEndian.h"

#include <algorithm>
#include <stdexcept>

namespace orv {
namespace {

constexpr int kColourBits = 4;                // 16 colours
constexpr unsigned kClear = 1u << kColourBits; // 16
constexpr unsigned kEnd = kClear + 1;         // 17
constexpr int kCodeWidth = kColourBits + 1;   // 5 bits
// Every pixel is sent as its own code and the decoder's table is reset before
// it grows past 5-bit codes (first free code 18, width grows at 32), so no
// compression logic is needed and every decoder reads the same pixels.
constexpr int kPixelsPerClear = 12;

class BitWriter {
public:
    void put(unsigned code, int width) {
        for (int i = 0; i < width; ++i) {
            if ((code >> i) & 1u)
                current_ |= static_cast<std::uint8_t>(1u << used_);
            if (++used_ == 8)
                flush();
        }
    }
    std::string finish() {
        if (used_ > 0)
            flush();
        return std::move(bytes_);
    }

private:
    void flush() {
        bytes_ += static_cast<char>(current_);
        current_ = 0;
        used_ = 0;
    }
    std::string bytes_;
    std::uint8_t current_ = 0;
    int used_ = 0;
};

} // namespace

std::string encodeGif(const IndexedImage& picture) {
    if (picture.palette.size() != (1u << kColourBits))
        throw std::invalid_argument("a GIF palette here has exactly 16 colours");
    std::string out = "GIF89a";
    put16(out, static_cast<unsigned>(picture.width));
    put16(out, static_cast<unsigned>(picture.height));
    out += static_cast<char>(0x80 | ((kColourBits - 1) << 4) | (kColourBits - 1)); // global palette
    out += '\0'; // background colour index
    out += '\0'; // pixel aspect ratio
    for (const Rgb& c : picture.palette) {
        out += static_cast<char>(c.r);
        out += static_cast<char>(c.g);
        out += static_cast<char>(c.b);
    }
    if (picture.transparentIndex >= 0) {
        const char control[] = {'\x21', '\xF9', '\x04', '\x01', '\0', '\0',
                                static_cast<char>(picture.transparentIndex), '\0'};
        out.append(control, sizeof control);
    }
    out += '\x2C';
    put16(out, 0);
    put16(out, 0);
    put16(out, static_cast<unsigned>(picture.width));
    put16(out, static_cast<unsigned>(picture.height));
    out += '\0'; // no local palette, not interlaced

    BitWriter bits;
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        if (i % kPixelsPerClear == 0)
            bits.put(kClear, kCodeWidth);
        const unsigned index = picture.pixels[i];
        if (index >= kClear)
            throw std::invalid_argument("a GIF pixel names a colour outside the palette");
        bits.put(index, kCodeWidth);
    }
    bits.put(kEnd, kCodeWidth);
    const std::string data = bits.finish();

    out += static_cast<char>(kColourBits); // LZW minimum code size
    for (std::size_t pos = 0; pos < data.size(); pos += 255) {
        const std::size_t n = std::min<std::size_t>(255, data.size() - pos);
        out += static_cast<char>(n);
        out.append(data, pos, n);
    }
    out += '\0';
    out += '\x3B';
    return out;
}

} // namespace orv

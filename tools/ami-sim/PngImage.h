// PngImage: encodes an 8-bit RGB image as a PNG file image (zlib-compressed,
// no filtering), and base64 for embedding it in an SVG or HTML page.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace amisim {

// rgb: width * height * 3 bytes, rows top to bottom. Returns the PNG bytes,
// or an empty string when the sizes do not match or compression fails.
std::string EncodePng(int width, int height, const std::vector<std::uint8_t>& rgb);

std::string Base64(const std::string& bytes);

}  // namespace amisim

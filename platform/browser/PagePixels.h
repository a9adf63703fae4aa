#pragma once

// Conversion of the page's snapshot (cairo's premultiplied BGRA, 32 bits a
// pixel in native byte order, rows top first) into the page texture's RGBA
// rows, bottom row first. The page is opaque: alpha becomes 255 and the
// colours stay as premultiplied, i.e. the page over black.

#include <cstddef>
#include <cstdint>
#include <vector>

// Converts width x height pixels of the source (stride bytes a row) into
// out, which grows to width x height x 4 bytes and never shrinks.
void convertBgraToRgbaFlipped(const uint8_t* source, int width, int height, int stride,
                              std::vector<uint8_t>& out);

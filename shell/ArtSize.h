#pragma once

// The pixel size of an image of the data folder as the window shows it:
// its "-hd" twin's size when there is one, else twice the image's own.

#include <string>

struct ArtSize {
    int width = 0;
    int height = 0;
};

// 0 x 0 for a missing or unreadable image (the PNG header is all it reads).
ArtSize artPixelSize(const std::string& relativePath);

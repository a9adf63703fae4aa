#pragma once

// Paths of the art: the "_Color" companion of an image (the layer tinted
// with the player's colour) and the two cuts of a path at its last '.'.

#include <string>

// The companion's path: "-hd." becomes "_Color-hd.png", else "-iPad."
// becomes "_Color-iPad.png", else the last "." becomes "_Color.png"; a
// leading "data/" stays. True when that file can be read (resolved through
// the engine's resource root, "data/" taken off first); false, with the
// path still set, when not, and false for a path without any '.'.
bool findColorImagePath(const std::string& imagePath, std::string& colourPath);

// Keeps the part before the last '.' (unchanged without one).
void removePathExtension(std::string& path);
// Keeps the part after the last '.', the extension without the dot
// (unchanged without one).
void keepPathExtension(std::string& path);

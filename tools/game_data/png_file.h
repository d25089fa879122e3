// Writing a canvas as an 8-bit RGB PNG file, and reading one back.
#pragma once

#include <string>

#include "canvas.h"

// false (with a message on standard error) when the file could not be written.
bool WritePngFile(const std::string& path, const Canvas& canvas);
// Reads any PNG file as 8-bit RGBA; false when it cannot be read.
bool ReadPngFile(const std::string& path, Canvas& canvas);

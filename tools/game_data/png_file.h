// Writing a canvas as an 8-bit RGB PNG file.
#pragma once

#include <string>

#include "canvas.h"

// false (with a message on standard error) when the file could not be written.
bool WritePngFile(const std::string& path, const Canvas& canvas);

// Uncompressed BMP files of test images, byte for byte: 32-bit pixels with their
// fourth byte kept, RGB565 pixels with their bit-field masks. Golden pictures are
// compared as whole files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/memimg.h"

std::vector<std::uint8_t> EncodeBmp(const MEMIMG& img);
bool ReadFileBytes(const std::string& path, std::vector<std::uint8_t>* bytes);
bool WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

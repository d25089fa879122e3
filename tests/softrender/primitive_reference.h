// Per-pixel expectations for the primitive kernels (triangles, quadrilaterals,
// rotated images, fills, lines), built on the plain pixel reference of
// reference_blend.h, and the plain quarter turns of a picture for golden images.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <utility>

#include "soft_test_images.h"

// The mode the primitive kernels run for the state: mode 1 at 255 runs as 0; -1
// for nothing drawn (modes outside 0..4, modes 1-3 at parameter 0).
int RefPrimitiveMode(const SoftDrawState& state);

// The new value of destination pixel d when it shows texel (sx, sy) of src (read
// through the blend graph when given), or nothing when the pixel is left alone.
std::optional<std::uint32_t> RefTexelOver(const TestImage& src, const TestImage* graph, int sx, int sy,
                                          std::uint32_t d, const SoftDrawState& state, int transparent);

// The new value of destination pixel d of the given kind under a fill or line of
// colour, or nothing when the pixel is left alone.
std::optional<std::uint32_t> RefColourOver(int kind, std::uint32_t colour, std::uint32_t d,
                                           const SoftDrawState& state);

// Where texel (sx, sy) of a width x height picture lies in the plain picture
// turned by quarterTurns quarter turns clockwise, mirrored left to right first when
// mirror is set.
void TurnTexel(int width, int height, int quarterTurns, bool mirror, int sx, int sy, int* tx, int* ty);

// A source image of random pixels of the given kind and form (0 direct, 1 alpha,
// 2 palette) whose transparent colour occurs among them.
std::unique_ptr<TestImage> RandomSource(std::mt19937& rng, int width, int height, int kind, int form);

// A 32-bit source whose pixel (x, y) holds y x 256 + x + 1, so that a drawn pixel
// names its texel (0 never occurs).
std::unique_ptr<TestImage> NumberedSource(int width, int height);

// Counting draws: a 32-bit source whose every texel is 1 (blue 1), drawn with
// mode 2 at 255 (kCounting) onto black, leaves in each pixel's blue the number of
// times the pixel was drawn. Counts lists the drawn pixels with their counts.
using Pixel = std::pair<int, int>;
extern const SoftDrawState kCounting;
std::unique_ptr<TestImage> CountingSource(int width, int height);
std::map<Pixel, int> Counts(const TestImage& canvas);

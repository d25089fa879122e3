#include "softrender/clip_rect.h"

#include <algorithm>

int ClipRectangleBody(RECT* r, const RECT* clip) {
  if (r->right < r->left) r->right = r->left;
  if (r->bottom < r->top) r->bottom = r->top;
  r->top = std::clamp(r->top, clip->top, std::max(clip->top, clip->bottom));
  r->bottom = std::clamp(r->bottom, clip->top, std::max(clip->top, clip->bottom));
  r->left = std::clamp(r->left, clip->left, std::max(clip->left, clip->right));
  r->right = std::clamp(r->right, clip->left, std::max(clip->left, clip->right));
  return 0;
}

bool ClipDrawRect(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height, const RECT& clip,
                  int boundWidth, int boundHeight, RECT* out) {
  const std::int64_t left = std::max({x, std::int64_t{clip.left}, std::int64_t{0}});
  const std::int64_t top = std::max({y, std::int64_t{clip.top}, std::int64_t{0}});
  const std::int64_t right = std::min({x + width, std::int64_t{clip.right}, std::int64_t{boundWidth}});
  const std::int64_t bottom = std::min({y + height, std::int64_t{clip.bottom}, std::int64_t{boundHeight}});
  if (left >= right || top >= bottom) return false;
  out->left = static_cast<LONG>(left);
  out->top = static_cast<LONG>(top);
  out->right = static_cast<LONG>(right);
  out->bottom = static_cast<LONG>(bottom);
  return true;
}

// Blt, BltFast and Flip of the CPU surfaces.
#include <algorithm>
#include <vector>

#include "ddraw/blit_kernels.h"
#include "ddraw/clipper.h"
#include "ddraw/direct_draw_object.h"
#include "ddraw/display_mode.h"
#include "ddraw/failure_injection.h"
#include "ddraw/rect_math.h"
#include "ddraw/surface.h"
#include "ddraw/vertical_blank.h"
#include "workers/tile_frame.h"

namespace {

constexpr DWORD kBltFlags = DDBLT_COLORFILL | DDBLT_DEPTHFILL | DDBLT_WAIT;
constexpr DWORD kBltFastFlags = DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT;

PixelRows RowsAt(DirectDrawSurface& surface, LONG x, LONG y) {
  return {surface.Bits() + static_cast<std::ptrdiff_t>(y) * surface.Pitch() +
              static_cast<std::ptrdiff_t>(x) * surface.Layout().bytes,
          surface.Pitch()};
}

// The pixels a copy reads: the source area itself, or a private copy of it when source
// and destination are one surface (so the copy never reads what it already wrote).
class SourcePixels {
 public:
  SourcePixels(DirectDrawSurface& source, const RECT& area, bool copyFirst) {
    PixelRows rows = RowsAt(source, area.left, area.top);
    rows_ = {rows.bits, rows.pitch};
    if (!copyFirst) return;
    DWORD bytes = source.Layout().bytes;
    LONG pitch = RectWidth(area) * static_cast<LONG>(bytes);
    copy_.resize(static_cast<std::size_t>(pitch) * RectHeight(area));
    CopyPixels({copy_.data(), pitch}, rows_, bytes, RectWidth(area), RectHeight(area));
    rows_ = {copy_.data(), pitch};
  }
  ConstPixelRows Rows() const { return rows_; }

 private:
  std::vector<BYTE> copy_;
  ConstPixelRows rows_;
};

// Row work on pixels the tile frame knows as `pixels` (a surface of width x height):
// when the frame is drawn in tiles it is recorded, each band's rows done after that
// band's draws, by whichever thread holds the band; else everything recorded is drawn
// and the work done at once. work(first, end) does rows [first, end) of [top, bottom).
template <typename Work>
void WorkInBands(const void* pixels, DWORD width, DWORD height, LONG top, LONG bottom, const Work& work) {
  if (!TiledDrawing()) {
    FlushTileFrame();
    work(top, bottom);
    return;
  }
  UseDrawTarget(pixels, static_cast<int>(width), static_cast<int>(height));
  RecordDraw(RECT{0, top, static_cast<LONG>(width), bottom}, [work, top, bottom](const DrawTile& tile) {
    const LONG first = std::max(top, tile.area.top), end = std::min(bottom, tile.area.bottom);
    if (first < end) work(first, end);
  });
}

// The rows of `rows` (PixelRows or ConstPixelRows) from row `first` on, where `rows`
// starts at row `top`.
template <typename Rows>
Rows RowsFrom(Rows rows, LONG top, LONG first) {
  return {rows.bits + static_cast<std::ptrdiff_t>(first - top) * rows.pitch, rows.pitch};
}

}  // namespace

// A Z surface is drawn together with the surface it is attached to: its fills go with
// that surface's draws.
const DirectDrawSurface& DirectDrawSurface::DrawnWith() const {
  if (zOwner_ != nullptr && zOwner_->shape_.width == shape_.width && zOwner_->shape_.height == shape_.height) {
    return *zOwner_;
  }
  return *this;
}

RECT DirectDrawSurface::ClipRegion() const {
  RECT bounds = Bounds();
  if (clipper_ == nullptr || !IsPrimary() || clipper_->Window() == nullptr || Owner() == nullptr) {
    return bounds;
  }
  if (GetFullScreenWindow(Owner()) == clipper_->Window()) return bounds;
  return IntersectRects(bounds, GetWindowClientArea(clipper_->Window()));
}

HRESULT DirectDrawSurface::Blt(LPRECT destinationRect, IDirectDrawSurface7* source, LPRECT sourceRect,
                               DWORD flags, DDBLTFX* effects) {
  if (IsDead()) return DeadUse();
  DirectDrawSurface* from = AsSurface(source);
  if (from != nullptr && from->IsDead()) return DeadUse();
  if (flags & ~kBltFlags) return DDERR_UNSUPPORTED;
  if (HRESULT failure = InjectedFailure(DDrawTestCall::Blt, shape_.caps); failure != DD_OK) return failure;
  if (HRESULT notReady = CheckReady(); notReady != DD_OK) return notReady;

  RECT destination = destinationRect != nullptr ? *destinationRect : Bounds();
  if (IsEmptyRect(destination)) return DDERR_INVALIDRECT;
  if (clipper_ == nullptr && !RectInside(destination, Bounds())) return DDERR_INVALIDRECT;
  RECT clipped = IntersectRects(destination, ClipRegion());

  if (flags & (DDBLT_COLORFILL | DDBLT_DEPTHFILL)) {
    bool depth = (flags & DDBLT_DEPTHFILL) != 0;
    if ((flags & DDBLT_COLORFILL) && depth) return DDERR_INVALIDPARAMS;
    if (effects == nullptr || effects->dwSize != sizeof(DDBLTFX)) return DDERR_INVALIDPARAMS;
    if (depth != (shape_.kind == DDrawPixelKind::Z16)) return DDERR_INVALIDPARAMS;
    if (IsEmptyRect(clipped)) return DD_OK;
    const DWORD bytes = Layout().bytes;
    const DWORD value = bytes == 2 ? (effects->dwFillColor & 0xFFFF) : effects->dwFillColor;
    const PixelRows rows = RowsAt(*this, clipped.left, clipped.top);
    const int width = RectWidth(clipped);
    const auto fill = [rows, top = clipped.top, bytes, width, value](LONG first, LONG end) {
      FillPixels(RowsFrom(rows, top, first), bytes, width, end - first, value);
    };
    // What the primary shows is written at once.
    if (IsPrimary()) {
      FlushTileFrame();
      fill(clipped.top, clipped.bottom);
    } else {
      const DirectDrawSurface& drawn = DrawnWith();
      WorkInBands(drawn.store_.bytes.get(), shape_.width, shape_.height, clipped.top, clipped.bottom, fill);
    }
    Written(clipped);
    return DD_OK;
  }

  if (from == nullptr) return DDERR_INVALIDPARAMS;
  if (from != this) {
    if (HRESULT notReady = from->CheckReady(); notReady != DD_OK) return notReady;
  }
  RECT sourceArea = sourceRect != nullptr ? *sourceRect : from->Bounds();
  if (IsEmptyRect(sourceArea) || !RectInside(sourceArea, from->Bounds())) return DDERR_INVALIDRECT;
  if (from->shape_.kind != shape_.kind) return DDERR_INVALIDPIXELFORMAT;
  if (IsEmptyRect(clipped)) return DD_OK;

  const DWORD bytes = Layout().bytes;
  const PixelRows out = RowsAt(*this, clipped.left, clipped.top);
  const StretchArea area{RectWidth(destination), RectHeight(destination), RectWidth(sourceArea),
                         RectHeight(sourceArea), clipped.left - destination.left, clipped.top - destination.top,
                         RectWidth(clipped), RectHeight(clipped)};
  if (IsPrimary() && from != this && area.destinationWidth == area.sourceWidth &&
      area.destinationHeight == area.sourceHeight) {
    // A frame shown as it lies: each band of it is copied after its draws. No draw reads
    // the primary, so the bands may be copied in any order.
    const LONG top = sourceArea.top + area.firstRow;
    const ConstPixelRows in{RowsAt(*from, sourceArea.left + area.firstColumn, top).bits, from->Pitch()};
    const int width = area.width;
    WorkInBands(from->Bits(), from->shape_.width, from->shape_.height, top, top + area.height,
                [in, out, top, bytes, width](LONG first, LONG end) {
                  CopyPixels(RowsFrom(out, top, first), RowsFrom(in, top, first), bytes, width, end - first);
                });
    FlushTileFrame();
  } else {
    FlushTileFrame();
    SourcePixels pixels(*from, sourceArea, from == this);
    if (area.destinationWidth == area.sourceWidth && area.destinationHeight == area.sourceHeight) {
      ConstPixelRows in = pixels.Rows();
      in.bits += static_cast<std::ptrdiff_t>(area.firstRow) * in.pitch +
                 static_cast<std::ptrdiff_t>(area.firstColumn) * bytes;
      CopyPixels(out, in, bytes, area.width, area.height);
    } else {
      StretchPixels(out, pixels.Rows(), bytes, area);
    }
  }
  Written(clipped);
  return DD_OK;
}

HRESULT DirectDrawSurface::BltFast(DWORD x, DWORD y, IDirectDrawSurface7* source, LPRECT sourceRect, DWORD flags) {
  if (IsDead()) return DeadUse();
  FlushTileFrame();
  DirectDrawSurface* from = AsSurface(source);
  if (from == nullptr) return DDERR_INVALIDPARAMS;
  if (from->IsDead()) return DeadUse();
  if (flags & ~kBltFastFlags) return DDERR_UNSUPPORTED;
  if (HRESULT failure = InjectedFailure(DDrawTestCall::BltFast, shape_.caps); failure != DD_OK) return failure;
  if (clipper_ != nullptr) return DDERR_BLTFASTCANTCLIP;
  if (HRESULT notReady = CheckReady(); notReady != DD_OK) return notReady;
  if (from != this) {
    if (HRESULT notReady = from->CheckReady(); notReady != DD_OK) return notReady;
  }
  RECT sourceArea = sourceRect != nullptr ? *sourceRect : from->Bounds();
  if (IsEmptyRect(sourceArea) || !RectInside(sourceArea, from->Bounds())) return DDERR_INVALIDRECT;
  if (x > shape_.width || y > shape_.height) return DDERR_INVALIDRECT;
  RECT destination{static_cast<LONG>(x), static_cast<LONG>(y), static_cast<LONG>(x) + RectWidth(sourceArea),
                   static_cast<LONG>(y) + RectHeight(sourceArea)};
  if (!RectInside(destination, Bounds())) return DDERR_INVALIDRECT;
  if (from->shape_.kind != shape_.kind) return DDERR_INVALIDPIXELFORMAT;
  DWORD key = 0;
  bool keyed = (flags & DDBLTFAST_SRCCOLORKEY) != 0;
  if (keyed && !from->SourceKey(&key)) return DDERR_NOCOLORKEY;

  SourcePixels pixels(*from, sourceArea, from == this);
  PixelRows out = RowsAt(*this, destination.left, destination.top);
  DWORD bytes = Layout().bytes;
  if (keyed) {
    CopyPixelsKeyed(out, pixels.Rows(), bytes, RectWidth(destination), RectHeight(destination), key,
                    Layout().ColourMask());
  } else {
    CopyPixels(out, pixels.Rows(), bytes, RectWidth(destination), RectHeight(destination));
  }
  Written(destination);
  return DD_OK;
}

// ---- Flipping ----

// The front shows the first back buffer's block, each back buffer takes the next one's,
// the last takes the old front block.
void DirectDrawSurface::RotateChain() {
  std::vector<DirectDrawSurface*> buffers = ChainBuffers();
  PixelStore first = std::move(buffers.front()->store_);
  for (std::size_t i = 0; i + 1 < buffers.size(); ++i) buffers[i]->store_ = std::move(buffers[i + 1]->store_);
  buffers.back()->store_ = std::move(first);
  for (DirectDrawSurface* buffer : buffers) buffer->MayBeWritten();
  flipsFromFirst_ = (flipsFromFirst_ + 1) % buffers.size();
}

HRESULT DirectDrawSurface::Flip(IDirectDrawSurface7* target, DWORD flags) {
  if (IsDead()) return DeadUse();
  FlushTileFrame();
  FlushTileFrame();
  if (backBuffers_.empty()) return DDERR_NOTFLIPPABLE;
  if (target != nullptr && AsSurface(target) != backBuffers_.front()) return DDERR_INVALIDPARAMS;
  for (DirectDrawSurface* buffer : ChainBuffers()) {
    if (HRESULT notReady = buffer->CheckReady(); notReady != DD_OK) return notReady;
  }
  if (!(flags & DDFLIP_NOVSYNC)) WaitForBlank(GetCurrentDisplayMode().height, false);
  RotateChain();
  Written(Bounds());
  return DD_OK;
}

void DirectDrawSurface::ReturnChainToFirstBuffer() {
  if (backBuffers_.empty() || flipsFromFirst_ == 0) return;
  for (DirectDrawSurface* buffer : ChainBuffers()) {
    if (buffer->locked_ || buffer->dc_ != nullptr || buffer->lost_) return;
  }
  while (flipsFromFirst_ != 0) RotateChain();
  Written(Bounds());
}

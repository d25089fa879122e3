// The primary video stream of a multimedia stream, and the samples that take its frames
// into DirectDraw surfaces.
#pragma once

#include <memory>

#include "dshow/com_references.h"
#include "dshow/dshow.h"
#include "dshow/frame_writer.h"
#include "dshow/movie_playback.h"

class VideoStream final : public IAMMediaStream, public IDirectDrawMediaStream {
 public:
  // Keeps a reference to the DirectDraw object's first-version interface, through which
  // it makes surfaces for samples that bring none.
  explicit VideoStream(IDirectDraw* directDraw) : directDraw_(directDraw) {}

  HRESULT QueryInterface(REFIID iid, void** object) override;
  ULONG AddRef() override { return references_.Add(); }
  ULONG Release() override;
  HRESULT GetFormat(DDSURFACEDESC* current, IDirectDrawPalette** palette, DDSURFACEDESC* desired,
                    DWORD* flags) override;
  HRESULT CreateSample(IDirectDrawSurface* surface, const RECT* rect, DWORD flags,
                       IDirectDrawStreamSample** sample) override;

  IMediaStream* AsMediaStream() { return static_cast<IAMMediaStream*>(this); }
  // The movie once the multimedia stream opened its file.
  void Attach(std::shared_ptr<MoviePlayback> playback) { playback_ = std::move(playback); }

 private:
  ~VideoStream();
  HRESULT MakeSurface(IDirectDrawSurface7** surface);

  ComReferences references_;
  IDirectDraw* directDraw_;
  std::shared_ptr<MoviePlayback> playback_;
};

class StreamSample final : public IDirectDrawStreamSample {
 public:
  // Takes over the reference to `surface`.
  StreamSample(std::shared_ptr<MoviePlayback> playback, IDirectDrawSurface7* surface, const RECT& area)
      : playback_(std::move(playback)), surface_(surface), area_(area) {}

  HRESULT QueryInterface(REFIID iid, void** object) override;
  ULONG AddRef() override { return references_.Add(); }
  ULONG Release() override;
  HRESULT Update(DWORD flags, HANDLE event, PAPCFUNC apc, DWORD_PTR apcData) override;
  HRESULT GetSurface(IDirectDrawSurface** surface, RECT* rect) override;

 private:
  ~StreamSample();

  ComReferences references_;
  std::shared_ptr<MoviePlayback> playback_;
  IDirectDrawSurface7* surface_;
  RECT area_;
  FrameWriter writer_;
};

// The filter graph: the media control and seeking of the movie a multimedia stream opens
// into it (one movie per graph).
#pragma once

#include <memory>

#include "dshow/com_references.h"
#include "dshow/dshow.h"
#include "dshow/movie_playback.h"

class FilterGraph final : public IGraphBuilder, public IMediaControl, public IMediaSeeking, public IBasicAudio {
 public:
  FilterGraph() = default;

  HRESULT QueryInterface(REFIID iid, void** object) override;
  ULONG AddRef() override { return references_.Add(); }
  ULONG Release() override;
  HRESULT Pause() override;
  HRESULT GetStopPosition(LONGLONG* stop) override;

  bool HasMovie() const { return playback_ != nullptr; }
  void Attach(std::shared_ptr<MoviePlayback> playback) { playback_ = std::move(playback); }

 private:
  ~FilterGraph() = default;

  ComReferences references_;
  std::shared_ptr<MoviePlayback> playback_;
};

// The graph behind an IGraphBuilder (the stand-in makes no other kind).
inline FilterGraph* AsFilterGraph(IGraphBuilder* graph) { return static_cast<FilterGraph*>(graph); }

// The multimedia stream: opens a movie file into its filter graph and gives the streams
// added beforehand their frames; its state, time and seeking are the movie's clock.
#include <new>

#include "dshow/com_references.h"
#include "dshow/dshow.h"
#include "dshow/filter_graph.h"
#include "dshow/movie_playback.h"
#include "dshow/video_stream.h"
#include "kernel/code_page.h"
#include "kernel/path_resolver.h"

const CLSID CLSID_AMMultiMediaStream = {0x7a10d520u, 0x3c2e, 0x4f71, {0x8b, 0x16, 0x00, 0x44, 0x53, 0x48, 0x4f, 0x20}};
const IID IID_IAMMultiMediaStream = {0x7a10d521u, 0x3c2e, 0x4f71, {0x8b, 0x16, 0x00, 0x44, 0x53, 0x48, 0x4f, 0x21}};
const MSPID MSPID_PrimaryVideo = {0x7a10d522u, 0x3c2e, 0x4f71, {0x8b, 0x16, 0x00, 0x44, 0x53, 0x48, 0x4f, 0x22}};
const MSPID MSPID_PrimaryAudio = {0x7a10d523u, 0x3c2e, 0x4f71, {0x8b, 0x16, 0x00, 0x44, 0x53, 0x48, 0x4f, 0x23}};

namespace {

class MultiMediaStream final : public IAMMultiMediaStream {
 public:
  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_INVALIDARG;
    if (!(iid == IID_IUnknown) && !(iid == IID_IAMMultiMediaStream)) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<IAMMultiMediaStream*>(this);
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return references_.Add(); }
  ULONG Release() override {
    const ULONG left = references_.Drop();
    if (left == 0) delete this;
    return left;
  }

  HRESULT Initialize(STREAM_TYPE type, DWORD flags, IGraphBuilder* graph) override {
    if (graph_ != nullptr) return E_UNEXPECTED;
    if (type != STREAMTYPE_READ || (flags & ~AMMSF_NOGRAPHTHREAD) != 0) return E_INVALIDARG;
    if (graph != nullptr) {
      graph->AddRef();
      graph_ = AsFilterGraph(graph);
      return S_OK;
    }
    return CreateFilterGraphInstance(IID_IGraphBuilder, reinterpret_cast<void**>(&graph_));
  }

  HRESULT AddMediaStream(IUnknown* streamObject, const MSPID* purpose, DWORD flags, IMediaStream** stream) override {
    if (stream != nullptr) *stream = nullptr;
    if (graph_ == nullptr) return MS_E_NOTINIT;
    if (purpose == nullptr) return E_INVALIDARG;
    if (playback_ != nullptr) return MS_E_SOURCEALREADYDEFINED;
    if (*purpose == MSPID_PrimaryVideo) return AddVideoStream(streamObject, flags, stream);
    if (*purpose == MSPID_PrimaryAudio) {
      if (soundWanted_) return MS_E_PURPOSEID;
      // Only the default renderer: the sound is played, never handed out.
      if (streamObject != nullptr || flags != AMMSF_ADDDEFAULTRENDERER) return E_NOTIMPL;
      soundWanted_ = true;
      return S_OK;
    }
    return MS_E_PURPOSEID;
  }

  HRESULT OpenFile(LPCWSTR fileName, DWORD flags) override {
    if (graph_ == nullptr) return MS_E_NOTINIT;
    if (fileName == nullptr || flags != 0) return E_INVALIDARG;
    if (playback_ != nullptr || graph_->HasMovie()) return MS_E_SOURCEALREADYDEFINED;
    const std::string path = ResolvePath(WideToCp932(fileName).c_str());
    if (HRESULT result = MoviePlayback::Open(path, soundWanted_, &playback_); result != S_OK) return result;
    graph_->Attach(playback_);
    if (video_ != nullptr) video_->Attach(playback_);
    return S_OK;
  }

  HRESULT GetMediaStream(REFMSPID purpose, IMediaStream** stream) override {
    if (stream == nullptr) return E_INVALIDARG;
    *stream = nullptr;
    if (!(purpose == MSPID_PrimaryVideo) || video_ == nullptr) return MS_E_NOSTREAM;
    video_->AddRef();
    *stream = video_->AsMediaStream();
    return S_OK;
  }

  HRESULT GetState(STREAM_STATE* state) override {
    if (state == nullptr) return E_INVALIDARG;
    *state = playback_ != nullptr && playback_->Running() ? STREAMSTATE_RUN : STREAMSTATE_STOP;
    return S_OK;
  }

  HRESULT SetState(STREAM_STATE state) override {
    if (state != STREAMSTATE_RUN && state != STREAMSTATE_STOP) return E_INVALIDARG;
    if (playback_ == nullptr) return MS_E_NOTINIT;
    if (state == STREAMSTATE_RUN) {
      playback_->Run();
    } else {
      playback_->Stop();
    }
    return S_OK;
  }

  HRESULT GetTime(STREAM_TIME* time) override {
    if (time == nullptr) return E_INVALIDARG;
    if (playback_ == nullptr) return MS_E_NOTINIT;
    *time = playback_->Time();
    return S_OK;
  }

  HRESULT GetDuration(STREAM_TIME* duration) override {
    if (duration == nullptr) return E_INVALIDARG;
    if (playback_ == nullptr) return MS_E_NOTINIT;
    *duration = playback_->Duration();
    return S_OK;
  }

  HRESULT Seek(STREAM_TIME time) override {
    if (playback_ == nullptr) return MS_E_NOTINIT;
    playback_->Seek(time);
    return S_OK;
  }

 private:
  ~MultiMediaStream() {
    if (video_ != nullptr) video_->Release();
    if (graph_ != nullptr) graph_->Release();
  }

  HRESULT AddVideoStream(IUnknown* streamObject, DWORD flags, IMediaStream** stream) {
    if (video_ != nullptr) return MS_E_PURPOSEID;
    // The stand-in does not make a DirectDraw object of its own.
    if (streamObject == nullptr || flags != 0) return E_INVALIDARG;
    IDirectDraw* directDraw = nullptr;
    if (HRESULT result = streamObject->QueryInterface(IID_IDirectDraw, reinterpret_cast<void**>(&directDraw));
        result != S_OK) {
      return result;
    }
    video_ = new (std::nothrow) VideoStream(directDraw);
    if (video_ == nullptr) {
      directDraw->Release();
      return E_OUTOFMEMORY;
    }
    if (stream != nullptr) {
      video_->AddRef();
      *stream = video_->AsMediaStream();
    }
    return S_OK;
  }

  ComReferences references_;
  FilterGraph* graph_ = nullptr;
  VideoStream* video_ = nullptr;
  bool soundWanted_ = false;
  std::shared_ptr<MoviePlayback> playback_;
};

}  // namespace

HRESULT CreateMultiMediaStreamInstance(REFIID iid, void** object) {
  auto* stream = new (std::nothrow) MultiMediaStream();
  if (stream == nullptr) return E_OUTOFMEMORY;
  const HRESULT result = stream->QueryInterface(iid, object);
  stream->Release();
  return result;
}

#include "dshow/filter_graph.h"

#include <new>

const CLSID CLSID_FilterGraph = {0x7a10d500u, 0x3c2e, 0x4f71, {0x8b, 0x16, 0x00, 0x44, 0x53, 0x48, 0x4f, 0x57}};
const IID IID_IGraphBuilder = {0x7a10d501u, 0x3c2e, 0x4f71, {0x8b, 0x16, 0x00, 0x44, 0x53, 0x48, 0x4f, 0x01}};
const IID IID_IMediaControl = {0x7a10d502u, 0x3c2e, 0x4f71, {0x8b, 0x16, 0x00, 0x44, 0x53, 0x48, 0x4f, 0x02}};
const IID IID_IMediaSeeking = {0x7a10d503u, 0x3c2e, 0x4f71, {0x8b, 0x16, 0x00, 0x44, 0x53, 0x48, 0x4f, 0x03}};
const IID IID_IBasicAudio = {0x7a10d504u, 0x3c2e, 0x4f71, {0x8b, 0x16, 0x00, 0x44, 0x53, 0x48, 0x4f, 0x04}};

HRESULT CreateFilterGraphInstance(REFIID iid, void** object) {
  auto* graph = new (std::nothrow) FilterGraph();
  if (graph == nullptr) return E_OUTOFMEMORY;
  const HRESULT result = graph->QueryInterface(iid, object);
  graph->Release();
  return result;
}

HRESULT FilterGraph::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_INVALIDARG;
  if (iid == IID_IUnknown || iid == IID_IGraphBuilder) {
    *object = static_cast<IGraphBuilder*>(this);
  } else if (iid == IID_IMediaControl) {
    *object = static_cast<IMediaControl*>(this);
  } else if (iid == IID_IMediaSeeking) {
    *object = static_cast<IMediaSeeking*>(this);
  } else if (iid == IID_IBasicAudio) {
    *object = static_cast<IBasicAudio*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG FilterGraph::Release() {
  const ULONG left = references_.Drop();
  if (left == 0) delete this;
  return left;
}

HRESULT FilterGraph::Pause() {
  if (playback_ != nullptr) playback_->Stop();
  return S_OK;
}

HRESULT FilterGraph::GetStopPosition(LONGLONG* stop) {
  if (stop == nullptr) return E_INVALIDARG;
  if (playback_ == nullptr) return E_NOTIMPL;
  *stop = playback_->Duration();
  return S_OK;
}

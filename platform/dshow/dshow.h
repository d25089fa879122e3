// DirectShow stand-in: a filter graph and a multimedia stream that play a movie file
// (decoded with FFmpeg) into DirectDraw surfaces through stream samples, its sound to
// the default sound renderer.
//
// Objects come from CoCreateInstance(CLSID_FilterGraph, ..., IID_IGraphBuilder) and
// CoCreateInstance(CLSID_AMMultiMediaStream, ..., IID_IAMMultiMediaStream). Only reading
// streams exist. The movie's clock is the kernel clock (the tests' virtual clock drives
// it): the stream time runs while the stream is in STREAMSTATE_RUN and stands still
// otherwise. A sample's asynchronous Update completes, on the stand-in's own thread, when
// the next frame's time has come; with the stream's time past several frames it brings
// the newest of them.
#pragma once

#include "com/com.h"
#include "ddraw/ddraw.h"

typedef LONGLONG STREAM_TIME;  // 100-nanosecond units from the start of the movie
typedef GUID MSPID;
typedef const MSPID& REFMSPID;
typedef void (*PAPCFUNC)(ULONG_PTR data);

enum STREAM_TYPE { STREAMTYPE_READ = 0 };
enum STREAM_STATE { STREAMSTATE_STOP = 0, STREAMSTATE_RUN = 1 };

// IAMMultiMediaStream::Initialize: the graph needs no thread of the caller's (the
// stand-in decodes on its own thread in any case).
#define AMMSF_NOGRAPHTHREAD 0x1u
// IAMMultiMediaStream::AddMediaStream: play the stream through the default renderer.
#define AMMSF_ADDDEFAULTRENDERER 0x1u

// ---- Result codes ----
#define MS_S_PENDING static_cast<HRESULT>(0x00040001u)
#define MS_S_ENDOFSTREAM static_cast<HRESULT>(0x00040003u)
#define MS_E_PURPOSEID static_cast<HRESULT>(0x80040402u)
#define MS_E_NOSTREAM static_cast<HRESULT>(0x80040403u)
#define MS_E_INCOMPATIBLE static_cast<HRESULT>(0x80040405u)
#define MS_E_BUSY static_cast<HRESULT>(0x80040406u)
#define MS_E_NOTINIT static_cast<HRESULT>(0x80040407u)
#define MS_E_SOURCEALREADYDEFINED static_cast<HRESULT>(0x80040408u)
#define MS_E_NOTRUNNING static_cast<HRESULT>(0x8004040Au)
#define VFW_E_NOT_FOUND static_cast<HRESULT>(0x80040216u)
#define VFW_E_UNSUPPORTED_STREAM static_cast<HRESULT>(0x80040265u)

extern const CLSID CLSID_FilterGraph;
extern const CLSID CLSID_AMMultiMediaStream;
extern const IID IID_IGraphBuilder;
extern const IID IID_IMediaControl;
extern const IID IID_IMediaSeeking;
extern const IID IID_IBasicAudio;
extern const IID IID_IAMMultiMediaStream;
extern const IID IID_IMediaStream;
extern const IID IID_IAMMediaStream;
extern const IID IID_IDirectDrawMediaStream;
extern const MSPID MSPID_PrimaryVideo;
extern const MSPID MSPID_PrimaryAudio;

// ---- Filter graph ----

// The graph a multimedia stream builds its filters in (the caller only hands it over).
struct IGraphBuilder : IUnknown {};

struct IMediaControl : IUnknown {
  // Holds the movie's clock; the multimedia stream's SetState(STREAMSTATE_RUN) resumes.
  virtual HRESULT Pause() = 0;
};

struct IMediaSeeking : IUnknown {
  // The end of the movie in 100-nanosecond units; E_NOTIMPL before a file is open.
  virtual HRESULT GetStopPosition(LONGLONG* stop) = 0;
};

// The sound's volume and balance (nothing of it is used).
struct IBasicAudio : IUnknown {};

// ---- Streams and samples ----

struct IMediaStream : IUnknown {};
struct IAMMediaStream : IMediaStream {};

struct IStreamSample : IUnknown {
  // Asks for the sample's next frame. Only the asynchronous form exists: `flags` 0, an
  // event, no APC. S_OK when the frame was written at once; MS_S_PENDING when it comes
  // later (the event is then set); MS_S_ENDOFSTREAM after the last frame; MS_E_BUSY
  // while an update is outstanding; MS_E_NOTRUNNING while the stream does not run.
  virtual HRESULT Update(DWORD flags, HANDLE event, PAPCFUNC apc, DWORD_PTR apcData) = 0;
};

struct IDirectDrawStreamSample : IStreamSample {
  // The surface the frames go into and their rectangle in it.
  virtual HRESULT GetSurface(IDirectDrawSurface** surface, RECT* rect) = 0;
};

struct IDirectDrawMediaStream : IMediaStream {
  // The frame size (DDSD_WIDTH | DDSD_HEIGHT; 0 x 0 for a file without video). The
  // palette comes back NULL and the flags 0.
  virtual HRESULT GetFormat(DDSURFACEDESC* current, IDirectDrawPalette** palette, DDSURFACEDESC* desired,
                            DWORD* flags) = 0;
  // A sample writing frames into `surface` (scaled to `rect`, or at the frame size from
  // the top-left corner when NULL). With no surface the stream makes a system-memory
  // surface of the frame size in the display's format. `flags` must be 0.
  virtual HRESULT CreateSample(IDirectDrawSurface* surface, const RECT* rect, DWORD flags,
                               IDirectDrawStreamSample** sample) = 0;
};

// ---- Multimedia stream ----

struct IMultiMediaStream : IUnknown {
  virtual HRESULT GetMediaStream(REFMSPID purpose, IMediaStream** stream) = 0;
  virtual HRESULT GetState(STREAM_STATE* state) = 0;
  virtual HRESULT SetState(STREAM_STATE state) = 0;
  // The stream time now, at most the duration.
  virtual HRESULT GetTime(STREAM_TIME* time) = 0;
  virtual HRESULT GetDuration(STREAM_TIME* duration) = 0;
  virtual HRESULT Seek(STREAM_TIME time) = 0;
};

struct IAMMultiMediaStream : IMultiMediaStream {
  // STREAMTYPE_READ only; with no graph the stream makes its own.
  virtual HRESULT Initialize(STREAM_TYPE type, DWORD flags, IGraphBuilder* graph) = 0;
  // MSPID_PrimaryVideo with the DirectDraw object (any of its interfaces) whose surfaces
  // the samples use; MSPID_PrimaryAudio with no object and AMMSF_ADDDEFAULTRENDERER.
  // Streams are added before OpenFile.
  virtual HRESULT AddMediaStream(IUnknown* streamObject, const MSPID* purpose, DWORD flags,
                                 IMediaStream** stream) = 0;
  // Opens a movie file: VFW_E_NOT_FOUND when there is no such file,
  // VFW_E_UNSUPPORTED_STREAM when it is no movie the stand-in plays.
  virtual HRESULT OpenFile(LPCWSTR fileName, DWORD flags) = 0;
};

// CoCreateInstance's creators.
HRESULT CreateFilterGraphInstance(REFIID iid, void** object);
HRESULT CreateMultiMediaStreamInstance(REFIID iid, void** object);

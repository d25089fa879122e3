// Sound device and sound buffers: a software mixer on the SDL audio device.
//
// The device object is created through CoCreateInstance(CLSID_DirectSound) and opens
// the default SDL output (44100 Hz, stereo, 16-bit) in Initialize. Secondary buffers
// hold PCM of any rate, 8 or 16 bits, mono or stereo; duplicates share the PCM and
// have their own cursor, state and volume. The mixer runs in the SDL audio callback
// under the device's own lock, never the library lock. The primary buffer is the
// device itself: its format is recorded, the device keeps mixing at 44100 Hz stereo.
#pragma once

#include "com/com.h"
#include "kernel/wave_format.h"
#include "kernel/win_types.h"
#include "window/hwnd.h"

#define DS_OK S_OK
#define DSERR_ALLOCATED static_cast<HRESULT>(0x8878000Au)
#define DSERR_CONTROLUNAVAIL static_cast<HRESULT>(0x8878001Eu)
#define DSERR_INVALIDPARAM E_INVALIDARG
#define DSERR_INVALIDCALL static_cast<HRESULT>(0x88780032u)
#define DSERR_GENERIC E_FAIL
#define DSERR_PRIOLEVELNEEDED static_cast<HRESULT>(0x88780046u)
#define DSERR_OUTOFMEMORY E_OUTOFMEMORY
#define DSERR_BADFORMAT static_cast<HRESULT>(0x88780064u)
#define DSERR_NODRIVER static_cast<HRESULT>(0x88780078u)
#define DSERR_ALREADYINITIALIZED static_cast<HRESULT>(0x88780082u)
#define DSERR_UNINITIALIZED static_cast<HRESULT>(0x887800AAu)

#define DSSCL_NORMAL 1
#define DSSCL_PRIORITY 2

#define DSBCAPS_PRIMARYBUFFER 0x00000001
#define DSBCAPS_STATIC 0x00000002
#define DSBCAPS_CTRLFREQUENCY 0x00000020
#define DSBCAPS_CTRLPAN 0x00000040
#define DSBCAPS_CTRLVOLUME 0x00000080
#define DSBCAPS_GLOBALFOCUS 0x00008000

#define DSBPLAY_LOOPING 0x00000001

#define DSBSTATUS_PLAYING 0x00000001
#define DSBSTATUS_LOOPING 0x00000004

#define DSBLOCK_ENTIREBUFFER 0x00000002

#define DSBVOLUME_MIN (-10000)
#define DSBVOLUME_MAX 0
#define DSBSIZE_MIN 4
#define DSBSIZE_MAX 0x0FFFFFFF
#define DSBFREQUENCY_MIN 100
#define DSBFREQUENCY_MAX 200000

#define DSCAPS_PRIMARYMONO 0x00000001
#define DSCAPS_PRIMARYSTEREO 0x00000002
#define DSCAPS_PRIMARY8BIT 0x00000004
#define DSCAPS_PRIMARY16BIT 0x00000008
#define DSCAPS_SECONDARYMONO 0x00000100
#define DSCAPS_SECONDARYSTEREO 0x00000200
#define DSCAPS_SECONDARY8BIT 0x00000400
#define DSCAPS_SECONDARY16BIT 0x00000800

struct DSBUFFERDESC {
  DWORD dwSize;
  DWORD dwFlags;
  DWORD dwBufferBytes;  // 0 for the primary buffer
  DWORD dwReserved;
  WAVEFORMATEX* lpwfxFormat;  // null for the primary buffer
};

struct DSCAPS {
  DWORD dwSize;
  DWORD dwFlags;
  DWORD dwMinSecondarySampleRate;
  DWORD dwMaxSecondarySampleRate;
  DWORD dwTotalHwMemBytes;
  DWORD dwFreeHwMemBytes;
};

typedef GUID* LPGUID;

struct IDirectSoundBuffer : IUnknown {
  virtual HRESULT GetCurrentPosition(DWORD* playCursor, DWORD* writeCursor) = 0;
  virtual HRESULT GetStatus(DWORD* status) = 0;
  // Gives the bytes from `offset` on, wrapping to the start in the second region.
  virtual HRESULT Lock(DWORD offset, DWORD bytes, void** region1, DWORD* bytes1, void** region2, DWORD* bytes2,
                       DWORD flags) = 0;
  virtual HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) = 0;
  virtual HRESULT SetCurrentPosition(DWORD position) = 0;
  virtual HRESULT SetFormat(const WAVEFORMATEX* format) = 0;
  virtual HRESULT SetVolume(LONG volume) = 0;  // hundredths of a decibel, -10000..0
  virtual HRESULT Stop() = 0;
  virtual HRESULT Unlock(void* region1, DWORD bytes1, void* region2, DWORD bytes2) = 0;

 protected:
  ~IDirectSoundBuffer() = default;
};
typedef IDirectSoundBuffer* LPDIRECTSOUNDBUFFER;

struct IDirectSound : IUnknown {
  virtual HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer, IUnknown* outer) = 0;
  virtual HRESULT DuplicateSoundBuffer(IDirectSoundBuffer* original, IDirectSoundBuffer** duplicate) = 0;
  virtual HRESULT GetCaps(DSCAPS* caps) = 0;
  virtual HRESULT Initialize(const GUID* device) = 0;  // null: the default device
  virtual HRESULT SetCooperativeLevel(HWND window, DWORD level) = 0;

 protected:
  ~IDirectSound() = default;
};
typedef IDirectSound* LPDIRECTSOUND;

extern const CLSID CLSID_DirectSound;
extern const IID IID_IDirectSound;
extern const IID IID_IDirectSoundBuffer;

// The COM class behind CLSID_DirectSound.
HRESULT CreateDirectSoundObject(REFIID iid, void** object);

typedef BOOL (*LPDSENUMCALLBACKA)(LPGUID guid, LPCSTR description, LPCSTR module, LPVOID context);

// Lists the default device, then every SDL output device; stops when the callback
// returns FALSE.
HRESULT DirectSoundEnumerateA(LPDSENUMCALLBACKA callback, LPVOID context);

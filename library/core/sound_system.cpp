#include "core/sound_system.h"

#include <algorithm>
#include <cstdarg>

#include "com/com.h"
#include "core/log.h"
#include "core/sound_table.h"
#include "core/text_format.h"
#include "kernel/module_loader.h"
#include "window/desktop.h"

namespace {

constexpr DWORD kMaxPrimaryRate = 44100;
constexpr DWORD kSilentBufferBytes = 400;
constexpr DWORD kSilentBufferFlags = DSBCAPS_GLOBALFOCUS | DSBCAPS_STATIC;

IDirectSound* g_directSound = nullptr;
IDirectSoundBuffer* g_primaryBuffer = nullptr;
IDirectSoundBuffer* g_silentBuffer = nullptr;

WAVEFORMATEX PcmFormat(WORD channels, DWORD rate, WORD bits) {
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = channels;
  format.nSamplesPerSec = rate;
  format.wBitsPerSample = bits;
  format.nBlockAlign = static_cast<WORD>(bits / 8 * channels);
  format.nAvgBytesPerSec = format.nBlockAlign * rate;
  format.cbSize = 0;
  return format;
}

// Stereo and 16 bits when the device offers them, at its highest rate up to 44100 Hz.
void SetPrimaryFormat(const DSCAPS& caps) {
  WAVEFORMATEX format = PcmFormat((caps.dwFlags & DSCAPS_PRIMARYSTEREO) ? 2 : 1,
                                  std::min(caps.dwMaxSecondarySampleRate, kMaxPrimaryRate),
                                  (caps.dwFlags & DSCAPS_PRIMARY16BIT) ? 16 : 8);
  if (FAILED(g_primaryBuffer->SetFormat(&format))) {
    LogWrite("DirectSoundのプライマリサウンドバッファのフォーマット設定に失敗しました\n");
  }
}

// A short buffer of silence played in a loop for as long as the system runs.
void StartSilentBuffer() {
  WAVEFORMATEX format = PcmFormat(2, 44100, 16);
  DSBUFFERDESC desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = kSilentBufferFlags;
  desc.dwBufferBytes = kSilentBufferBytes;
  desc.lpwfxFormat = &format;
  if (FAILED(g_directSound->CreateSoundBuffer(&desc, &g_silentBuffer, nullptr))) {
    g_silentBuffer = nullptr;
    LogPrintf("無音バッファの作成に失敗しました");
    return;
  }
  void* region1 = nullptr;
  void* region2 = nullptr;
  DWORD bytes1 = 0;
  DWORD bytes2 = 0;
  if (FAILED(g_silentBuffer->Lock(0, kSilentBufferBytes, &region1, &bytes1, &region2, &bytes2, 0))) {
    LogPrintf("無音バッファのロックに失敗しました");
    g_silentBuffer->Release();
    g_silentBuffer = nullptr;
    return;
  }
  std::fill_n(static_cast<BYTE*>(region1), bytes1, 0);
  if (region2 != nullptr) std::fill_n(static_cast<BYTE*>(region2), bytes2, 0);
  g_silentBuffer->Unlock(region1, bytes1, region2, bytes2);
  g_silentBuffer->Play(0, 0, DSBPLAY_LOOPING);
}

const char* Offered(DWORD flags, DWORD flag) { return (flags & flag) ? "OK" : "NO"; }

// A text that ends in a line end is written as it is; any other ends a line of its own.
__attribute__((format(printf, 1, 2))) void LogFormatted(const char* format, ...) {
  char text[512];
  va_list arguments;
  va_start(arguments, format);
  const int length = FormatStringV(text, sizeof text, format, arguments);
  va_end(arguments);
  if (length > 0 && text[length - 1] == '\n') {
    LogWrite(text);
  } else {
    LogPrintf("%s", text);
  }
}

void LogCapabilities(const DSCAPS& caps) {
  const DWORD flags = caps.dwFlags;
  LogFormatted("最大サンプリングレート:%.2fKHz 最小サンプリングレート:%.2fKHz ", caps.dwMaxSecondarySampleRate * 0.001,
               caps.dwMinSecondarySampleRate * 0.001);
  LogFormatted("総サウンドメモリ領域:%.2fKB 空きサウンドメモリ領域:%.2fKB \n", caps.dwTotalHwMemBytes * 0.00390625,
               caps.dwFreeHwMemBytes * 0.00390625);
  LogWrite("利用可能サンプリング精度\n");
  LogFormatted(" プライマリ １６bit = %s  ８bit = %s ", Offered(flags, DSCAPS_PRIMARY16BIT),
               Offered(flags, DSCAPS_PRIMARY8BIT));
  LogFormatted(" セカンダリ １６bit = %s  ８bit = %s \n", Offered(flags, DSCAPS_SECONDARY16BIT),
               Offered(flags, DSCAPS_SECONDARY8BIT));
  LogWrite("利用可能チャンネル\n");
  LogFormatted(" プライマリ MONO = %s  STEREO = %s ", Offered(flags, DSCAPS_PRIMARYMONO),
               Offered(flags, DSCAPS_PRIMARYSTEREO));
  LogFormatted(" セカンダリ MONO = %s  STEREO = %s \n", Offered(flags, DSCAPS_SECONDARYMONO),
               Offered(flags, DSCAPS_SECONDARYSTEREO));
}

// The device list and capabilities; nothing here can fail the start.
void LogDeviceReport() {
  IncreaseLogIndent();
  DSCAPS caps{};
  caps.dwSize = sizeof caps;
  g_directSound->GetCaps(&caps);
  LogWrite("DirectSound デバイスを列挙します\n");
  IncreaseLogIndent();
  HMODULE module = LoadLibraryA("DSOUND.DLL");
  if (module == nullptr) {
    LogWrite("DSOUND.DLL のロードに失敗しました\n");
    DecreaseLogIndent();
    DecreaseLogIndent();
    return;
  }
  const FARPROC address = GetProcAddress(module, "DirectSoundEnumerateA");
  if (address == nullptr) {
    FreeLibrary(module);
    LogWrite("DirectSound デバイスの列挙用関数のポインタ取得に失敗しました\n");
    DecreaseLogIndent();
    DecreaseLogIndent();
    return;
  }
  typedef HRESULT (*EnumerateFunction)(LPDSENUMCALLBACKA, LPVOID);
  const EnumerateFunction enumerate =
      reinterpret_cast<EnumerateFunction>(reinterpret_cast<void (*)()>(address));
  enumerate(SoundDeviceEnumCallback, nullptr);
  DecreaseLogIndent();
  LogCapabilities(caps);
  DecreaseLogIndent();
  FreeLibrary(module);
}

// Releases the device after a failed start; returns -1.
int AbandonDevice() {
  g_directSound->Release();
  g_directSound = nullptr;
  return -1;
}

}  // namespace

IDirectSound* GetDirectSoundObject() { return g_directSound; }

BOOL SoundDeviceEnumCallback(LPGUID, LPCSTR description, LPCSTR module, LPVOID) {
  LogFormatted("モジュール名:%15s  ドライバ記述:%s ", module, description);
  return TRUE;
}

int InitSoundSystem() {
  if (g_directSound != nullptr) return -1;
  LogWrite("DirectSound の初期化を行います\n");
  LogWrite("DirectSound インターフェースの取得を行います....  ");
  void* object = nullptr;
  if (FAILED(CoCreateInstance(CLSID_DirectSound, nullptr,
                              CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER, IID_IDirectSound,
                              &object))) {
    return LogWrite("DirectSoundインターフェースの作成に失敗しました\n");
  }
  g_directSound = static_cast<IDirectSound*>(object);
  LogWrite("成功\n");
  LogWrite("引き続きインターフェースの初期化処理...  ");
  if (FAILED(g_directSound->Initialize(nullptr))) {
    LogWrite("初期化に失敗しました\n");
    return AbandonDevice();
  }
  LogWrite("成功\n");
  if (FAILED(g_directSound->SetCooperativeLevel(GetDesktopWindow(), DSSCL_PRIORITY))) {
    LogWrite("DirectSoundの協調レベルの設定に失敗しました\n");
    return AbandonDevice();
  }
  DSBUFFERDESC primary{};
  primary.dwSize = sizeof primary;
  primary.dwFlags = DSBCAPS_PRIMARYBUFFER;
  if (FAILED(g_directSound->CreateSoundBuffer(&primary, &g_primaryBuffer, nullptr))) {
    g_primaryBuffer = nullptr;
    LogWrite("DirectSoundのプライマリサウンドバッファの作成に失敗しました\n");
    return AbandonDevice();
  }
  DSCAPS caps{};
  caps.dwSize = sizeof caps;
  g_directSound->GetCaps(&caps);
  SetPrimaryFormat(caps);
  StartSilentBuffer();
  LogDeviceReport();
  LogWrite("DirectSound の初期化は正常に終了しました\n");
  FreeAllSounds();
  return 0;
}

int EndSoundSystem() {
  if (g_directSound == nullptr) return -1;
  FreeAllSounds();
  g_primaryBuffer->Stop();
  g_primaryBuffer->Release();
  g_primaryBuffer = nullptr;
  if (g_silentBuffer != nullptr) {
    g_silentBuffer->Stop();
    g_silentBuffer->Release();
    g_silentBuffer = nullptr;
  }
  g_directSound->Release();
  g_directSound = nullptr;
  LogWrite("DirectSound の終了処理は正常に終了しました\n");
  return 0;
}

int RefillAllStreamSounds() { return 0; }
int PollMusicPlaying() { return 0; }
int OnMciMusicNotify() { return 0; }
int StopBackgroundMusic() { return 0; }

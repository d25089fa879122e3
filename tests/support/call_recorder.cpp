#include "call_recorder.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdint>
#include <iterator>
#include <ostream>
#include <type_traits>
#include <unordered_map>
#include <utility>

#include "core/game_object.h"
#include "core/object_pool.h"

namespace {

struct CallKind {
  const char* name;
  bool hashed;
};

constexpr CallKind kCallKinds[] = {
#define RECORDED_CALL_INFO(name, hashed) {#name, hashed},
    RECORDED_CALL_KINDS(RECORDED_CALL_INFO)
#undef RECORDED_CALL_INFO
};
constexpr int kCallKindCount = static_cast<int>(std::size(kCallKinds));

constexpr Call kDrawingCalls[] = {
#define DRAWING_CALL_ENUM(name, hashed) Call::name,
    DRAWING_CALL_KINDS(DRAWING_CALL_ENUM)
#undef DRAWING_CALL_ENUM
};

struct Recorder {
  std::vector<RecordedCall> log;
  std::size_t frameStart = 0;  // the first log entry of the frame
  bool keepLog = true;
  int frame = 0;
  bool forwarding[kCallKindCount];
  int scriptedResult[kCallKindCount] = {};
  RandomScript randomScript = RandomScript::Real;
  std::vector<int> listedDraws;
  std::size_t nextListedDraw = 0;
  int drawsSinceSeed = 0;
  bool creationsOccupySlots = false;
  bool drawing = false;
  // The frame being drawn: where its calls start in the log, and whether its drawing
  // calls have been logged since it started; the frame presented before it.
  std::size_t frameFrom = 0;
  bool frameLogged = false;
  std::vector<RecordedCall> frameBefore;
  DrawingObserver drawingObserver;
  std::unordered_map<int, GraphPicture> graphs;

  Recorder() { std::fill(std::begin(forwarding), std::end(forwarding), true); }
};

Recorder& State() {
  static Recorder recorder;
  return recorder;
}

constexpr std::uint64_t kHashStart = 1469598103934665603ull;  // FNV-1a

void FoldIntoHash(std::uint64_t& hash, const void* data, std::size_t bytes) {
  if (hash == 0) hash = kHashStart;
  const auto* p = static_cast<const unsigned char*>(data);
  for (std::size_t i = 0; i < bytes; ++i) hash = (hash ^ p[i]) * 1099511628211ull;
}

// Logs the call before it runs, so that calls it makes in turn follow it in the log.
std::size_t Log(Call call, std::initializer_list<double> arguments) {
  Recorder& recorder = State();
  RecordedCall entry{call, recorder.frame, static_cast<int>(arguments.size()), {}, 0, {}};
  std::copy(arguments.begin(), arguments.end(), entry.arguments.begin());
  recorder.log.push_back(entry);
  return recorder.log.size() - 1;
}

bool Forwards(Call call) { return State().forwarding[static_cast<int>(call)]; }

bool IsDrawing(Call call) { return std::find(std::begin(kDrawingCalls), std::end(kDrawingCalls), call) != std::end(kDrawingCalls); }

// Whether drawing calls are logged; one made while they are not leaves the frame's
// drawing unrecorded.
bool LogsDrawing() {
  Recorder& recorder = State();
  recorder.frameLogged &= recorder.drawing;
  return recorder.drawing;
}

// Hands a drawing call that was made to the observer.
void ShowDrawn(std::size_t entry) {
  Recorder& recorder = State();
  const RecordedCall& call = recorder.log[entry];
  if (recorder.drawingObserver && IsDrawing(call.call) && Forwards(call.call)) recorder.drawingObserver(call);
}

template <typename Result, typename... Arguments>
Result Record(Call call, Result (*real)(Arguments...), Arguments... arguments) {
  static_assert(sizeof...(Arguments) <= kMaxRecordedArguments);
  if (IsDrawing(call) && !LogsDrawing()) return real(arguments...);
  const std::size_t entry = Log(call, {static_cast<double>(arguments)...});
  if constexpr (std::is_void_v<Result>) {
    if (Forwards(call)) real(arguments...);
  } else {
    const Result result = Forwards(call) ? real(arguments...) : State().scriptedResult[static_cast<int>(call)];
    State().log[entry].result = static_cast<int>(result);
    ShowDrawn(entry);
    return result;
  }
}

int ScriptedDraw(int max, int (*real)(int)) {
  Recorder& recorder = State();
  switch (recorder.randomScript) {
    case RandomScript::Zero:
      return 0;
    case RandomScript::Max:
      return max;
    case RandomScript::Listed:
      if (recorder.nextListedDraw < recorder.listedDraws.size()) return recorder.listedDraws[recorder.nextListedDraw++];
      return real(max);
    case RandomScript::Real:
      break;
  }
  return real(max);
}

}  // namespace

#define UNPARENTHESISED(...) __VA_ARGS__
// One wrapped function: the linker's __wrap_ and __real_ names of its mangled name.
#define RECORDED_CALL(kind, mangled, Result, parameters, arguments) \
  extern "C" Result __real_##mangled parameters;                   \
  extern "C" Result __wrap_##mangled parameters {                  \
    return Record(Call::kind, __real_##mangled, UNPARENTHESISED arguments); \
  }

RECORDED_CALL(SpawnDeathEffects, _Z17SpawnDeathEffectsi, void, (int slot), (slot))
RECORDED_CALL(PlaySe, _Z6PlaySeii, void, (int se, int volume), (se, volume))
RECORDED_CALL(StartSound, _Z10StartSoundiii, int, (int sound, int type, int fromStart), (sound, type, fromStart))
RECORDED_CALL(SetSoundVolume, _Z14SetSoundVolumeii, int, (int volume, int sound), (volume, sound))
RECORDED_CALL(IsSoundPlaying, _Z14IsSoundPlayingi, int, (int sound), (sound))
RECORDED_CALL(StartPadRumble, _Z14StartPadRumbleiii, int, (int pad, int power, int ms), (pad, power, ms))
RECORDED_CALL(StopPadRumble, _Z13StopPadRumblei, int, (int pad), (pad))
RECORDED_CALL(PlaySeIfIdle, _Z12PlaySeIfIdleii, void, (int se, int volume), (se, volume))
RECORDED_CALL(VibratePad, _Z10VibratePadii, void, (int power, int priority), (power, priority))
RECORDED_CALL(SpawnScorePopup, _Z15SpawnScorePopupii, void, (int slot, int value), (slot, value))

extern "C" void __real__Z18CaptureDamageFlashv();
extern "C" void __wrap__Z18CaptureDamageFlashv() { Record(Call::CaptureDamageFlash, __real__Z18CaptureDamageFlashv); }

// A creation that is not forwarded may still take a slot, as a template would.
extern "C" void __real__Z12CreateObjectiiiii(int id, int x, int y, int facing, int parent);
extern "C" void __wrap__Z12CreateObjectiiiii(int id, int x, int y, int facing, int parent) {
  Record(Call::CreateObject, __real__Z12CreateObjectiiiii, id, x, y, facing, parent);
  if (Forwards(Call::CreateObject) || !State().creationsOccupySlots) return;
  GameObject& object = ObjectPool[AllocateObject()];
  object.state = kStateActive;
  object.category = kCategoryEffect;
  object.x = static_cast<float>(x);
  object.y = static_cast<float>(y);
  object.facing = facing;
}

RECORDED_CALL(RequestSlowdown, _Z15RequestSlowdowni, void, (int ms), (ms))
RECORDED_CALL(SetBlendMode, _Z12SetBlendModeii, int, (int mode, int parameter), (mode, parameter))
RECORDED_CALL(DrawGraphAt, _Z11DrawGraphAtiiii, int, (int x, int y, int graph, int transparent),
              (x, y, graph, transparent))
RECORDED_CALL(DrawGraphRotated, _Z16DrawGraphRotatediiddiii, int,
              (int x, int y, double scale, double angle, int graph, int transparent, int mirror),
              (x, y, scale, angle, graph, transparent, mirror))
RECORDED_CALL(DrawGraphMirrored, _Z17DrawGraphMirrorediiii, int, (int x, int y, int graph, int transparent),
              (x, y, graph, transparent))
RECORDED_CALL(DrawRect, _Z8DrawRectiiiiji, int, (int x1, int y1, int x2, int y2, std::uint32_t colour, int fill),
              (x1, y1, x2, y2, colour, fill))
RECORDED_CALL(MakeScreenColor, _Z15MakeScreenColoriii, std::uint32_t, (int r, int g, int b), (r, g, b))
RECORDED_CALL(FreeGraph, _Z9FreeGraphii, int, (int graph, int logFlag), (graph, logFlag))
RECORDED_CALL(DrawLineSegment, _Z15DrawLineSegmentiiiij, int,
              (int x1, int y1, int x2, int y2, std::uint32_t colour), (x1, y1, x2, y2, colour))

namespace {

// A frame starts on the cleared draw target (or after the present before it).
void StartDrawnFrame() {
  Recorder& recorder = State();
  recorder.frameFrom = recorder.log.size();
  recorder.frameLogged = recorder.drawing;
}

// A present ends the frame: its drawing calls become the frame before.
void EndDrawnFrame() {
  Recorder& recorder = State();
  recorder.frameBefore.clear();
  if (recorder.frameLogged) {
    std::copy_if(recorder.log.begin() + static_cast<std::ptrdiff_t>(std::min(recorder.frameFrom, recorder.log.size())),
                 recorder.log.end(), std::back_inserter(recorder.frameBefore),
                 [](const RecordedCall& entry) { return IsDrawing(entry.call); });
  }
  StartDrawnFrame();
}

}  // namespace

// Calls without arguments.
extern "C" void __real__Z11NewGameInitv();
extern "C" void __wrap__Z11NewGameInitv() { Record(Call::NewGameInit, __real__Z11NewGameInitv); }
extern "C" int __real__Z15ClearDrawTargetv();
extern "C" int __wrap__Z15ClearDrawTargetv() {
  StartDrawnFrame();
  return Record(Call::ClearDrawTarget, __real__Z15ClearDrawTargetv);
}
extern "C" int __real__Z13WriteSaveDatav();
extern "C" int __wrap__Z13WriteSaveDatav() { return Record(Call::WriteSaveData, __real__Z13WriteSaveDatav); }

bool RecordWrappedCall(Call call) {
  if (call == Call::PresentScreen) EndDrawnFrame();
  if (IsDrawing(call) && !LogsDrawing()) return true;
  ShowDrawn(Log(call, {}));
  return Forwards(call);
}

// A drawing call logged with a text of its own (the text drawn, a file's name).
template <typename Real>
int DrawLoggedWithText(Call call, std::initializer_list<double> arguments, const char* text, Real real) {
  if (!LogsDrawing()) return real();
  const std::size_t entry = Log(call, arguments);
  State().log[entry].text = text;
  if (!Forwards(call)) return State().scriptedResult[static_cast<int>(call)];
  State().log[entry].result = real();
  ShowDrawn(entry);
  return State().log[entry].result;
}

// The text calls, logged with their text; the formatted one is formatted here (as the
// library does, within 1024 bytes) and drawn by the plain one with edge colour 0.
extern "C" int __real__Z10DrawTextAtiiPKcjj(int x, int y, const char* text, std::uint32_t colour,
                                           std::uint32_t edgeColour);

int DrawLoggedText(Call call, std::initializer_list<double> arguments, int x, int y, const char* text,
                   std::uint32_t colour, std::uint32_t edgeColour) {
  return DrawLoggedWithText(call, arguments, text,
                            [&] { return __real__Z10DrawTextAtiiPKcjj(x, y, text, colour, edgeColour); });
}

extern "C" int __wrap__Z10DrawTextAtiiPKcjj(int x, int y, const char* text, std::uint32_t colour,
                                           std::uint32_t edgeColour) {
  return DrawLoggedText(Call::DrawTextAt, {static_cast<double>(x), static_cast<double>(y), static_cast<double>(colour),
                                           static_cast<double>(edgeColour)},
                        x, y, text, colour, edgeColour);
}

extern "C" int __wrap__Z17DrawFormattedTextiijPKcz(int x, int y, std::uint32_t colour, const char* format, ...) {
  char text[1024];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  return DrawLoggedText(Call::DrawFormattedText,
                        {static_cast<double>(x), static_cast<double>(y), static_cast<double>(colour)}, x, y, text,
                        colour, 0);
}

// A picture drawn straight from its file (the loading picture), logged with the file.
extern "C" int __real__Z15DrawGraphFileAtiiPKci(int x, int y, const char* file, int transparent);
extern "C" int __wrap__Z15DrawGraphFileAtiiPKci(int x, int y, const char* file, int transparent) {
  return DrawLoggedWithText(Call::DrawGraphFileAt,
                            {static_cast<double>(x), static_cast<double>(y), static_cast<double>(transparent)}, file,
                            [&] { return __real__Z15DrawGraphFileAtiiPKci(x, y, file, transparent); });
}

// The picture loads: each handle noted with its file and cell, the call logged with
// the file as its text and the first handle as its result.
void NoteGraphs(Call call, std::initializer_list<double> arguments, const char* file, const int* handles, int count) {
  const std::string path = file == nullptr ? "" : file;
  const std::string name = path.substr(path.find_last_of("\\/") + 1);
  for (int cell = 0; cell < count; ++cell) {
    if (handles[cell] >= 0) State().graphs[handles[cell]] = {name, cell};
  }
  if (!State().drawing) return;
  const std::size_t entry = Log(call, arguments);
  State().log[entry].text = path;
  State().log[entry].result = count > 0 ? handles[0] : -1;
}

extern "C" int __real__Z13LoadGraphFilePKc(const char* file);
extern "C" int __wrap__Z13LoadGraphFilePKc(const char* file) {
  const int graph = __real__Z13LoadGraphFilePKc(file);
  NoteGraphs(Call::LoadGraphFile, {}, file, &graph, 1);
  return graph;
}

extern "C" int __real__Z16LoadDivGraphFilePKciiiiiPi(const char* file, int count, int across, int down, int width,
                                                      int height, int* handles);
extern "C" int __wrap__Z16LoadDivGraphFilePKciiiiiPi(const char* file, int count, int across, int down, int width,
                                                      int height, int* handles) {
  const int result = __real__Z16LoadDivGraphFilePKciiiiiPi(file, count, across, down, width, height, handles);
  if (result == 0) {
    NoteGraphs(Call::LoadDivGraphFile,
               {static_cast<double>(count), static_cast<double>(across), static_cast<double>(down),
                static_cast<double>(width), static_cast<double>(height)},
               file, handles, count);
  }
  return result;
}

namespace {
CallRunner hudRunner = [](void (*real)()) { real(); };
CallRunner objectsRunner = hudRunner;
CallRunner& RunnerOf(Call pass) { return pass == Call::DrawHud ? hudRunner : objectsRunner; }
}  // namespace

// A drawing pass of the frame, logged before and after it draws.
#define DRAW_PASS(pass, mangled)                        \
  extern "C" void __real_##mangled();                   \
  extern "C" void __wrap_##mangled() {                  \
    if (LogsDrawing()) ShowDrawn(Log(Call::pass, {1})); \
    RunnerOf(Call::pass)(__real_##mangled);             \
    if (LogsDrawing()) ShowDrawn(Log(Call::pass, {0})); \
  }

DRAW_PASS(DrawHud, _Z7DrawHudv)
DRAW_PASS(DrawObjects, _Z11DrawObjectsv)

void RunDrawPassThrough(Call pass, CallRunner runner) { RunnerOf(pass) = runner; }

const GraphPicture* PictureOfGraph(int graph) {
  const auto found = State().graphs.find(graph);
  return found == State().graphs.end() ? nullptr : &found->second;
}

void ObserveDrawing(DrawingObserver observer) { State().drawingObserver = std::move(observer); }

// The random generator: its draws are counted from the seed and may be scripted.
extern "C" int __real__Z13RandomInRangei(int max);
extern "C" int __real__Z10SeedRandomj(std::uint32_t seed);

extern "C" int __wrap__Z13RandomInRangei(int max) {
  ++State().drawsSinceSeed;
  return Record(Call::RandomInRange, +[](int m) { return ScriptedDraw(m, __real__Z13RandomInRangei); }, max);
}

extern "C" int __wrap__Z10SeedRandomj(std::uint32_t seed) {
  State().drawsSinceSeed = 0;
  return __real__Z10SeedRandomj(seed);
}

void PrintTo(const RecordedCall& call, std::ostream* out) {
  *out << CallName(call.call) << '(';
  for (int i = 0; i < call.argumentCount; ++i) *out << (i > 0 ? ", " : "") << call.arguments[i];
  if (!call.text.empty()) *out << ", \"" << call.text << '"';
  *out << ") = " << call.result << " @frame " << call.frame;
}

const char* CallName(Call call) { return kCallKinds[static_cast<int>(call)].name; }

void ClearCallLog() {
  Recorder& recorder = State();
  recorder.log.clear();
  recorder.frameStart = 0;
  recorder.frame = 0;
  recorder.frameFrom = 0;
  recorder.frameLogged = false;
  recorder.frameBefore.clear();
}

void ResetCallRecorder() {
  ClearCallLog();
  Recorder& recorder = State();
  std::fill(std::begin(recorder.forwarding), std::end(recorder.forwarding), true);
  std::fill(std::begin(recorder.scriptedResult), std::end(recorder.scriptedResult), 0);
  recorder.creationsOccupySlots = false;
  ScriptRandom(RandomScript::Real);
  recorder.drawing = false;
  recorder.drawingObserver = nullptr;
  recorder.keepLog = true;
}

void KeepCallLog(bool keep) { State().keepLog = keep; }

void RecordDrawing(bool on) { State().drawing = on; }

const std::vector<RecordedCall>& DrawingOfTheFrameBefore() { return State().frameBefore; }

const std::vector<RecordedCall>& CallLog() { return State().log; }

std::vector<RecordedCall> CallsOf(Call call) {
  std::vector<RecordedCall> calls;
  for (const RecordedCall& entry : State().log) {
    if (entry.call == call) calls.push_back(entry);
  }
  return calls;
}

void SetForwarding(Call call, bool forward) { State().forwarding[static_cast<int>(call)] = forward; }

void SetCreationsOccupySlots(bool occupy) { State().creationsOccupySlots = occupy; }

void SetScriptedResult(Call call, int result) { State().scriptedResult[static_cast<int>(call)] = result; }

void ScriptRandom(RandomScript script, std::vector<int> listed) {
  Recorder& recorder = State();
  recorder.randomScript = script;
  recorder.listedDraws = std::move(listed);
  recorder.nextListedDraw = 0;
}

int RandomDrawsSinceSeed() { return State().drawsSinceSeed; }

std::uint64_t HashOfFrameCalls(const CallHashView& view) {
  const Recorder& recorder = State();
  std::uint64_t hash = 0;
  for (std::size_t i = recorder.frameStart; i < recorder.log.size(); ++i) {
    if (!kCallKinds[static_cast<int>(recorder.log[i].call)].hashed) continue;
    RecordedCall call = recorder.log[i];
    if (view && !view(call)) continue;
    FoldIntoHash(hash, &call.call, sizeof call.call);
    FoldIntoHash(hash, call.arguments.data(), sizeof(double) * call.argumentCount);
    FoldIntoHash(hash, &call.result, sizeof call.result);
  }
  return hash;
}

std::uint64_t EndRecordedFrame(const CallHashView& view) {
  const std::uint64_t hash = HashOfFrameCalls(view);
  Recorder& recorder = State();
  if (!recorder.keepLog) recorder.log.clear();
  recorder.frameStart = recorder.log.size();
  recorder.frameFrom = std::min(recorder.frameFrom, recorder.log.size());
  ++recorder.frame;
  return hash;
}

int RecordedFrame() { return State().frame; }

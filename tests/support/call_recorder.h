// The game's calls of chosen functions, recorded in one ordered log with their
// arguments. The linker sends the calls here (--wrap, added to a test program by
// vantorel_wrap_game_calls); each call still reaches the real function unless a test
// turns forwarding off for its kind, and then returns the kind's scripted result.
//
// Adding a call: one X line in RECORDED_CALL_KINDS below and one RECORDED_CALL line
// in call_recorder.cpp (its mangled name gives the link flag).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

// name, whether the call counts in the frame hash. Rumble only starts in a game being
// recorded, not in its playback, so it stays out of the hash.
#define RECORDED_CALL_KINDS(X) \
  X(CreateObject, true)        \
  X(SpawnDeathEffects, true)   \
  X(PlaySe, true)              \
  X(RandomInRange, true)       \
  X(StartSound, true)          \
  X(SetSoundVolume, true)      \
  X(IsSoundPlaying, true)      \
  X(StartPadRumble, false)     \
  X(StopPadRumble, false)      \
  X(PlaySeIfIdle, true)        \
  X(VibratePad, true)          \
  X(SpawnScorePopup, true)     \
  X(CaptureDamageFlash, true)  \
  X(RequestSlowdown, true)     \
  X(NewGameInit, false)        \
  X(WriteSaveData, false)      \
  DRAWING_CALL_KINDS(X)

// The drawing calls: logged only while a test asks for them (RecordDrawing), and
// never hashed, so that how a frame looks does not enter the replay digests.
#define DRAWING_CALL_KINDS(X)  \
  X(SetBlendMode, false)       \
  X(DrawGraphAt, false)        \
  X(DrawGraphRotated, false)   \
  X(DrawGraphMirrored, false)  \
  X(DrawRect, false)           \
  X(MakeScreenColor, false)    \
  X(DrawFormattedText, false)  \
  X(DrawLineSegment, false)    \
  X(FreeGraph, false)          \
  X(PresentScreen, false)      \
  X(ClearDrawTarget, false)    \
  X(DrawTextAt, false)         \
  X(LoadGraphFile, false)      \
  X(LoadDivGraphFile, false)   \
  X(DrawHud, false)            \
  X(DrawObjects, false)        \
  X(DrawGraphFileAt, false)

enum class Call {
#define RECORDED_CALL_ENUM(name, hashed) name,
  RECORDED_CALL_KINDS(RECORDED_CALL_ENUM)
#undef RECORDED_CALL_ENUM
};

constexpr int kMaxRecordedArguments = 8;

struct RecordedCall {
  Call call;
  int frame;  // the recorder's frame count when the call was made
  int argumentCount;
  std::array<double, kMaxRecordedArguments> arguments;
  int result;  // 0 for calls without one
  std::string text;  // the text drawn, or the file of a picture loaded

  int Int(int argument) const { return static_cast<int>(arguments[argument]); }
};

// GoogleTest prints a call as "PlaySe(91, 255) = 0 @frame 3".
void PrintTo(const RecordedCall& call, std::ostream* out);
const char* CallName(Call call);

// Empties the log and the frame hash, frame count 0; forwarding and scripts stay.
void ClearCallLog();
// ClearCallLog, and every kind forwards again, random draws are real, results 0.
void ResetCallRecorder();

const std::vector<RecordedCall>& CallLog();
std::vector<RecordedCall> CallsOf(Call call);

// Whether the drawing calls are logged (off at the start and after a reset).
void RecordDrawing(bool on);
// The drawing calls of the frame presented last (from its cleared draw target, or from
// the present before it), when they were logged all through it; none when they were not.
const std::vector<RecordedCall>& DrawingOfTheFrameBefore();

// The picture a graph handle was loaded from: the file's name (without its folder) and
// the cell of a cell table (0 for a single picture); null for a handle no load gave.
// Kept for every load, logged or not.
struct GraphPicture {
  std::string file;
  int cell;
};
const GraphPicture* PictureOfGraph(int graph);

// Called with each drawing call while they are logged: after the call was made, and for
// PresentScreen just before it. The two drawing passes of a frame, DrawObjects and
// DrawHud, are logged twice each, before the pass draws (argument 1) and after it (0).
using DrawingObserver = std::function<void(const RecordedCall& call)>;
void ObserveDrawing(DrawingObserver observer);

// Runs the real drawing pass (Call::DrawObjects or Call::DrawHud) inside its logged
// bounds: called plainly, unless a benchmark times it through this.
using CallRunner = void (*)(void (*real)());
void RunDrawPassThrough(Call pass, CallRunner runner);

// Off: calls of the kind are logged only and return the kind's scripted result.
void SetForwarding(Call call, bool forward);
// On: a CreateObject that is not forwarded still takes the first free pool slot with
// an active effect record at its place, as a template would. Reset turns it off.
void SetCreationsOccupySlots(bool occupy);
void SetScriptedResult(Call call, int result);

// What RandomInRange returns: the real generator's draw; 0; the maximum asked for; or
// the listed values in turn, the real draws after the list.
enum class RandomScript { Real, Zero, Max, Listed };
void ScriptRandom(RandomScript script, std::vector<int> listed = {});
// Draws since the generator was last seeded (scripted draws included).
int RandomDrawsSinceSeed();

// Logs a call that another support module wraps (PresentScreen, by the frame saving):
// whether the call is to be made (forwarded).
bool RecordWrappedCall(Call call);

// Off: each end of a frame empties the log, so a long run keeps only its current frame
// (on at the start and after a reset).
void KeepCallLog(bool keep);

// Sees each hashed call of the frame before it is hashed: false leaves it out; it may
// rewrite the call's arguments (a handle by a name that stays the same from run to run).
using CallHashView = std::function<bool(RecordedCall& call)>;

// A hash of the hashed calls made since the frame's start (their kinds, arguments and
// results, in order; 0 when there were none); the frame goes on.
std::uint64_t HashOfFrameCalls(const CallHashView& view = {});
// Ends the recorder's frame: returns HashOfFrameCalls and counts the frame.
std::uint64_t EndRecordedFrame(const CallHashView& view = {});
int RecordedFrame();

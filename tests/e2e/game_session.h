// The real program, started in-process: in a scratch folder that holds the generated
// data, headless, on the virtual clock. A test steps the frame loop one pass at a
// time with the input it chooses.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "../support/scratch_directory.h"
#include "frame_digest.h"

struct Canvas;

// Pad bits of the default key configuration.
constexpr int kPadUp = 8;
constexpr int kPadDown = 1;
constexpr int kPadLeft = 2;
constexpr int kPadRight = 4;
constexpr int kPadFire = 32;     // action 1: decide, shot
constexpr int kPadSecond = 16;   // action 2: cancel, second shot
constexpr int kPadSpecial = 64;  // action 3
constexpr int kPadFacing = 128;  // action 4
constexpr int kPadPause = 256;   // action 5

// How the library draws: through its device, or into in-memory images.
enum class DrawingPath { kDevice, kSoftware };

class GameSession {
 public:
  GameSession();
  ~GameSession();
  GameSession(const GameSession&) = delete;
  GameSession& operator=(const GameSession&) = delete;

  // The program's start-up on the drawing path: 0, or -1 when the library did not start.
  int Start(DrawingPath path = DrawingPath::kDevice);
  // One pass of the frame loop with `padWord` held: false once the loop has ended.
  bool Pass(int padWord = 0, bool escape = false, bool backspace = false);
  // `frames` passes with the same input; false when the loop ended on the way.
  bool Hold(int padWord, int frames);
  // A fresh press: one pass with the word held, then one with nothing.
  bool Press(int padWord);
  // Shuts the program down (the destructor does it otherwise).
  void End();

  const ScratchDirectory& folder() const { return scratch_; }
  // Puts a picture of the session's own under `name` in its data folder, in place of the
  // generated one (the others stay shared); the game sees it at its next load of the file.
  void UsePicture(const std::string& name, const Canvas& picture);
  // The passes made since start-up.
  int passes() const { return passes_; }

  // `change` is applied before the pass that reads replay frame `frame`, in a
  // recording and in every playback of this session alike.
  void AtReplayFrame(int frame, std::function<void()> change);

  // Saves the frame of the first pass after which `when` holds, as SaveFrame does.
  void SaveFrameWhen(std::function<bool()> when, std::string name);

  // The session that the results helpers drive: the one made last.
  static GameSession& Current();

 private:
  struct ReplayFrameChange {
    int frame;
    std::function<void()> change;
  };

  struct PendingFrame {
    std::function<bool()> when;
    std::string name;
  };

  ScratchDirectory scratch_;
  bool started_ = false;
  int passes_ = 0;
  std::vector<ReplayFrameChange> replayFrameChanges_;
  std::vector<PendingFrame> pendingFrames_;
};

// ---- Playing a game and its replay ----

// Called after each pass of play, before its digest, with the frame's number counted
// from 0 at the first frame of play; a playback calls it at the same frame numbers.
using FrameHook = std::function<void(int frame)>;

// Held input for a number of frames.
struct ScriptSegment {
  int frames;
  int padWord;
};

// Starts the program on a fresh save file's progress, whatever an earlier session of
// this process left: no total level (or the one given), no plays, default boards; on the
// drawing path given.
void StartWithAFreshSave(GameSession& game, int totalLevel = 0, DrawingPath path = DrawingPath::kDevice);
// Starts the program with a save file of these 90 words in its folder.
void StartWithSaveWords(GameSession& game, const std::vector<int>& words, DrawingPath path = DrawingPath::kDevice);

// ---- Driving the menus by pad words ----

// Passes with `padWord` held until `done` holds after a pass: the number of passes
// taken, or -1 (and a test failure) when `frameLimit` passes did not get there.
int PassUntil(GameSession& game, const std::function<bool()>& done, int frameLimit, int padWord = 0);
// From the title sequence (or the title again, or a fade back into the menu) to the
// standing main menu, skipping what can be skipped; no button is held afterwards.
void ToMainMenu(GameSession& game);

// A loadout by shot codes (level 0) and option numbers.
struct Loadout {
  int mainShot = 10;
  int secondShot = 10;
  int optionShot = 0;
  int optionType = 0;
};
// From the main menu: the game mode's item, then the loadout row by row, to the first
// frame of play (the next pass is the recording's first frame).
void StartRun(GameSession& game, int mode, const Loadout& loadout = {});
// From the title: the records item, the replay tab, the slot's row and decide. True
// when the playback started (the next pass is its first frame).
bool PlayReplay(GameSession& game, int slot);

// ---- Playing a game and its replay ----

// From the title into play in game mode 0 with these shot types (the loadout page's
// own choice is replaced before the first frame of play, in the game and in the
// recording's header). The next pass is the recording's first frame; the call log
// starts empty.
void StartAGame(GameSession& game, int mainShot = 10, int secondShot = 10);
// Plays the segments in turn and returns the frames' digests; stops early when the
// game leaves play.
std::vector<FrameDigest> PlayScript(GameSession& game, const std::vector<ScriptSegment>& script,
                                    const FrameHook& hook = {});
// The pause, then actions 1 and 3 held together: the run quits to the title.
std::vector<ScriptSegment> QuitThroughThePause();
// Seeded random play: a move held for 10 to 40 frames, fire held through most moves,
// the second shot, the special action and the facing turn pressed now and then. The
// pause stays off: its menu can end the run.
std::vector<ScriptSegment> RandomPlay(int frames, unsigned seed);
// What the player's shots would do to a stage's waves: every enemy of the group, in
// any state, is freed.
void ClearEnemies(int group);
// A hit on the last life: the player dies on the next pass. Given to AtReplayFrame, so
// that a playback loses it at the same frame.
void LoseLastLife();
// Ends the recording here and saves it to a slot on the results' save page as "AAA",
// then leaves the results to the title, their waits shortened.
void SaveTheRecording(int slot);

// ---- The results (of the current session) ----

// From the game over: waits for the continue question and answers it; NO leads on
// to the results.
void AnswerContinue(bool yes);
// Passes until the pages can be changed (the emblem angle past 0.2); `shortened` first
// turns the emblem to just before that.
void AwaitResultsNavigation(bool shortened = false);
// On the statistics page: its figures as one pass draws them, the rows that a replay's
// results show too (not the total level and total play time).
std::vector<std::string> FiguresShown();
// From a results page: the save page, the slot's row, YES and the three letters of
// `name` (A to Z or '_'). True when the slot was written.
bool SaveReplay(int slot, const char* name);
// From a results page: the rankings page, decide, the fade-out and the closing picture
// held away, to the title. `shortened` moves the fades' counters near their ends.
void LeaveResults(bool shortened = false);
// The replay browser: plays the slot to its end and returns the digests of all its
// frames, then takes the pass that opens its results (a game mode 1 run that reached
// the ending is in the ending instead). The call log starts empty at its first frame;
// `livePadWord` is the pad held meanwhile; `beforeFrame` runs before each pass of the
// playback with its frame number.
std::vector<FrameDigest> PlayBack(GameSession& game, int slot, const FrameHook& hook = {}, int livePadWord = 0,
                                  const FrameHook& beforeFrame = {});

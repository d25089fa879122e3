// Replay files "VTReplaydata01.dat" to "VTReplaydata09.dat": a 19-word header, one
// InputWord per frame and 300 words of 0, all little-endian. Recording and playback
// of the replay buffer, and the replay list the menus show.
#pragma once

#include <string>

#include "core/game_state.h"

constexpr int kReplayHeaderWords = 19;
constexpr int kReplayTrailerWords = 300;

// The whole header of a replay file, field by field in the game's terms.
struct ReplayFileHeader {
  ReplayListEntry list;  // words 1..12
  int facingLockControl;
  int keyMap[5];
  int frameCount;
};

std::string ReplayFileName(int slot);

// Reads words 1-12 of every slot's file into ReplayList (a missing file leaves its
// entry as it was). With the control words, words 13-18 also go to
// SavedFacingLockControl and the key words of ReplayHeader, as at start-up.
void LoadReplayList(bool withControlWords);

// Recording (ReplayMode 1): a fresh 360000-word buffer. Playback (ReplayMode 2): the
// frames of ReplaySlot's file; when it cannot be read or holds a loadout the game
// cannot record, the program is told to quit.
void BeginReplayIo();
// Recording: writes the replay to ReplaySlot and re-reads the list (-1 when nothing
// could be written, which is logged and said on standard error). A file in the slot
// that cannot be read as it stands is first moved aside ("VTReplaydata0N.unreadable.dat",
// N the slot); one that could not be read for a reason that may pass, or cannot be
// moved, stays and nothing is written; so does one read-only by its mode, a link of
// another user (which the list shows as empty), and one that can be read now but that
// the list could not read when it was last loaded (the player saw an empty slot).
// Playback: ends it once the current pass has run to its end, so the pass that used
// the last word runs the same steps as in the recording.
int FinishReplay();
// At the start of a pass: a playback ended in the pass before enters its results.
void EndPlaybackIfDue();
// A playback whose run goes on into the ending ends there instead: the viewer watches
// the ending with their own controls, and its results follow it.
void EndPlaybackIntoTheEnding();
// Starts playing ReplaySlot; a missing, empty or damaged file sets ReplaySlot to 10
// instead.
void StartReplayPlayback();

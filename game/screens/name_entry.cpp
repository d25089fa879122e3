// The save page's confirmation and the three-letter name: letters A to Z and '_' in a
// ring, stepped by up and down with a repeat while held.
#include "core/game_state.h"
#include "core/input.h"
#include "core/sound_control.h"
#include "game_library.h"
#include "screens/menu_common.h"
#include "screens/results.h"

namespace {

constexpr int kBitUp = 0, kBitDown = 1;
constexpr int kRepeatEvery = 6;
constexpr int kFirstLetterCode = 'A';
constexpr int kLastLetterCode = 'Z';
constexpr int kBlankCode = '_';
constexpr int kNameY = 522;


void ConsumeDecide() {
  ActionHold[kActionFire] = 0;
  ActionHold[kActionSpecial] = 0;
}

int NextLetter(int letter) {
  if (letter == kLastLetterCode) return kBlankCode;
  if (letter == kBlankCode) return kFirstLetterCode;
  return letter + 1;
}

int PreviousLetter(int letter) {
  if (letter == kFirstLetterCode) return kBlankCode;
  if (letter == kBlankCode) return kLastLetterCode;
  return letter - 1;
}

// The first frame held, then every sixth: the count starts again after six.
bool Repeats(int bit) {
  const bool acts = BitHold[bit] == 1;
  if (BitHold[bit] >= kRepeatEvery) BitHold[bit] = 0;
  return acts;
}

void DrawConfirmation() {
  DrawFormattedText(260, 482, White(), "OK?     YES    /    NO");
  if (SaveChoice() == kChoiceYes) DrawGraphAt(285, 426, SelectionMarker(), 1);
  if (SaveChoice() == kChoiceNo) DrawGraphAt(385, 426, SelectionMarker(), 1);
}

// "OK?" of both steps: left and right choose, a decide on NO goes back to the list,
// a decide on YES goes on as `yes` says.
void Confirmation(void (*yes)()) {
  DrawConfirmation();
  if (SaveChoice() == kChoiceYes) {
    if (Decide()) {
      PlaySe(kSeDecide, 255);
      yes();
    } else if (Right()) {
      SetSaveChoice(kChoiceNo);
    }
  } else if (SaveChoice() == kChoiceNo) {
    if (Decide()) {
      SetSaveStep(kSlotList);
      PlaySe(kSeBack, 255);
      ConsumeDecide();
      NameEntryLetter = kFirstLetterCode;
    } else if (Left()) {
      SetSaveChoice(kChoiceYes);
    }
  }
}

// The press goes on to the name entry below, which starts at once.
void ToNameEntry() { SetSaveStep(kNameEntry); }

void StartName() {
  SetSaveChoice(kFirstLetter);
  PlayerName[0] = PlayerName[1] = PlayerName[2] = NameEntryLetter = kFirstLetterCode;
  ConsumeDecide();
}

void DrawName(int letterPlace) {
  DrawFormattedText(260, kNameY, White(), "NAME ENTRY");
  DrawFormattedText(360, kNameY, White(), "___");
  for (int place = 0; place < letterPlace; ++place) {
    DrawFormattedText(360 + 10 * place, kNameY, White(), "%c", PlayerName[place]);
  }
  DrawFormattedText(360 + 10 * letterPlace, kNameY, White(), "%c", NameEntryLetter);
}

void ChooseLetter() {
  const int place = SaveChoice() - kFirstLetter;  // 0..2
  if (Repeats(kBitUp)) NameEntryLetter = NextLetter(NameEntryLetter);
  if (Repeats(kBitDown)) NameEntryLetter = PreviousLetter(NameEntryLetter);
  if (Back()) {
    SetSaveChoice(SaveChoice() - 1);
  } else if (Decide()) {
    PlayerName[place] = NameEntryLetter;
    PlaySe(kSeDecide, 255);
    if (SaveChoice() == kLastLetter) {
      SetSaveStep(kWriting);
      SetSaveChoice(kChoiceYes);
    } else {
      SetSaveChoice(SaveChoice() + 1);
      ConsumeDecide();
      NameEntryLetter = kFirstLetterCode;
    }
  }
}

void ConfirmationAndName() {
  if (SaveChoice() < kFirstLetter) {
    Confirmation(StartName);
  } else {
    DrawConfirmation();
    ChooseLetter();
  }
  if (SaveStep() == kNameEntry && SaveChoice() >= kFirstLetter) DrawName(SaveChoice() - kFirstLetter);
}

}  // namespace

void NameEntry() {
  if (SaveStep() == kFirstConfirmation) Confirmation(ToNameEntry);
  if (SaveStep() == kNameEntry) ConfirmationAndName();
}

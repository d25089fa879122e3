// What the title menu's pages share: the input terms, the menu sound effects, blending
// by a computed parameter, the title pictures, the scrolling backdrop, the menu frame
// and lines, the way back into the main menu and the practice reset.
#pragma once

#include <span>

#include "game_library.h"

// The title set of StageImages.
enum TitlePicture : int {
  kPictureBackdrop = 0,
  kPictureTitleBase = 1,    // "title01-01"
  kPictureTitleBuild = 2,   // "title02-01"
  kPictureTitleFront = 3,   // "title03-01"
  kPictureTitleLogo = 4,    // "title04-01"
  kPicturePrompt = 5,
  kPictureMenuFrame = 6,
  kPictureModePanel = 7,
  kPictureTotalPanel = 8,
  kPictureOptions0 = 9,
  kPictureOptions1 = 10,
  kPictureRowBar = 11,
  kPictureRecords = 12,
  kPictureReplays = 13,
  kPictureMenuLineTop = 14,
  kPictureMenuLineBottom = 15,
  kPictureControls = 16,
  kPictureTitleGlow = 17,   // "title01-03"
  kPicturePractice = 18,
};

// Menu sound effects.
enum MenuSound : int { kSeDecide = 0, kSeCursor = 1, kSeBack = 2, kSeGameStart = 3 };


// Image set 3 cell 30: the marker of a chosen value or tab.
int SelectionMarker();

// Presses of this frame (a count of 1); no key repeat.
bool Decide();
bool Back();
bool ManualKey();
bool Up();
bool Down();
bool Left();
bool Right();
// Raises a direction's count so the same press is not read again this frame.
void ConsumeLeft();
void ConsumeRight();

// Up and down move `row` along the rows in `order`, wrapping at both ends; a row
// outside the order stays.
void MoveAlongRows(int& row, std::span<const int> order);
// Starts a menu sound effect once from its beginning, at the handle's own volume.
void PlayMenuSe(int se);
// Sets the blend with a parameter computed in floating point and truncated.
void Blend(int mode, double parameter);
void DrawTitlePicture(int picture, int x, int y);
// The white text of the menus.
unsigned White();

// Pages 3 to 20 start with it: scroll, darken at the end of the cycle, jump.
void BackdropStep();
// The menu frame at (0, 490), and the two lines additively.
void DrawMenuFrame(double alpha);
void DrawMenuLines(double alpha, double topY, double bottomY);
// Page 5 with the slide-in from 26.
void SlideIntoMenu();
// The practice start values as the main menu and the practice page reset them.
void ResetPracticeValues();
// Three white lines while the measured frame rate is below 40.
void DrawLowFrameRateNotice();

// Title pages by number; one file per screen defines them.
void RunIntroPage(int page);    // 0 to 4, 11
void RunMainMenuPage(int page); // 5, 6, 9, 10, 12, 20
void RunOptionsPage(int page);  // 7, 8
void RunRecordsPage(int page);  // 13, 14, 15, 18, 19
void RunPracticePage(int page); // 16, 17

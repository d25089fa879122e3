// The frame loop's calls into play that are not built yet: object drawing, the
// in-game display, the player's sprite, control and shots and the stage flow. See
// play_seams.cpp.
#pragma once

// Object drawing.
void DrawObjects();
// In-game display.
void UpdateStageTitleCard();
void DrawHud();
void DrawNumber(int x, int y, int value, int font);
void DrawNumberRight(int xRight, int y, int value, int font);
// The player.
void UpdatePlayerSprite();
void UpdatePlayerControl();
void FirePlayerShots();
// Stage flow, stage clear and shop.
void UpdateStage();

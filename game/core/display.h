// The in-game display and the drawing of play: objects by layer with popups and
// flashes, the stage title card, the HUD, the picture digit fonts, names and the
// records pages, and the shop panel's prices and backdrop.
#pragma once

// The play screen's size.
constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
// A filled box over the whole screen in the current blend.
void FillScreen(int r, int g, int b);

// Object drawing: every active record by layer, then popups, echoes, flashes, the
// stage 8 captions, the pause panel and the replay mark. Steps animations.
void DrawObjects();
// Asked by DrawObjects for each record of the pool it is about to draw (by layer, then
// the echoes): false leaves the record out of this drawing, its animation unstepped.
// Null in play; tests list and measure what is drawn with it.
extern bool (*ObjectDrawHook)(int slot);
// The manual's page while paused, over the whole screen in the pause panel's blend.
void DrawPauseManual();
// The dragon and the wing sprites drawn over it once more, as the layer pass drew them
// this frame: for a picture of the HUD laid where the dragon may fly.
void DrawDragonAgain();
// A score popup at the record's position; dropped when all 100 are busy.
void SpawnScorePopup(int slot, int value);

// The stage title card; scene 0, unpaused frames.
void UpdateStageTitleCard();
// The HUD of scene 0, after DrawObjects; also steps the display's timers.
void DrawHud();
// A 160 x 160 grab around the player, shown in a corner after a hit.
void CaptureDamageFlash();

// Numbers in picture digit font 0..3: the first digit's left edge at x, or the
// last digit's left edge at xRight. A negative value draws as 0.
void DrawNumber(int x, int y, int value, int font);
void DrawNumberRight(int xRight, int y, int value, int font);

// which 0: a game mode's name; which 1: a shot code's name.
void DrawLoadoutName(int x, int y, int which, int value);
// The button number 1..10 of a button bit, 0 for anything else.
void DrawButtonNumber(int bit, int x, int y);
void DrawRankingBoards();
void DrawPlayStatistics();

// The shop panel: sets the five next-level prices, draws them and the purse.
void DrawUpgradeCosts();
void DrawShopBackdrop();

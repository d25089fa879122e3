#include "picture_words.h"

#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "core/game_state.h"
#include "core/resource_table.h"

namespace {

constexpr Colour kGrey = {190, 192, 205};
constexpr Colour kLightGrey = {212, 214, 226};
constexpr Colour kGold = {250, 210, 70};
constexpr Colour kPaleGold = {255, 228, 150};  // for words the game fades in over its scenes
constexpr Colour kCyan = {90, 220, 250};
constexpr Colour kOrange = {250, 150, 60};
constexpr Colour kGreen = {120, 230, 120};
constexpr Colour kRed = {250, 80, 70};

constexpr Align kCentre = Align::kCentre;
constexpr Align kRight = Align::kRight;

// Cells whose words are built at start: the cells point into `texts`, which never moves them.
struct BuiltCells {
  std::deque<std::string> texts;
  std::vector<CellWords> cells;

  // `words` in the cell, saying `text`.
  void Add(int cell, PlacedWords words, std::string text) {
    words.text = texts.emplace_back(std::move(text)).c_str();
    cells.push_back({cell, CellShape::kWords, words});
  }
};

// ---- Title and main menu ------------------------------------------------------------

// The game's name, in every picture of the intro and the title that shows it: the notice,
// the title's ground (faded in over the notice, out through the build-up) and the title's
// front (faded in after the build-up); the title's glow, added through the build-up, is
// the light behind it. At one place and size, the name stays one word as they fade into
// one another. The glow sinks below the name as it fades out under the front fading in:
// a halo without letter shapes, it reads as light leaving the name at any depth, where
// any copy of the name would read as a second name below it. The title's logo layer,
// always drawn fainter than the front, stays clear.
constexpr PlacedWords kTitleName = {512, 250, "VANTOREL", 110, kCentre, kGold};
constexpr PlacedWords kTitleWords[] = {kTitleName};
// The logo fills the screen, its emblem in the middle and a caption below it, clear of
// the notice's words that fade in over it.
constexpr PlacedWords kLogoWords[] = {{512, 600, "PLACEHOLDER LOGO", 22, kCentre}};
constexpr PlacedWords kNoticeWords[] = {kTitleName,
                                        {512, 420, "All pictures and sounds are generated placeholders.", 24, kCentre}};
constexpr PlacedWords kLoadingWords[] = {{512, 350, "NOW LOADING", 48, kCentre}};
constexpr PlacedWords kPromptWords[] = {{512, 694, "PRESS X TO START", 36, kCentre}};
// The menu's two lines are added over the frame at y 475 to 495 and 735 to 755 (moving
// apart as it fades): the frame's name keeps to its top left, under the top line.
constexpr PlacedWords kMenuFrameWords[] = {{14, 504, "MAIN MENU", 14, Align::kLeft, kLightGrey}};
constexpr PlacedWords kMenuKeysWords[] = {
    {512, 360, "UP / DOWN: choose        X or C: decide", 24, kCentre},
    {512, 396, "Z: back to the title        A: manual (all the keys)", 24, kCentre},
    {512, 432, "LOCKED items open as the total level rises (8 and 16)", 20, kCentre}};

// The info panel beside the main menu: the game writes its figures right-aligned (the
// last 13-pixel digit from x) at x 867, 867 and 821 on rows 511, 543 and 568; each
// label ends left of its figure's five digits. The game adds the panel and the keys'
// lines above it at part strength: their words are white, the brightest ink added.
constexpr PlacedWords kModePanelWords[] = {
    {804, 511, "TOTAL LEVEL", 18, kRight}, {804, 543, "PLAYS OF THIS MODE", 18, kRight},
    {758, 568, "MINUTES IN THIS MODE", 18, kRight}, {446, 700, "X: start this mode", 18}};
constexpr PlacedWords kTotalPanelWords[] = {
    {804, 511, "TOTAL LEVEL", 18, kRight}, {804, 543, "PLAYS, ALL MODES", 18, kRight},
    {758, 568, "MINUTES, ALL MODES", 18, kRight}, {446, 700, "X: open the options", 18}};

constexpr CellWords kMenuLabelCells[] = {
    {0, CellShape::kWords, {14, 2, "LOCKED", 20, Align::kLeft, kGrey}},
    {0, CellShape::kWords, {100, 6, "raise the total level", 14, Align::kLeft, kGrey}},
    {1, CellShape::kWords, {14, 2, "NATURAL MODE", 20}},
    {2, CellShape::kWords, {14, 2, "TRUE MODE", 20}},
    {3, CellShape::kWords, {14, 2, "EXTRA MODE", 20}},
    {4, CellShape::kWords, {14, 2, "LONG MODE", 20}},
    {5, CellShape::kWords, {14, 2, "PRACTICE", 20}},
    {6, CellShape::kWords, {14, 2, "RECORDS & REPLAYS", 20}},
    {7, CellShape::kWords, {14, 2, "OPTIONS", 20}},
    {8, CellShape::kWords, {14, 2, "QUIT", 20}},
    {9, CellShape::kFrame, {0, 0, nullptr, 2, Align::kLeft, kGold}},
};

// ---- Options ---------------------------------------------------------------------------

// The value and sub-page markers frame 118 pixels around a word's middle, and the
// sub-page names stand 116 apart.
constexpr PlacedWords kOptionsMainWords[] = {
    {40, 18, "OPTIONS", 32, Align::kLeft, kGold},
    {240, 83, "DISPLAY, KEYS", 14, kCentre}, {356, 82, "MORE", 16, kCentre},
    {40, 121, "WINDOW MODE (next start)", 20}, {581, 123, "FULL SCREEN", 16, kCentre}, {776, 122, "WINDOW", 18, kCentre},
    {40, 171, "COLOUR DEPTH (next start)", 20}, {581, 172, "32-BIT", 18, kCentre}, {776, 172, "16-BIT", 18, kCentre},
    {40, 246, "KEY: SHOT / DECIDE", 20}, {40, 271, "KEY: SECOND SHOT + DASH / BACK", 20},
    {40, 296, "KEY: LEVEL-UP / DECIDE", 20}, {40, 321, "KEY: FACING LOCK / MANUAL", 20},
    {40, 346, "KEY: PAUSE", 20},
    {500, 248, "BUTTON", 16, Align::kLeft, kGrey}, {500, 273, "BUTTON", 16, Align::kLeft, kGrey},
    {500, 298, "BUTTON", 16, Align::kLeft, kGrey}, {500, 323, "BUTTON", 16, Align::kLeft, kGrey},
    {500, 348, "BUTTON", 16, Align::kLeft, kGrey},
    {640, 246, "Keyboard buttons: 1 = Z   2 = X   3 = C", 16, Align::kLeft, kCyan},
    {640, 271, "4 = A   5 = S   6 = D   7 = Q   8 = W", 16, Align::kLeft, kCyan},
    {640, 296, "On a key row, press the button", 16, Align::kLeft, kCyan},
    {640, 321, "that action should have.", 16, Align::kLeft, kCyan},
    {40, 396, "VERTICAL SYNC (next start)", 20}, {581, 397, "ON", 18, kCentre}, {776, 397, "OFF", 18, kCentre},
    {40, 452, "FACING LOCK", 20}, {543, 453, "A TOGGLES", 18, kCentre}, {685, 453, "HOLD A", 18, kCentre},
    {827, 454, "X LEFT, A RIGHT", 14, kCentre},
    {40, 510, "SLOWDOWN", 20}, {543, 511, "OFF", 18, kCentre}, {685, 511, "HALF", 18, kCentre},
    {827, 511, "FULL", 18, kCentre},
    {40, 544, "VIBRATION", 20}, {543, 545, "OFF", 18, kCentre}, {685, 545, "WEAK", 18, kCentre},
    {827, 545, "STRONG", 18, kCentre},
    {40, 597, "LIGHT MODE", 20}, {581, 598, "OFF", 18, kCentre}, {776, 598, "ON", 18, kCentre},
    {40, 673, "BACK  (X: save and return)", 20, Align::kLeft, kGold},
    {512, 706, "UP / DOWN: row     LEFT / RIGHT: change", 18, kCentre, kGrey}};

constexpr PlacedWords kOptionsMoreWords[] = {
    {40, 18, "OPTIONS", 32, Align::kLeft, kGold},
    {240, 83, "DISPLAY, KEYS", 14, kCentre}, {356, 82, "MORE", 16, kCentre},
    // Two of the rows open at a total level (rows 0 and 6 at y 117 + 25 k); the others
    // stay locked, and their shared label promises nothing.
    {846, 121, "opens at total level 16", 14, Align::kLeft, kGrey},
    {846, 271, "opens at total level 8", 14, Align::kLeft, kGrey},
    {40, 575, "BACK  (X: save and return)", 20, Align::kLeft, kGold},
    {40, 640, "LOCKED rows cannot be changed.", 18, Align::kLeft, kGrey},
    {40, 668, "UP / DOWN: row     LEFT / RIGHT: change", 18, Align::kLeft, kGrey}};

// The twelve further settings: cell k at (198, 117 + 25 k); the markers of value 0
// and 1 stand at x 581 and 776 on the screen.
struct SettingCaption {
  const char* name;
  const char* value0;
  const char* value1;
};
constexpr SettingCaption kMoreSettings[] = {
    {"BACKDROP LAYER", "SHOWN", "HIDDEN"},   {"MINI-MAP", "SHOWN", "HIDDEN"},
    {"HIT BOX OVERLAY", "SHOWN", "HIDDEN"},  {"TITLE PICTURES", "SET 1", "SET 2"},
    {"LAST-LIFE WARNING", "SHOWN", "HIDDEN"}, {"HUD COUNTERS", "SHOWN", "HIDDEN"},
    {"HUD SPEED PANEL", "SHOWN", "HIDDEN"},  {"HUD NOTICE", "SHOWN", "HIDDEN"},
    {"DAMAGE FLASH", "ON", "OFF"},           {"ENEMY HIGHLIGHT", "ON", "OFF"},
    {"RECORDING A", "PRESETS", "NORMAL"},    {"RECORDING B", "PRESETS", "NORMAL"}};
constexpr int kSettingCellX = 198;
constexpr int kLockedSettingCell = 17;

std::vector<CellWords> MoreSettingCells() {
  std::vector<CellWords> cells;
  int k = 0;
  for (const SettingCaption& setting : kMoreSettings) {
    cells.push_back({k, CellShape::kWords, {10, 2, setting.name, 18}});
    cells.push_back({k, CellShape::kWords, {581 - kSettingCellX, 3, setting.value0, 16, kCentre}});
    cells.push_back({k, CellShape::kWords, {776 - kSettingCellX, 3, setting.value1, 16, kCentre}});
    ++k;
  }
  cells.push_back({kLockedSettingCell, CellShape::kWords, {10, 2, "LOCKED", 18, Align::kLeft, kGrey}});
  return cells;
}

// ---- Records, replays, practice -----------------------------------------------------

#define RECORD_TABS \
  {594, 118, "RECORDS", 18, kCentre}, {719, 118, "REPLAYS", 18, kCentre}, {834, 118, "BACK", 18, kCentre}

constexpr PlacedWords kRecordsWords[] = {
    {40, 18, "RECORDS", 36, Align::kLeft, kGold}, RECORD_TABS,
    {512, 690, "LEFT / RIGHT: tabs        X: back to the menu", 18, kCentre, kGrey}};
constexpr PlacedWords kReplaysWords[] = {
    {40, 18, "REPLAYS", 36, Align::kLeft, kGold}, RECORD_TABS,
    {620, 640, "UP / DOWN: replay     X: play it", 16, Align::kLeft, kGrey},
    {620, 662, "On the BACK tab, X leaves.", 16, Align::kLeft, kGrey},
    {620, 684, "Playing: X faster, Z fastest, C slower,", 16, Align::kLeft, kGrey},
    {620, 706, "hold S to stop.", 16, Align::kLeft, kGrey}};
#undef RECORD_TABS

constexpr CellWords kRankingHeadingCells[] = {
    {0, CellShape::kWords, {8, 8, "NATURAL MODE", 30, Align::kLeft, kGold}},
    {1, CellShape::kWords, {8, 8, "TRUE MODE", 30, Align::kLeft, kGold}},
    {2, CellShape::kWords, {8, 8, "EXTRA MODE", 30, Align::kLeft, kGold}}};

// Practice rows: the bar of row r stands at y r + 44; the game writes the values from
// x 675, and each value's label ends just left of it.
constexpr PlacedWords kPracticeWords[] = {
    {40, 18, "PRACTICE", 36, Align::kLeft, kGold},
    {198, 171, "GAME MODE", 20}, {581, 172, "NATURAL", 16, kCentre}, {681, 172, "TRUE", 16, kCentre},
    {781, 172, "EXTRA", 16, kCentre},
    {660, 221, "START STAGE", 20, kRight}, {660, 271, "SHOT LEVEL", 20, kRight}, {660, 296, "OPTION LEVEL", 20, kRight},
    {660, 321, "SPEED LEVEL", 20, kRight}, {660, 346, "TURBO LEVEL", 20, kRight}, {660, 371, "LEVEL-UPS", 20, kRight},
    {198, 421, "START PRACTICE  (X)", 20, Align::kLeft, kGold}, {198, 575, "BACK  (X)", 20, Align::kLeft, kGold},
    {512, 690, "UP / DOWN: row     LEFT / RIGHT: change     X: start or back", 18, kCentre, kGrey}};

// ---- Loadout select ---------------------------------------------------------------------

constexpr PlacedWords kLoadoutWords[] = {
    {446, 6, "MAIN SHOT", 16, kCentre, kCyan}, {646, 6, "SECOND SHOT", 16, kCentre, kOrange},
    {24, 24, "LOADOUT", 32, Align::kLeft, kGold},
    {8, 468, "SHOTS", 16, Align::kLeft, kGrey}, {8, 498, "VARIANTS", 16, Align::kLeft, kGrey},
    {150, 595, "OPTION SHOT", 16, Align::kLeft, kGrey}, {150, 627, "OPTION MOVE", 16, Align::kLeft, kGrey},
    {512, 736, "ARROWS: choose     X or C: decide the row     Z: back a row", 18, kCentre, kGrey}};
// One panel from the icons' rows to the screen's bottom, the key line on it.
constexpr GroundBox kLoadoutBoxes[] = {{0, 456, 1024, 312}};

// Shot icons at x 128 n, y 462: the name on the base row, the variant mark below it on
// the variant row; option shots at y 592 and option movements at y 597 share their
// columns, one above the other. The brackets span rows 10 to 39 of their cells: drawn
// at y -10 (the tabs), 458 and 488 (shots and variants), 585 and 619 (option rows), each
// holds its row's words, and the LOCKED mark (drawn at y 462, 580 and 622) fits in all.
constexpr CellWords kLoadoutPartCells[] = {
    {0, CellShape::kBracketLeft, {64, 10, nullptr, 2, Align::kLeft, kCyan}},
    {1, CellShape::kBracketRight, {64, 10, nullptr, 2, Align::kLeft, kCyan}},
    {2, CellShape::kBracketLeft, {60, 10, nullptr, 2, Align::kLeft, kOrange}},
    {3, CellShape::kBracketRight, {60, 10, nullptr, 2, Align::kLeft, kOrange}},
    {9, CellShape::kWords, {64, 36, "variant", 15, kCentre, kGreen}},
    {10, CellShape::kWords, {64, 9, "WindForce", 16, kCentre}},
    {11, CellShape::kWords, {64, 9, "GhostFlame", 16, kCentre}},
    {12, CellShape::kWords, {64, 9, "StormSpike", 16, kCentre}},
    {13, CellShape::kWords, {64, 9, "CloudCrack", 16, kCentre}},
    {14, CellShape::kWords, {64, 9, "DragonScale", 16, kCentre}},
    {15, CellShape::kWords, {64, 9, "GoldStrike", 16, kCentre}},
    {18, CellShape::kWords, {64, 16, "LOCKED", 16, kCentre, kGrey}},
    {19, CellShape::kWords, {64, 36, "variant locked", 14, kCentre, kGrey}},
    {20, CellShape::kWords, {64, 5, "WizardSpike", 16, kCentre}},
    {21, CellShape::kWords, {64, 5, "MithrilPoint", 16, kCentre}},
    {22, CellShape::kWords, {64, 5, "LidlessWall", 16, kCentre}},
    {23, CellShape::kWords, {64, 5, "WispProjector", 16, kCentre}},
    {24, CellShape::kWords, {64, 33, "Trace", 16, kCentre}},
    {25, CellShape::kWords, {64, 33, "Formation", 16, kCentre}},
    {26, CellShape::kWords, {64, 33, "Rolling", 16, kCentre}},
    {27, CellShape::kWords, {64, 33, "Guard", 16, kCentre}}};

// The explanation panels: cells 0-11 the shots (base and variant by turns), 12-15 the
// option shots. How often each shot fires is its preview's volley and reload.
struct ShotCaption {
  const char* name;
  const char* volley;
};
constexpr ShotCaption kShotCaptions[] = {
    {"WindForce", "2 shots every 15 frames"},       {"WindForce variant", "2 shots every 10 frames"},
    {"GhostFlame", "3 shots every 12 frames"},      {"GhostFlame variant", "3 shots every 12 frames"},
    {"StormSpike", "1 shot every 3 frames"},        {"StormSpike variant", "1 shot every 3 frames"},
    {"CloudCrack", "2 shots every 35 frames"},      {"CloudCrack variant", "2 shots every 40 frames"},
    {"DragonScale", "1 shot every 2 frames"},       {"DragonScale variant", "8 shots every 38 frames"},
    {"GoldStrike", "1 shot every 60 frames"},       {"GoldStrike variant", "1 shot every 30 frames"},
    {"WizardSpike", "option shot"},                 {"MithrilPoint", "option shot"},
    {"LidlessWall", "option shot"},                 {"WispProjector", "option shot"}};

std::vector<CellWords> ShotPanelCells() {
  std::vector<CellWords> cells;
  int cell = 0;
  for (const ShotCaption& shot : kShotCaptions) {
    cells.push_back({cell, CellShape::kWords, {150, 12, shot.name, 24, kCentre, kGold}});
    cells.push_back({cell, CellShape::kWords, {150, 50, shot.volley, 18, kCentre}});
    ++cell;
  }
  return cells;
}

// The game adds the panels to the screen: their titles are white, the brightest ink added.
constexpr CellWords kMovementPanelCells[] = {
    {0, CellShape::kWords, {75, 14, "Trace", 22, kCentre}},
    {0, CellShape::kWords, {75, 50, "follows your path", 15, kCentre}},
    {1, CellShape::kWords, {75, 14, "Formation", 22, kCentre}},
    {1, CellShape::kWords, {75, 50, "keeps in formation", 15, kCentre}},
    {2, CellShape::kWords, {75, 14, "Rolling", 22, kCentre}},
    {2, CellShape::kWords, {75, 50, "circles around you", 15, kCentre}},
    {3, CellShape::kWords, {75, 14, "Guard", 22, kCentre}},
    {3, CellShape::kWords, {75, 50, "guards beside you", 15, kCentre}}};

// ---- Play: HUD, pause, tally, shop ------------------------------------------------------

// The HUD's labels are drawn over every stage's ground: white, each in its dark rim.
// Each stands on the row of the figure the game writes beside it, clear of its widest
// (a figure "right-aligned at x" has its last 8-pixel digit from x): the combos (right
// at x 341, rows 626 and 640), the level-ups' arrows (from x 329 leftwards, rows 657 to
// 677), the level (right at 270) and coins (right at 341) on row 679, the score (right at
// 341) on row 693, the EXP figure (right at 796) on row 692, the object count (from x 0)
// on row 738. The gauges' labels stand in a column from x 832, well clear of the bars and
// lives (to x 805), one to a row 20 pixels apart: the guard bar on row 630, the EXP bar on
// 650, the lives on 669 and the EXP figure on 692, below the timed notice (to y 620). The
// figure is the bar's length, the share of the next level reached: its label says so
// rather than naming EXP a second time. The map's marker frame travels x 352 to 672, y
// 639 to 735, and its label keeps left of it, above the edge markers the HUD draws along
// the screen's bottom (from y 733).
constexpr PlacedWords kHudPanelWords[] = {
    {300, 624, "GRAZE", 12, kRight},     {300, 638, "SHOOT-IN", 12, kRight},
    {238, 660, "LEVEL-UPS", 12, kRight}, {256, 677, "LEVEL / COINS", 12, kRight},
    {240, 691, "SCORE", 12, kRight},     {346, 721, "MAP", 12, kRight},
    {832, 626, "GUARD", 14}, {832, 646, "EXP", 14},
    {832, 666, "LIVES", 14}, {832, 689, "% TO NEXT LEVEL", 14},
    {40, 736, "OBJECTS", 11}};
constexpr PlacedWords kHudSpeedWords[] = {{828, 747, "SPEED", 14}};
// The counters' figures stand right-aligned at x 1000 (four digits from 976); the labels
// end at 900, leaving the replay's mark room between them.
constexpr PlacedWords kHudCounterWords[] = {
    {900, 8, "ENEMIES", 14, kRight}, {900, 30, "BULLETS", 14, kRight}, {900, 52, "COINS GOT", 14, kRight},
    {900, 74, "TIME (S)", 14, kRight}};
// The timed notice's panel (x 790 to 1020, y 580 to 620) ends above the gauges' labels.
constexpr PlacedWords kHudNoticeWords[] = {{905, 590, "STAGE START", 20, kCentre}};
// The last enemy hit: the game writes its EXP, HP, score and coins right-aligned at x
// 190 on rows 496, 516, 536 and 556, and shrinks its picture into x 16 to 88. The panel
// fades out over the stage's ground: its words white in their rim, as its figures are.
constexpr PlacedWords kLastHitWords[] = {
    {18, 482, "LAST HIT", 12}, {96, 494, "EXP", 11},
    {96, 514, "HP", 11},       {96, 534, "SCORE", 11},
    {96, 554, "COINS", 11}};
// The game blinks the warning over the play, at full strength and dimmer: white words in
// their dark rim stand out on any ground, and still in the dim phase.
constexpr PlacedWords kLastLifeWords[] = {{512, 340, "LAST LIFE!", 64, kCentre}};
// The guide has the top left corner to itself (drawn at (16, 16), to x 296 and y 168):
// the title card's words stand in the middle, the counters and notices right of x 790,
// the HUD's labels and the pause panel in the bottom band. The game adds it to the
// screen as it fades out: white, its words read to the last.
constexpr PlacedWords kControlsGuideWords[] = {
    {26, 20, "CONTROLS", 18},
    {26, 46, "Arrow keys: move", 15},
    {26, 66, "X: shot", 15},
    {26, 86, "Z (hold): second shot + dash", 15},
    {26, 106, "C: level-up", 15},
    {26, 126, "A: facing lock", 15},
    {26, 146, "S: pause, then A: manual", 15}};
// The pause panel keeps above the HUD's band (from y 624) and left of the timed notice
// (from x 790), so the HUD shows beside it, not inside it.
constexpr GroundBox kPauseBoxes[] = {{112, 571, 660, 51, BoxFill::kPanel}};
constexpr PlacedWords kPauseWords[] = {
    {140, 574, "PAUSED", 24, Align::kLeft, kGold},
    {140, 600, "S: resume    A: manual    hold X + C (2 s): quit the run", 15}};
// Over the tally the HUD writes its labels, level, coins, level-up markers and score
// (x 140 to 341, y 624 to 701), moves its map's frame and dots (to x 679, y 739), and
// puts its frame counter and object count at the bottom left and its speed panel at the
// bottom right: the panel leaves windows there, so the HUD shows beside it, not on it.
// No rim on the screen's left and bottom edges. The game writes the tally's figures
// right-aligned (the last 14-pixel digit from x): the clear time at x 704 and the extra
// at 871 on row 579, the enemies and coins at 808 on rows 608 and 638, the score at 474
// on row 676; each label stands beside its figure, clear of its widest. Left of the
// score the HUD writes its own coins, so its label follows it, as EXTRA follows its own.
// It stays in the reach of the map's frame (x 352 to 672, y 639 to 735), as the figure
// does: the HUD's coins and score fill the row left of the figure (to x 349), and the
// reach ends 184 pixels right of it, beyond the 120 a label may stand from its figure.
constexpr GroundBox kTallyBoxes[] = {{-2, 528, 1028, 242, BoxFill::kPanel},
                                     {140, 620, 540, 120, BoxFill::kWindow},
                                     {0, 730, 140, 38, BoxFill::kWindow},
                                     {818, 740, 206, 28, BoxFill::kWindow}};
constexpr PlacedWords kTallyWords[] = {
    {40, 538, "STAGE CLEAR", 28, Align::kLeft, kGold},
    {641, 581, "CLEAR TIME (S)", 14, kRight}, {894, 581, "EXTRA", 14},
    {830, 609, "ENEMIES DESTROYED", 16}, {830, 639, "COINS COLLECTED", 16}, {496, 678, "SCORE", 14},
    {984, 700, "hold Z: count faster", 14, kRight, kGrey},
    // The HUD's figures, without their panel from the stage's clear on.
    {256, 677, "LEVEL / COINS", 12, kRight}, {240, 691, "SCORE", 12, kRight},
    {40, 736, "OBJECTS", 11}};
// The shop's cursor is one cell per place, drawn over the place under it (250 x 40 at x
// 250, 500 or 750 and y 575, 615 or 655): a frame around the whole place, the place's
// name on the row of the level and price the game writes into it (their digits 47 and 87
// pixels in, or the price alone 82 in, three at most, rims on rows 16 to 32), above each
// figure what it is, clear of the digits by half its size, and what C does at the top
// right. The guard heal also shows the guard's hits, right-aligned at 224. A name keeps
// more than 120 pixels from the figures of the places beside its own. The HUD's map
// frame passes over x 352 to 672, y 639 to 735, and the words keep out of it: the lower
// row's names stand high on their figures' row (above y 639), the way on's words right
// of x 672. The cells, by place: shot, option, speed, turbo, the way on, guard heal,
// level-up.
constexpr PlacedWords kShopFrame = {0, 0, nullptr, 2, Align::kLeft, kGold};
constexpr PlacedWords kShopKey = {245, 2, "C: buy", 10, kRight};
constexpr PlacedWords kNextLevel = {54, 2, "next level", 10, kCentre};
constexpr PlacedWords kTrackPrice = {106, 2, "coins", 10, kCentre};
constexpr PlacedWords kPrice = {101, 2, "coins", 10, kCentre};
std::vector<CellWords> ShopFrameCells() {
  const std::vector<std::vector<PlacedWords>> places = {
      {{5, 15, "SHOT", 11}, kNextLevel, kTrackPrice, kShopKey},
      {{4, 14, "OPTION", 10}, kNextLevel, kTrackPrice, kShopKey},
      {{5, 15, "SPEED", 11}, kNextLevel, kTrackPrice, kShopKey},
      {{4, 14, "TURBO", 11}, kNextLevel, kTrackPrice, kShopKey},
      {{211, 5, "C: on to the", 12, kCentre}, {211, 21, "next stage", 12, kCentre}},
      {{5, 15, "GUARD HEAL", 11}, kPrice, {132, 15, "HITS", 12}, kShopKey},
      {{5, 14, "LEVEL-UP", 11}, kPrice, kShopKey}};
  std::vector<CellWords> cells;
  for (int cell = 0; cell < static_cast<int>(places.size()); ++cell) {
    cells.push_back({cell, CellShape::kFrame, kShopFrame});
    for (const PlacedWords& words : places[cell]) cells.push_back({cell, CellShape::kWords, words});
  }
  return cells;
}
// The continue cursor: a frame in the top 50 of its 60 rows, since on NO its bottom
// lies over CREDITS LEFT (y 462).
constexpr CellWords kCursorFrameCells[] = {{0, CellShape::kFrame, {0, 10, nullptr, 3, Align::kLeft, kGold}}};

// Side notices of the bonuses, by icon; the others say "BONUS". The bonus's digits stand
// at x 122 to 178, y 18 to 28: the words keep more than 8 pixels left of them, on their
// row, on one line or, when longer, on two (the second on that row). The HUD fades them
// out: white, as all its words are, they read to the end.
struct NoticeCaption {
  int icon;
  const char* text;
};
constexpr NoticeCaption kNoticeCaptions[] = {
    {1, "GUARD BONUS"},      {2, "PERFECT GUARD"},     {3, "SHOT LEVEL MAX"},   {4, "SPEED LEVEL 4"},
    {5, "SPEED LEVEL MAX"},  {6, "TURBO LEVEL 4"},     {7, "TURBO LEVEL MAX"},  {8, "OPTION LEVEL MAX"},
    {9, "GUARD HEAL MAX"},   {13, "GUARD START"},      {14, "FULL UPGRADE"},    {15, "GRAZE 2000"},
    {16, "GRAZE BONUS"},     {17, "BURST CLEAR"},      {18, "LEVEL-UP BONUS"},  {19, "LEVEL-UPS KEPT"},
    {20, "LAST LEVEL-UP"},   {23, "NO UPGRADE BONUS"}, {25, "NEW UNLOCK!"},     {30, "HEAVY KILL"},
    {31, "BURST KILLS"},     {32, "POWER BONUS"}};
constexpr int kNoticeIcons = 33;

constexpr int kNoticeSize = 14, kNoticeWidth = 104;

BuiltCells SideNoticeCells() {
  BuiltCells built;
  for (int icon = 0; icon < kNoticeIcons; ++icon) {
    std::string text = "BONUS";
    for (const NoticeCaption& caption : kNoticeCaptions) {
      if (caption.icon == icon) text = caption.text;
    }
    const PlacedWords line = {8, 13, nullptr, kNoticeSize};
    if (TextWidth(text, kNoticeSize) <= kNoticeWidth) {
      built.Add(icon, line, text);
      continue;
    }
    // Broken at the space nearest the middle.
    const std::size_t middle = text.size() / 2, before = text.rfind(' ', middle), after = text.find(' ', middle);
    const bool takeAfter = before == std::string::npos || (after != std::string::npos && after - middle < middle - before);
    const std::size_t space = takeAfter ? after : before;
    built.Add(icon, {line.x, 1, nullptr, kNoticeSize}, text.substr(0, space));
    built.Add(icon, {line.x, 15, nullptr, kNoticeSize}, text.substr(space + 1));
  }
  return built;
}

// ---- Continue, results, closing, manual ----------------------------------------------------

// YES and NO each sit inside their own place of the cursor's frame (y 371 and 411, 50
// high), clear of CREDITS LEFT under NO.
constexpr PlacedWords kGameOverWords[] = {
    {512, 150, "GAME OVER", 80, kCentre, kRed},  {512, 326, "CONTINUE?", 32, kCentre},
    {512, 382, "YES", 24, kCentre},              {512, 422, "NO", 24, kCentre},
    {540, 464, "CREDITS LEFT", 18, kRight, kGrey},
    {512, 600, "UP / DOWN: choose     X: decide", 20, kCentre, kGrey}};

// The tab marker's frame stands under the header's words (y 105 to 130, a tab's name
// between x 117 and 239 right of the tab's place): the tab names stand in it.
#define RESULT_TABS \
  {596, 108, "STATISTICS", 16, kCentre}, {721, 108, "SAVE REPLAY", 16, kCentre}, {836, 108, "RANKINGS", 16, kCentre}

// The header is added over the turning emblem: its prompt is a light grey, which keeps
// its contrast where the emblem's rings cross under it.
constexpr PlacedWords kResultsHeaderWords[] = {
    {40, 8, "RESULTS", 32, Align::kLeft, kGold}, RESULT_TABS,
    {40, 52, "LEFT / RIGHT: pages    X on RANKINGS: finish", 14, Align::kLeft, kLightGrey}};
constexpr PlacedWords kSaveHeaderWords[] = {
    {40, 8, "SAVE REPLAY", 32, Align::kLeft, kGold}, RESULT_TABS,
    {40, 52, "UP / DOWN: slot   X: save   name: UP / DOWN, X, Z", 14, Align::kLeft, kLightGrey}};
#undef RESULT_TABS

constexpr PlacedWords kClosingWords[] = {
    {512, 300, "THANK YOU FOR PLAYING", 48, kCentre, kGold},
    {512, 420, "hold X to return to the title", 24, kCentre}};

// The manual: headings, then each key with what it does in a second column.
struct ManualLine {
  const char* key;  // null for a heading
  const char* what;
};
constexpr ManualLine kManualLines[] = {
    {nullptr, "IN PLAY"},
    {"Arrow keys", "move the dragon"},
    {"X", "shot (hold to keep firing; let go to pull coins in)"},
    {"Z (hold)", "second shot, and a dash when it is ready"},
    {"C", "use a level-up"},
    {"A", "facing lock"},
    {"S", "pause: S resumes, A shows this manual,"},
    {"", "hold X + C about 2 seconds to quit the run"},
    {nullptr, "STAGE CLEAR AND SHOP"},
    {"Z (hold)", "count the tally faster"},
    {"Arrow keys", "choose an upgrade;  C buys it"},
    {"Leave", "DOWN, DOWN, then C"},
    {nullptr, "MENUS"},
    {"Arrow keys", "choose;  X or C decides;  Z goes back"},
    {"A", "this manual on the main menu (A again closes it)"},
    {"Records", "X leaves;  options and practice: their BACK row"},
    {nullptr, "REPLAYS"},
    {"X / Z / C", "faster / fastest / slower;  hold S to stop"}};

// Over the paused play the HUD draws its bottom band from y 580 and its side notices
// and counters from x 790; the pause panel (y 571) shows through while X + C fade the
// manual out. The manual keeps above and to the left of all of them.
std::vector<PlacedWords> ManualWords() {
  std::vector<PlacedWords> words = {{512, 12, "MANUAL: THE KEYS", 36, kCentre, kGold},
                                    {80, 532, "A: close the manual", 22, Align::kLeft, kGold}};
  int y = 62;
  for (const ManualLine& line : kManualLines) {
    if (line.key == nullptr) {
      y += 6;
      words.push_back({80, y, line.what, 20, Align::kLeft, kCyan});
    } else {
      if (*line.key != '\0') words.push_back({100, y, line.key, 18, Align::kLeft, kGold});
      words.push_back({250, y, line.what, 18});
    }
    y += 24;
  }
  return words;
}

// ---- Stage title cards -------------------------------------------------------------------

struct NamedWords {
  std::string name;
  std::vector<PlacedWords> words;
  std::string text;
  int y = 0;
};

// The card's first picture is drawn at y 0 and its second at y 40, crossing over while
// both show: the first's words stand above the second's.
std::vector<NamedWords> TitleCardWords() {
  std::vector<NamedWords> cards;
  for (int stage = 1; stage <= 8; ++stage) {
    for (bool variant : {false, true}) {
      cards.push_back({TitleCardName(stage, 1, variant), {}, "STAGE " + std::to_string(stage), 0});
      cards.push_back({TitleCardName(stage, 2, variant), {}, "GET READY", 40});
    }
  }
  for (int caption = 0; caption < 3; ++caption) {
    for (bool variant : {false, true}) {
      cards.push_back({Stage8CaptionName(caption, variant), {}, "STAGE 8 - PART " + std::to_string(caption + 2), 60});
    }
  }
  for (NamedWords& card : cards) card.words = {{512, card.y, card.text.c_str(), 72, kCentre}};
  return cards;
}

// ---- The ending ------------------------------------------------------------------------------

// The ending's caption pages: 15 on the right (x 570 to 970) and 13 on the left (x 60 to
// 460). The timeline shows three right pages, then a left and a right page by turns; the
// first two come before the staff roll begins, the last a while before the screen goes dark.
constexpr int kRightPages = 15, kLeftPages = 13, kEndingPages = kRightPages + kLeftPages;

int EndingTurn(bool right, int page) {
  if (!right) return 2 * page + 4;
  return page < 3 ? page + 1 : 2 * page - 1;
}

BuiltCells EndingPageCells(bool right) {
  BuiltCells built;
  const int pages = right ? kRightPages : kLeftPages;
  for (int page = 0; page < pages; ++page) {
    const int turn = EndingTurn(right, page);
    const char* moment = turn <= 2 ? "in the second scene, before the staff roll"
                         : turn == kEndingPages ? "the last page, before the dark"
                                                : "while the staff roll runs";
    built.Add(page, {200, 10, nullptr, 22, kCentre, kPaleGold},
              "ENDING PAGE " + std::to_string(turn) + " OF " + std::to_string(kEndingPages));
    built.Add(page, {200, 42, nullptr, 16, kCentre},
              std::string(right ? "right" : "left") + "-hand page " + std::to_string(page + 1) + " of " +
                  std::to_string(pages));
    built.Add(page, {200, 68, nullptr, 15, kCentre, kGrey}, moment);
  }
  return built;
}

// The staff pictures and the staff roll: cells 0 and 1 fade in and out in the dark after
// play ends, cells 2 to 24 roll one after another under the caption pages, and cells 25
// and 26 close the ending, 25 above 26 (which covers its bottom 14 rows).
struct StaffLine {
  const char* heading;
  const char* line;
};
constexpr StaffLine kStaffRoll[] = {
    {"VANTOREL", "a side-scrolling shooting game"},
    {"THE CREDITS", "the parts this game is made of"},
    {"STAFF ROLL", "the parts of this project, in turn"},
    {"PROGRAM", "the game and its stage flow"},
    {"GAME LIBRARY", "windows, drawing, sound, input, files"},
    {"DRAWING", "a software rasteriser behind the device"},
    {"TEXT", "glyphs drawn through texture caches"},
    {"SOUND", "effects and music, mixed and faded"},
    {"MOVIES", "frames drawn into a picture"},
    {"STAGES", "sixteen scripts of timetable rows"},
    {"OBJECTS", "templates of every enemy, shot and effect"},
    {"PLAY", "collisions, the HUD, the tally and the shop"},
    {"MENUS", "title, options, records, practice, loadout"},
    {"REPLAYS AND SAVES", "every run recorded, progress kept"},
    {"ARCHIVES", "the packer and its scrambled folders"},
    {"DATA GENERATOR", "every file, from the resource tables"},
    {"PICTURES", "generated placeholders that say what they are"},
    {"SOUND EFFECTS", "short generated tones"},
    {"MUSIC", "generated loops"},
    {"FONT", "IPA P Gothic, for the pictures' words"},
    {"TESTS", "whole-game runs and golden frames"},
    {"FUZZING", "pictures, sounds, archives, saves, replays"},
    {"DEMOS", "graphics, text, sound and movies"},
    {"AND YOU", "the player"},
    {"THANK YOU FOR PLAYING", ""},
    {"VANTOREL", ""},
    {"THE END", ""}};

BuiltCells StaffRollCells() {
  BuiltCells built;
  int cell = 0;
  for (const StaffLine& staff : kStaffRoll) {
    const bool alone = *staff.line == '\0';
    built.Add(cell, {250, alone ? 12 : 8, nullptr, alone ? 32 : 24, kCentre, kGold}, staff.heading);
    if (!alone) built.Add(cell, {250, 42, nullptr, 16, kCentre}, staff.line);
    ++cell;
  }
  return built;
}

// ---- Labels in sprite sheets --------------------------------------------------------------

// The frame counter's label, left of its digits at the bottom left, and the replay's mark
// (its cell drawn at (862, -6)), between the HUD counters' labels and figures.
constexpr SheetCellWords kSheetCellWords[] = {
    {"Aimage00032no2.png", 19, {2, 0, "FPS", 10}},
    {"Aimage003128.png", 9, {75, 40, "REPLAY", 16, kCentre, kRed}}};

// ---- The table ------------------------------------------------------------------------------

std::vector<PictureWords> BuildTable() {
  static const std::vector<CellWords> moreSettings = MoreSettingCells();
  static const std::vector<CellWords> shotPanels = ShotPanelCells();
  static const std::vector<CellWords> shopFrames = ShopFrameCells();
  static const std::vector<NamedWords> cards = TitleCardWords();
  static const std::vector<PlacedWords> manual = ManualWords();
  static const BuiltCells sideNotices = SideNoticeCells();
  static const BuiltCells rightPages = EndingPageCells(true);
  static const BuiltCells leftPages = EndingPageCells(false);
  static const BuiltCells staffRoll = StaffRollCells();
  std::vector<PictureWords> table = {
      {"title01-01.png", Ground::kDark, 0, 0, kTitleWords},
      {"title03-01.png", Ground::kClear, 0, 0, kTitleWords},
      {"circle.png", Ground::kEmblem, 0, 0, kLogoWords},
      {"warning04.png", Ground::kDark, 0, 0, kNoticeWords},
      {"loading04-01.png", Ground::kDark, 0, 0, kLoadingWords},
      {"loading04-02.png", Ground::kDark, 0, 0, kLoadingWords},
      {"title05-01.png", Ground::kClear, 106, 686, kPromptWords},
      {"tmode01-01.png", Ground::kPanel, 0, 490, kMenuFrameWords},
      {"sousa01-04.png", Ground::kClear, 0, 340, kMenuKeysWords},
      {"tmode05-01.png", Ground::kPanel, 430, 500, kModePanelWords},
      {"tmode04-01.png", Ground::kPanel, 430, 500, kTotalPanelWords},
      {"tmode02-02A.png", Ground::kClear, 0, 0, {}, kMenuLabelCells},
      {"titleconfig01-01.png", Ground::kClear, 0, -40, kOptionsMainWords},
      {"titleconfig02-01.png", Ground::kClear, 0, -40, kOptionsMoreWords},
      {"titleconfig05-01.png", Ground::kClear, 0, 0, {}, moreSettings},
      {"ScoreRanking01-01.png", Ground::kDark, 0, -40, kRecordsWords},
      {"Replay01-01.png", Ground::kDark, 0, -40, kReplaysWords},
      {"ScoreRanking04-01.png", Ground::kClear, 0, 0, {}, kRankingHeadingCells},
      {"ScoreRanking05-01.png", Ground::kClear, 0, 0, {}, kRankingHeadingCells},
      {"practice01-01.png", Ground::kDark, 0, -40, kPracticeWords},
      {"SelectWeaponFrame02.png", Ground::kClear, 0, 0, kLoadoutWords, {}, kLoadoutBoxes},
      {"SelectWeaponParts.png", Ground::kClear, 0, 0, {}, kLoadoutPartCells},
      {"wepsetumei01.png", Ground::kClear, 0, 0, {}, shotPanels},
      {"opsetumei01.png", Ground::kClear, 0, 0, {}, kMovementPanelCells},
      {"hudpanel01.png", Ground::kClear, 0, 592, kHudPanelWords},
      {"hudpanel02.png", Ground::kPanel, 820, 742, kHudSpeedWords},
      {"hudlabel01.png", Ground::kClear, 820, 6, kHudCounterWords},
      {"hudnotice01.png", Ground::kPanel, 790, 580, kHudNoticeWords},
      {"lasthit01.png", Ground::kPanel, 10, 480, kLastHitWords},
      {"LifeArato01-01.png", Ground::kClear, 0, 320, kLastLifeWords},
      {"sousa01-03.png", Ground::kClear, 16, 16, kControlsGuideWords},
      {"pause.png", Ground::kClear, 112, 571, kPauseWords, {}, kPauseBoxes},
      {"tally01-01.png", Ground::kClear, 0, 528, kTallyWords, {}, kTallyBoxes},
      {"shopframe01.png", Ground::kClear, 0, 0, {}, shopFrames},
      {"sideinfo05.png", Ground::kPanel, 0, 0, {}, sideNotices.cells},
      {"gameover01-01.png", Ground::kDark, 0, 0, kGameOverWords},
      {"gameover03-01.png", Ground::kClear, 0, 0, {}, kCursorFrameCells},
      {"resalt03-03.png", Ground::kClear, 0, -40, kResultsHeaderWords},
      {"resalt05-01.png", Ground::kClear, 0, -40, kSaveHeaderWords},
      {"coming.png", Ground::kDark, 0, 0, kClosingWords},
      {"Manual01.png", Ground::kDark, 0, 0, manual},
      {"edserif01-01.png", Ground::kPanel, 0, 0, {}, rightPages.cells},
      {"edserif01-02.png", Ground::kPanel, 0, 0, {}, rightPages.cells},
      {"edserif02-01.png", Ground::kPanel, 0, 0, {}, leftPages.cells},
      {"edserif02-02.png", Ground::kPanel, 0, 0, {}, leftPages.cells},
      {"edstuff01-01.png", Ground::kPanel, 0, 0, {}, staffRoll.cells},
  };
  for (const NamedWords& card : cards) table.push_back({card.name.c_str(), Ground::kClear, 0, 0, card.words});
  return table;
}

}  // namespace

std::span<const PictureWords> AllPictureWords() {
  static const std::vector<PictureWords> table = BuildTable();
  return table;
}

const SheetCellWords* SheetCellWordsOf(const char* picture, int cell) {
  for (const SheetCellWords& words : kSheetCellWords) {
    if (words.cell == cell && std::strcmp(words.picture, picture) == 0) return &words;
  }
  return nullptr;
}

const PlacedWords* GlowOf(const char* name) { return std::strcmp(name, "title01-03.png") == 0 ? &kTitleName : nullptr; }

const PictureWords* WordsOf(const char* name) {
  for (const PictureWords& words : AllPictureWords()) {
    if (std::strcmp(words.name, name) == 0) return &words;
  }
  return nullptr;
}

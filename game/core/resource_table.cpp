#include "core/resource_table.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>

#include "core/game_state.h"

namespace {

using Art = PictureArt;

constexpr PictureFile Sheet(const char* name, Art art, int width, int height, int count, int across, int down) {
  return {name, art, width, height, count, across, down};
}

// ---- Sound effects ----------------------------------------------------------------

constexpr SoundFile kCommonSoundTable[] = {
    {0, "ok01.wav"},           {1, "titleselect01.wav"},   {2, "cancel01.wav"},
    {3, "enter01.wav"},        {4, "dragon01.wav"},        {5, "dragon02.wav"},
    {6, "dragon03.wav"},       {7, "dragon04.wav"},        {8, "dragon05.wav"},
    {9, "dragon06.wav"},       {10, "dragon07.wav"},       {11, "dragon08.wav"},
    {12, "windforcefire03.wav"}, {13, "windforcefire04.wav"}, {16, "buzz04.wav"},
    {26, "buzz01.wav"},        {27, "buzz02.wav"},         {28, "buzz03.wav"},
    {29, "buzz04.wav"},        {30, "coinkakudai01.wav"},  {31, "coinsyukusyou01.wav"},
    {32, "shotlvup01.wav"},    {33, "speedlvup01.wav"},    {34, "ssbuy.wav"},
    {35, "grbuy01.wav"},       {36, "coinuse01.wav"},      {38, "exp15.wav"},
    {39, "exp16.wav"},         {40, "exp17.wav"},          {41, "exp18.wav"},
    {42, "exp19.wav"},         {43, "exp20.wav"},          {44, "exp21.wav"},
    {45, "exp22.wav"},         {47, "wing02.wav"},         {48, "wing05.wav"},
    {49, "chargeok01.wav"},    {50, "lvup03.wav"},         {51, "gard01.wav"},
    {52, "damage03.WAV"},      {53, "gardheal01.wav"},     {54, "wing06.wav"},
    {55, "wing04.wav"},        {56, "wing07.wav"},         {57, "wing08.wav"},
    {58, "coinuse02.wav"},     {59, "coinuse03.wav"},      {61, "enemyin04.wav"},
    {62, "enemyin05.wav"},     {63, "kotei01.wav"},        {64, "kotei02.wav"},
    {65, "bonus01.wav"},       {66, "bonus02.wav"},        {67, "bonus03.wav"},
    {68, "bonus04.wav"},       {69, "bonus05.wav"},        {70, "bonus06.wav"},
    {71, "bonus07.wav"},       {72, "bonus08.wav"},        {73, "bonus09.wav"},
    {74, "bonus10.wav"},       {76, "wingkill02.wav"},     {77, "wkillefe01.wav"},
    {78, "wkillefe02.wav"},    {79, "wkillefe03.wav"},     {80, "ssset08.wav"},
    {81, "ssset09.wav"},       {82, "ssset07.wav"},        {83, "ssset10.wav"},
    {84, "ssset11.wav"},       {85, "bss01.wav"},          {86, "gardheal02.wav"},
    {89, "exp25.wav"},         {90, "gffire03.wav"},       {91, "dsfire02.wav"},
    {92, "enemyin01.wav"},     {95, "dsvfire02.wav"},      {96, "LWHit02.wav"},
    {97, "newopen01.wav"},     {98, "OPext03.wav"},        {99, "Lifearat07.wav"},
    {104, "screenshot01.wav"}, {105, "LifeUp01.wav"},      {107, "gard02.wav"},
    {115, "Bosshit01.wav"},
};
static_assert(std::size(kCommonSoundTable) == 85, "85 common sound effects");

constexpr SoundFile kRising[] = {
    {20, "rising01.wav"}, {21, "rising02.wav"}, {22, "rising03.wav"}, {23, "rising04.wav"}};
constexpr SoundFile kStage3Sounds[] = {
    {20, "rising01.wav"}, {21, "rising02.wav"}, {22, "rising03.wav"}, {23, "rising04.wav"},
    {87, "3bosslaser03.wav"}, {88, "3bosslaser02.wav"}};
constexpr SoundFile kStage5Sounds[] = {{93, "5bossbool01.wav"}, {94, "5bossboolfire01.wav"}};
constexpr SoundFile kWind[] = {
    {100, "wind01.wav"}, {101, "wind02.wav"}, {102, "wind03.wav"}, {103, "wind04.wav"}};
constexpr SoundFile kStage7Sounds[] = {
    {100, "wind01.wav"},   {101, "wind02.wav"},   {102, "wind03.wav"}, {103, "wind04.wav"},
    {106, "kurukuruset01.wav"}, {108, "7dora01.wav"}, {109, "7dora02.wav"}, {110, "7dora03.wav"},
    {111, "7kill01.wav"},  {112, "7kill02.wav"},  {113, "7kill03.wav"}, {114, "7bossend03.wav"}};
constexpr SoundFile kStage8Sounds[] = {
    {87, "3bosslaser03.wav"}, {88, "3bosslaser02.wav"}, {93, "5bossbool01.wav"},
    {116, "82yure01.wav"},    {117, "83syutugen01.wav"}, {118, "83syutugen03.wav"},
    {119, "83laser01.wav"}};
constexpr SoundFile kAllStageSoundTable[] = {
    {20, "rising01.wav"},      {21, "rising02.wav"},      {22, "rising03.wav"},
    {23, "rising04.wav"},      {87, "3bosslaser03.wav"},  {88, "3bosslaser02.wav"},
    {93, "5bossbool01.wav"},   {94, "5bossboolfire01.wav"}, {100, "wind01.wav"},
    {101, "wind02.wav"},       {102, "wind03.wav"},       {103, "wind04.wav"},
    {106, "kurukuruset01.wav"}, {108, "7dora01.wav"},     {109, "7dora02.wav"},
    {110, "7dora03.wav"},      {111, "7kill01.wav"},      {112, "7kill02.wav"},
    {113, "7kill03.wav"},      {114, "7bossend03.wav"},   {116, "82yure01.wav"},
    {117, "83syutugen01.wav"}, {118, "83syutugen03.wav"}, {119, "83laser01.wav"}};

// ---- Common pictures ----------------------------------------------------------------

// Sheets of the menus: loaded with the common pictures and again with the title.
constexpr SpriteSheet kMenuLabels = {8, Sheet("tmode02-02A.png", Art::kText, 260, 26, 11, 1, 11)};
constexpr SpriteSheet kOptionLabels = {10, Sheet("titleconfig05-01.png", Art::kText, 620, 25, 18, 1, 18)};
constexpr SpriteSheet kRankingHeaders = {11, Sheet("ScoreRanking04-01.png", Art::kText, 875, 157, 3, 1, 3)};

constexpr SpriteSheet kCommonSheetTable[] = {
    {0, Sheet("Aimage00032.png", Art::kBullet, 32, 32, 100, 10, 10)},
    {1, Sheet("Aimage00164.png", Art::kEffect, 64, 64, 100, 10, 10)},
    {2, Sheet("Aimage00296.png", Art::kEffect, 96, 96, 100, 10, 10)},
    {3, Sheet("Aimage003128.png", Art::kEffect, 128, 128, 100, 10, 10)},
    {4, Sheet("Aimage00464.png", Art::kDragon, 64, 64, 100, 10, 10)},
    {5, Sheet("SelectWeaponParts.png", Art::kText, 128, 128, 30, 10, 3)},
    {6, Sheet("Aimage2561.png", Art::kEffect, 256, 256, 49, 10, 5)},
    {7, Sheet("Aimage00032no2.png", Art::kBullet, 32, 32, 100, 10, 10)},
    kMenuLabels,
    kOptionLabels,
    kRankingHeaders,
    {12, Sheet("JikiWindLight.png", Art::kDragon, 64, 64, 65, 10, 7)},
    {13, Sheet("Aimage00164part2.png", Art::kShot, 64, 64, 59, 10, 6)},
    {14, Sheet("WingBlack.png", Art::kDragon, 64, 64, 65, 10, 7)},
    {15, Sheet("E6464.png", Art::kEnemy, 64, 64, 79, 10, 8)},
    {16, Sheet("E128128.png", Art::kEnemy, 128, 128, 10, 10, 1)},
    {40, Sheet("Aimage00032no3.png", Art::kShot, 32, 32, 100, 10, 10)},
    {41, Sheet("sideinfo05.png", Art::kText, 200, 32, 33, 1, 33)},
    {42, Sheet("Aimage003128no2.png", Art::kEffect, 128, 128, 30, 10, 3)},
    // The shop's cursor: a cell per place, in the order of its items.
    {43, Sheet("shopframe01.png", Art::kPanel, 250, 40, 7, 1, 7)},
};

constexpr TablePicture kDigitFontTable[] = {
    {0, Sheet("fontmini.png", Art::kDigits, 8, 10, 10, 10, 1)},
    {1, Sheet("fontmidle.png", Art::kDigits, 14, 22, 10, 10, 1)},
    {2, Sheet("fontmodeselect.png", Art::kDigits, 13, 19, 10, 10, 1)},
    {3, Sheet("fontbig.png", Art::kDigits, 22, 30, 10, 10, 1)},
};

constexpr TablePicture kCommonPictureTable[] = {
    {kImagePausePanel, {"pause.png", Art::kPanel, 800, 120}},
    {kImageLastLifeWarning, {"LifeArato01-01.png", Art::kText, 1024, 128}},
    {kImageHudBottomPanel, {"hudpanel01.png", Art::kPanel, 1024, 176}},
    {kImageHudExtraPanel, {"hudpanel02.png", Art::kPanel, 204, 26}},
    {kImageHudCounterLabels, {"hudlabel01.png", Art::kText, 200, 90}},
    {kImageHudTimedNotice, {"hudnotice01.png", Art::kText, 230, 40}},
    {kImageLastHitFrame, {"lasthit01.png", Art::kPanel, 200, 110}},
    {kImageStage1Notice, {"sousa01-03.png", Art::kText, 280, 152}},
    {kImageBackdropTile, {"backlayer01.png", Art::kBackdrop, 1000, 750}},
    {kImageTallyPanel, {"tally01-01.png", Art::kPanel, 1024, 240}},
    // The shop's ground, drawn side by side every 10 pixels: as high as the screen.
    {kImageShopTile, {"shop01-01.png", Art::kBackdrop, 10, 768}},
    {kImageShopEmblem, {"emblem01.png", Art::kPanel, 400, 400}},
    {kImageClearDecoration, {"clear01.png", Art::kEffect, 300, 300}},
};
static_assert(std::size(kCommonPictureTable) == kCommonImageCount, "one picture per role");

// ---- Title, menus and results -------------------------------------------------------

constexpr PictureFile kTitleBackdrop = {"back1-1.png", Art::kBackdrop, 3712, 1344};
constexpr PictureFile kRowHighlight = {"titleconfig03-01.png", Art::kPanel, 1024, 30};

constexpr TablePicture kTitlePictureTable[] = {
    {0, kTitleBackdrop},
    {1, {"title01-01.png", Art::kScreen, 1024, 768}},
    {2, {"title02-01.png", Art::kScreen, 1024, 768}},
    {3, {"title03-01.png", Art::kScreen, 1024, 768}},
    {4, {"title04-01.png", Art::kScreen, 1024, 768}},
    {5, {"title05-01.png", Art::kText, 800, 60}},
    {6, {"tmode01-01.png", Art::kPanel, 1024, 278}},
    {7, {"tmode05-01.png", Art::kPanel, 560, 240}},
    {8, {"tmode04-01.png", Art::kPanel, 560, 240}},
    {9, {"titleconfig01-01.png", Art::kScreen, 1024, 768}},
    {10, {"titleconfig02-01.png", Art::kScreen, 1024, 768}},
    {11, kRowHighlight},
    // The records, replays and practice pages are drawn 40 rows up: 40 rows more reach
    // the screen's bottom.
    {12, {"ScoreRanking01-01.png", Art::kScreen, 1024, 808}},
    {13, {"Replay01-01.png", Art::kScreen, 1024, 808}},
    {14, {"titlemodeline1.png", Art::kPanel, 1024, 20}},
    {15, {"titlemodeline2.png", Art::kPanel, 1024, 20}},
    {16, {"sousa01-04.png", Art::kText, 1024, 150}},
    {17, {"title01-03.png", Art::kScreen, 1024, 768}},
    {18, {"practice01-01.png", Art::kScreen, 1024, 808}},  // the practice set-up's row names
};

constexpr MusicFile kTitleMusicTable[] = {{0, "title01.ogg"}, {1, "select01.ogg"}, {3, "shop01.ogg"}};

constexpr TablePicture kMenuPictureTable[] = {
    {kImageWeaponFrame, {"SelectWeaponFrame02.png", Art::kPanel, 1024, 768}},
    {kImageLoadoutBackdrop, {"Simage006.png", Art::kBackdrop, 1024, 768}},
    {kImageLoadoutStrip, {"Simage007.png", Art::kBackdrop, 1024, 200}, true},
    {kImageLogo, {"circle.png", Art::kScreen, 1024, 768}},  // drawn at the top left: the screen's size
    {kImageNotice, {"warning04.png", Art::kScreen, 1024, 768}},
};
static_assert(std::size(kMenuPictureTable) == kMenuImageCount, "one picture per menu role");

constexpr SpriteSheet kMenuSheetTable[] = {kMenuLabels, kOptionLabels, kRankingHeaders};

constexpr TablePicture kResultsPictureTable[] = {
    {0, {"resalt01-01.png", Art::kPanel, 512, 512}, true},
    {1, {"resalt02-02.png", Art::kBackdrop, 10, 768}},
    {2, {"resalt03-03.png", Art::kText, 1024, 180}},
    {3, {"resalt05-01.png", Art::kText, 1024, 180}},
    {4, kRowHighlight},
};

constexpr MusicFile kResultsMusicTable[] = {{4, "result01.ogg"}, {4, "result02.ogg"}};

constexpr PictureFile kOnDemandPictureTable[] = {
    {"Manual01.png", Art::kScreen, 1024, 768},
    {"gameover01-01.png", Art::kScreen, 1024, 768},
    {"gameover02-01.png", Art::kPanel, 1024, 340},
    {"gameover03-01.png", Art::kPanel, 570, 60},
    {"coming.png", Art::kScreen, 1024, 768},
};

// ---- Stages -------------------------------------------------------------------------

constexpr int kSceneryCells = 10;
constexpr SpriteSheet Scenery(int imageSet, const char* name) {
  return {imageSet, Sheet(name, Art::kBackdrop, 256, 256, kSceneryCells, 5, 2)};
}
constexpr SpriteSheet Boss(int imageSet, const char* name, int cell, int count, int across, int down) {
  return {imageSet, Sheet(name, Art::kBoss, cell, cell, count, across, down)};
}
constexpr SpriteSheet TallBoss(int imageSet, const char* name, int width, int height) {
  return {imageSet, Sheet(name, Art::kBoss, width, height, 2, 2, 1)};
}
// The drifting sky sprites step through cells 1 to 3 of their stage's sheet.
constexpr int kSkyCells = 4;
constexpr SpriteSheet Sky(int imageSet, const char* name) {
  return {imageSet, Sheet(name, Art::kSky, 64, 64, kSkyCells, kSkyCells, 1)};
}

constexpr TablePicture kStage1Backgrounds[] = {
    {0, kTitleBackdrop}, {1, {"back1-2.png", Art::kBackdrop, 2001, 768}}};
constexpr TablePicture kStage2Backgrounds[] = {
    {0, {"back2-1.png", Art::kBackdrop, 3712, 1344}}, {1, {"back2-2.png", Art::kBackdrop, 2001, 768}}};
constexpr TablePicture kStage3Backgrounds[] = {
    {0, {"back3-1.png", Art::kBackdrop, 1201, 1056}},
    {1, {"back3-2.png", Art::kBackdrop, 2501, 768}},
    {2, {"back3-3.png", Art::kBackdrop, 1024, 768}, true}};
constexpr TablePicture kStage4Backgrounds[] = {
    {0, {"back4-1.png", Art::kBackdrop, 1024, 1056}},
    {1, {"back4-2.png", Art::kBackdrop, 2001, 768}},
    {2, {"back4-3.png", Art::kBackdrop, 1024, 768}, true}};
constexpr TablePicture kStage5Backgrounds[] = {
    {0, {"back5-1.png", Art::kBackdrop, 2048, 1024}},
    {1, {"back5-2.png", Art::kBackdrop, 1025, 768}},
    {2, {"back5-3.png", Art::kBackdrop, 1025, 768}},
    {3, {"back5-4.png", Art::kBackdrop, 1025, 768}},
    {7, {"back5-5.png", Art::kBackdrop, 1024, 768}, true}};
constexpr TablePicture kStage6Backgrounds[] = {
    {0, {"back6-1.png", Art::kBackdrop, 2048, 1024}},
    {1, {"back6-2.png", Art::kBackdrop, 1024, 1056}},
    {2, {"back6-3.png", Art::kBackdrop, 2001, 768}},
    {3, {"back6-4.png", Art::kBackdrop, 1024, 768}, true},
    {4, {"back6-5.png", Art::kBackdrop, 1001, 768}},
    {5, {"back6-6.png", Art::kBackdrop, 1024, 768}, true}};
constexpr TablePicture kStage7Backgrounds[] = {
    {0, {"back7-1.png", Art::kBackdrop, 2048, 1344}},
    {6, {"back7-2.png", Art::kBackdrop, 2001, 768}},
    {7, {"back7-3.png", Art::kBackdrop, 1024, 768}, true},
    {10, {"back7-4.png", Art::kBackdrop, 1024, 768}, true}};
constexpr TablePicture kStage8Backgrounds[] = {
    {0, {"back8-1.png", Art::kBackdrop, 1024, 1056}},
    {1, {"back8-2.png", Art::kBackdrop, 1024, 1056}},
    {2, {"back8-3.png", Art::kBackdrop, 1024, 1056}},
    {3, {"back8-4.png", Art::kBackdrop, 1024, 1056}}};
// The hand-over to stage 8's second half frees ten entries: the first backdrop and
// the entries the stage leaves to its first half. The backdrops of phases 2 to 4
// (entries 1 to 3) stay.
constexpr int kStage8HandOverPictureTable[] = {0, 4, 5, 6, 7, 8, 9, 10, 11, 12};
constexpr TablePicture kEndingBackgrounds[] = {
    {0, {"back9-01-01.png", Art::kBackdrop, 2048, 768}},
    {1, {"back9-02-01.png", Art::kBackdrop, 1024, 1536}},
    {2, {"back9-03-01.png", Art::kBackdrop, 1024, 768}},
    {3, {"back9-04-01.png", Art::kBackdrop, 1024, 768}}};

constexpr SpriteSheet kStage1Sheets[] = {Sky(20, "sky1.png")};
constexpr SpriteSheet kStage2Sheets[] = {Boss(17, "BOSS2.png", 512, 4, 2, 2), Sky(20, "sky2.png")};
constexpr SpriteSheet kStage3Sheets[] = {Boss(18, "BOSS4.png", 768, 2, 2, 1), Scenery(21, "scenery3-1.png"),
                                         Sky(20, "sky3.png")};
constexpr SpriteSheet kStage4Sheets[] = {
    Scenery(21, "scenery4-1.png"), Scenery(22, "scenery4-2.png"), Scenery(23, "scenery4-3.png"), Sky(20, "sky4.png")};
constexpr SpriteSheet kStage5Sheets[] = {
    Boss(19, "BOSS5.png", 768, 2, 2, 1), Scenery(21, "scenery5-1.png"), Scenery(22, "scenery5-2.png"),
    Scenery(23, "scenery5-3.png"),       Scenery(24, "scenery5-4.png"), Scenery(25, "scenery5-5.png"),
    Scenery(26, "scenery5-6.png"),       Sky(20, "sky5.png")};
constexpr SpriteSheet kStage6Sheets[] = {Boss(17, "E512512.png", 512, 4, 2, 2), Sky(20, "sky6.png")};
constexpr SpriteSheet kStage7Sheets[] = {Boss(17, "BOSS7.png", 512, 4, 2, 2), Boss(18, "BOSS4.png", 768, 2, 2, 1),
                                         Boss(22, "BOSS7-2.png", 512, 4, 2, 2), Sky(20, "sky7.png"),
                                         Sky(21, "sky7-2.png")};
constexpr SpriteSheet kStage8Sheets[] = {
    Boss(17, "BOSS8-2.png", 512, 4, 2, 2),
    Boss(18, "BOSS4.png", 768, 2, 2, 1),
    {19, Sheet("BOSS8-1.png", Art::kBoss, 2600, 1700, 1, 1, 1)},
    // Stage 8's second sky sprites read cells 1 to 3 of this sheet.
    {21, Sheet("BOSS-LAST-02.png", Art::kBossAndSky, 600, 1000, kSkyCells, 2, 2)},
    TallBoss(22, "BOSS-LAST02-02.png", 600, 1000),
    TallBoss(23, "BOSS-LAST03-02.png", 600, 1000),
    TallBoss(24, "BOSS-LAST04-02.png", 600, 1000),
    TallBoss(25, "BOSS-LAST05-02.png", 600, 1000),
    TallBoss(26, "BOSS-LAST06-02.png", 600, 1000),
    TallBoss(27, "BOSS-LAST07-02.png", 480, 960),
    TallBoss(50, "BOSS-LAST08-02.png", 480, 640),
    TallBoss(51, "BOSS-LAST09-02.png", 480, 480),
    Boss(52, "BOSS-LAST10-02.png", 256, 4, 4, 1),
    Boss(53, "BOSS-LAST11-02.png", 256, 4, 4, 1),
    Boss(54, "BOSS-LAST12-02.png", 240, 4, 4, 1),
    Boss(55, "BOSS-LAST13-02.png", 512, 4, 2, 2),
    Boss(56, "BOSS-LAST14-02.png", 256, 10, 5, 2),
    Boss(57, "BOSS-LAST14R-02.png", 400, 4, 2, 2),
    Sky(20, "sky8.png")};
constexpr SpriteSheet kEndingSheets[] = {
    {20, Sheet("edback01-01.png", Art::kBackdrop, 1024, 256, 4, 1, 4), true},
    {21, Sheet("endnyarura01.png", Art::kEnemy, 64, 64, 100, 10, 10), true},
    {22, Sheet("edserif01-02.png", Art::kText, 400, 100, 20, 1, 20), false, Variant::kFirst},
    {23, Sheet("edserif02-02.png", Art::kText, 400, 100, 20, 1, 20), false, Variant::kFirst},
    {22, Sheet("edserif01-01.png", Art::kText, 400, 100, 20, 1, 20), false, Variant::kSecond},
    {23, Sheet("edserif02-01.png", Art::kText, 400, 100, 20, 1, 20), false, Variant::kSecond},
    {24, Sheet("edstuff01-01.png", Art::kText, 500, 74, 30, 1, 30)}};

constexpr MusicFile kStage1Music[] = {{2, "stage01.ogg"}};
constexpr MusicFile kStage2Music[] = {{2, "stage02.ogg"}};
constexpr MusicFile kStage3Music[] = {{2, "stage03.ogg"}};
constexpr MusicFile kStage4Music[] = {{2, "stage04.ogg"}, {6, "rain01.ogg"}};
constexpr MusicFile kStage5Music[] = {{2, "stage05.ogg"}};
constexpr MusicFile kStage6Music[] = {{2, "stage06.ogg"}};
constexpr MusicFile kStage7Music[] = {{2, "stage07.ogg"}};
constexpr MusicFile kStage8Music[] = {{2, "stage08.ogg"}, {8, "stage08b.ogg"}, {9, "lastboss01.ogg"}};
constexpr MusicFile kEndingMusic[] = {{2, "ending01.ogg"}};

const StageResourceSet kStageTable[] = {
    {kStage1Backgrounds, kStage1Sheets, kStage1Music, 6, {}},
    {kStage2Backgrounds, kStage2Sheets, kStage2Music, 6, {}},
    {kStage3Backgrounds, kStage3Sheets, kStage3Music, 6, kStage3Sounds},
    {kStage4Backgrounds, kStage4Sheets, kStage4Music, 2, kRising},
    {kStage5Backgrounds, kStage5Sheets, kStage5Music, 0, kStage5Sounds},
    {kStage6Backgrounds, kStage6Sheets, kStage6Music, 2, {}},
    {kStage7Backgrounds, kStage7Sheets, kStage7Music, 6, kStage7Sounds},
    {kStage8Backgrounds, kStage8Sheets, kStage8Music, 0, kStage8Sounds},
    {kEndingBackgrounds, kEndingSheets, kEndingMusic, 0, kWind},
};

constexpr int kStageImageSetTable[] = {17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 45,
                                       50, 51, 52, 53, 54, 55, 56, 57};

// Names built once: the title cards of stages 1..8 and the stage 8 captions.
struct NamedPictures {
  char titleCards[8][2][2][32];  // stage - 1, picture - 1, variant
  char captions[3][2][32];
};

const NamedPictures& Names() {
  static const NamedPictures names = [] {
    NamedPictures built{};
    for (int stage = 1; stage <= 8; ++stage) {
      for (int picture = 1; picture <= 2; ++picture) {
        for (int variant = 0; variant < 2; ++variant) {
          std::snprintf(built.titleCards[stage - 1][picture - 1][variant], 32, "StageTitle%02d-%02d%s.png", stage,
                        picture, variant ? "j" : "");
        }
      }
    }
    for (int caption = 0; caption < 3; ++caption) {
      for (int variant = 0; variant < 2; ++variant) {
        std::snprintf(built.captions[caption][variant], 32, "StageTitle08-%02d%s.png", caption + 3,
                      variant ? "j" : "");
      }
    }
    return built;
  }();
  return names;
}

void AddPicture(std::vector<PictureFile>& all, const PictureFile& picture) {
  for (const PictureFile& known : all) {
    if (std::strcmp(known.name, picture.name) == 0) return;
  }
  all.push_back(picture);
}

void AddName(std::vector<const char*>& all, const char* name) {
  for (const char* known : all) {
    if (std::strcmp(known, name) == 0) return;
  }
  all.push_back(name);
}

}  // namespace

const std::span<const SoundFile> kCommonSounds = kCommonSoundTable;
const std::span<const SpriteSheet> kCommonSheets = kCommonSheetTable;
const std::span<const TablePicture> kDigitFontPictures = kDigitFontTable;
const std::span<const TablePicture> kCommonPictures = kCommonPictureTable;
const std::span<const TablePicture> kTitlePictures = kTitlePictureTable;
const PictureFile kWeaponDescriptions = Sheet("wepsetumei01.png", Art::kText, 300, 95, 16, 1, 16);
const PictureFile kOptionDescriptions = Sheet("opsetumei01.png", Art::kText, 150, 100, 4, 1, 4);
const std::span<const MusicFile> kTitleMusic = kTitleMusicTable;
const std::span<const TablePicture> kMenuPictures = kMenuPictureTable;
const std::span<const SpriteSheet> kMenuSheets = kMenuSheetTable;
const std::span<const TablePicture> kResultsPictures = kResultsPictureTable;
const SpriteSheet kResultsRankingHeaders = {11, Sheet("ScoreRanking05-01.png", Art::kText, 875, 157, 3, 1, 3)};
const SpriteSheet kResultsLabels = {9, Sheet("resalt04-01.png", Art::kText, 300, 16, 12, 1, 12)};
const std::span<const MusicFile> kResultsMusic = kResultsMusicTable;
const PictureFile kLoadingPictures[2] = {{"loading04-01.png", Art::kScreen, 1024, 768},
                                         {"loading04-02.png", Art::kScreen, 1024, 768}};
const std::span<const PictureFile> kOnDemandPictures = kOnDemandPictureTable;
const std::span<const SoundFile> kAllStageSounds = kAllStageSoundTable;
const std::span<const int> kStageImageSets = kStageImageSetTable;
const std::span<const int> kStage8HandOverPictures = kStage8HandOverPictureTable;

const char* TitleCardName(int stage, int picture, bool variant) {
  return Names().titleCards[stage - 1][picture - 1][variant ? 1 : 0];
}

const char* Stage8CaptionName(int caption, bool variant) { return Names().captions[caption][variant ? 1 : 0]; }

const StageResourceSet& StageResources(int stage) { return kStageTable[stage - 1]; }

std::vector<PictureFile> AllPictureFiles() {
  std::vector<PictureFile> all;
  for (const SpriteSheet& sheet : kCommonSheetTable) AddPicture(all, sheet.picture);
  for (const TablePicture& font : kDigitFontTable) AddPicture(all, font.picture);
  for (const TablePicture& picture : kCommonPictureTable) AddPicture(all, picture.picture);
  for (const TablePicture& picture : kTitlePictureTable) AddPicture(all, picture.picture);
  AddPicture(all, kWeaponDescriptions);
  AddPicture(all, kOptionDescriptions);
  for (const TablePicture& picture : kMenuPictureTable) AddPicture(all, picture.picture);
  for (const TablePicture& picture : kResultsPictureTable) AddPicture(all, picture.picture);
  AddPicture(all, kResultsRankingHeaders.picture);
  AddPicture(all, kResultsLabels.picture);
  for (const PictureFile& picture : kLoadingPictures) AddPicture(all, picture);
  for (const PictureFile& picture : kOnDemandPictureTable) AddPicture(all, picture);
  for (const StageResourceSet& stage : kStageTable) {
    for (const TablePicture& picture : stage.backgrounds) AddPicture(all, picture.picture);
    for (const SpriteSheet& sheet : stage.sheets) AddPicture(all, sheet.picture);
  }
  for (int stage = 1; stage <= 8; ++stage) {
    for (int picture = 1; picture <= 2; ++picture) {
      for (bool variant : {false, true}) AddPicture(all, TitleCardPicture(TitleCardName(stage, picture, variant)));
    }
  }
  for (int caption = 0; caption < 3; ++caption) {
    for (bool variant : {false, true}) AddPicture(all, TitleCardPicture(Stage8CaptionName(caption, variant)));
  }
  return all;
}

std::vector<const char*> AllSoundFiles() {
  std::vector<const char*> all;
  for (const SoundFile& sound : kCommonSoundTable) AddName(all, sound.name);
  for (const SoundFile& sound : kAllStageSoundTable) AddName(all, sound.name);
  return all;
}

std::vector<const char*> AllMusicFiles() {
  std::vector<const char*> all;
  for (const MusicFile& music : kTitleMusicTable) AddName(all, music.name);
  for (const MusicFile& music : kResultsMusicTable) AddName(all, music.name);
  for (const StageResourceSet& stage : kStageTable) {
    for (const MusicFile& music : stage.music) AddName(all, music.name);
  }
  return all;
}

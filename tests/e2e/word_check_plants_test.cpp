// The words check finds what it is for: each fault below is planted into a frame that
// passes without it, on both drawing paths, and found once planted.
#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/animation.h"
#include "picture_words.h"
#include "png_file.h"
#include "presentation_frames.h"
#include "text_drawing.h"
#include "word_boxes.h"
#include "word_check_pictures.h"

namespace {

constexpr Colour kFrameGold = {250, 210, 70};

class WordCheckPlants : public PresentationFrames {
 protected:
  static const PictureFile& ShopCells() { return *PictureNamed("shopframe01.png"); }

  static Canvas Generated(const PictureFile& picture) {
    Canvas canvas(0, 0, {});
    EXPECT_TRUE(ReadPngFile((std::filesystem::path(E2E_DATA_DIR) / "data" / "image011" / picture.name).string(), canvas));
    return canvas;
  }

  // The game takes `sheet` for the shop's cursor cells from now on.
  void UseShopCells(const Canvas& sheet) {
    const PictureFile& cells = ShopCells();
    game_.UsePicture(cells.name, sheet);
    LoadDivGraphFile("data\\image011\\shopframe01.png", cells.count, cells.across, cells.down, cells.width,
                     cells.height, &SpriteHandles[43 * kCellsPerSet]);
  }

  // The play's frame with a common picture drawn over it at (x, y), in the blend given.
  static std::function<void()> PlayFrameWith(int picture, int x, int y, int blend, int strength) {
    return [=] {
      PlayFrame();
      SetBlendMode(blend, strength);
      DrawGraphAt(x, y, CommonImages[picture], 1);
    };
  }

  static void AtShopPlace(int x, int y) {
    TimelineHalt = 3.0f, StageStarted = 0;
    ShopCursor[0] = x, ShopCursor[1] = y;
  }

  // Moves a caption of a shop cell by (dx, dy) in the sheet, drawn again in its rim as
  // the generator draws captions, over what lies there; the cell's words as now drawn.
  static std::vector<WordInk> MoveCaption(Canvas& sheet, int cell, const std::string& text, int dx, int dy) {
    const PictureFile& cells = ShopCells();
    std::vector<WordInk> words = WordsInCell(cells, cell);
    WordInk& moved = *std::find_if(words.begin(), words.end(), [&](const WordInk& w) { return w.text == text; });
    const auto& table = WordsOf(cells.name)->cells;
    const PlacedWords& placed = std::find_if(table.begin(), table.end(), [&](const CellWords& entry) {
                                  return entry.cell == cell && entry.words.text != nullptr && entry.words.text == text;
                                })->words;
    // Drawn in a copy of the cell alone, so that nothing spills into its neighbours.
    Canvas alone(cells.width, cells.height, {});
    const int left = cell * cells.width;
    const auto copy = [&](Canvas& from, int fromX, Canvas& to, int toX) {
      for (int y = 0; y < cells.height; ++y) {
        for (int x = 0; x < cells.width; ++x) to.Set(toX + x, y, from.pixels[y * from.width + fromX + x]);
      }
    };
    copy(sheet, left, alone, 0);
    const Box old = Box{moved.x, moved.y, moved.width, moved.height}.Grown(moved.reach);
    alone.FillRect(old.x, old.y, old.w, old.h, kTransparentGreen);
    const CaptionPlace at = PlaceCaption(placed, cells.width, 0, 0);
    DrawText(alone, at.x + dx, at.y + dy, placed.text, at.size, placed.colour, placed.align);
    copy(alone, 0, sheet, left);
    moved.x += dx, moved.y += dy;
    return words;
  }
};

// A flat box drawn over a word.
TEST_P(WordCheckPlants, AFlatBoxOverAWord) {
  PlacePlayer();
  Paused = 1;
  const std::string subject = "(b) the word 'PAUSED' of pause.png";
  EXPECT_EQ(Findings("paused", PlayFrame, subject, "is covered by a box"), 0);
  const auto box = [](const std::string& drawn) {
    if (drawn != "pause.png") return;
    SetBlendMode(1, 255);
    DrawRect(120, 572, 300, 602, MakeScreenColor(28, 36, 66), 1);  // the panel's own colour
  };
  EXPECT_EQ(Findings("paused-under-a-box", PlayFrame, subject, "is covered by a box", box), 1);
}

// A stage's backdrop drawn after the HUD's panel, over its whole bottom strip.
TEST_P(WordCheckPlants, ABackdropOverTheHud) {
  PlacePlayer();
  const std::string subject = "(b) the word 'SCORE' of hudpanel01.png", said = "is covered by back1-1.png";
  EXPECT_EQ(Findings("hud", PlayFrame, subject, said), 0);
  const auto backdrop = [](const std::string& drawn) {
    if (drawn == "hudpanel01.png") DrawGraphAt(0, 560, StageImages[0], 1);
  };
  EXPECT_EQ(Findings("hud-under-a-backdrop", PlayFrame, subject, said, backdrop), 1);
}

// The HUD's score written 200 pixels right of its place, away from its label.
TEST_P(WordCheckPlants, AFigureAwayFromItsLabel) {
  PlacePlayer();
  const std::string subject = "(f) the figure '1234567'", said = "has no label on its row";
  EXPECT_EQ(Findings("hud", PlayFrame, subject, said), 0);
  const auto moved = [](const std::string& drawn) {
    if (drawn == "hudpanel01.png") DrawNumberRight(541, 693, 1234567, 0);
  };
  EXPECT_EQ(Findings("hud-score-moved", PlayFrame, subject, said, moved), 1);
}

// The HUD's labels grey and without their dark rim (as they once were) over stage 5's
// light ground.
TEST_P(WordCheckPlants, RimlessLabelsOnALightStageGround) {
  Stage = 5;
  LoadStageResources(5);
  PlacePlayer();
  const std::string subject = "(c) the word 'SCORE' of hudpanel01.png";
  EXPECT_EQ(Findings("hud-stage-5", PlayFrame, subject, "reads poorly"), 0);
  const PictureWords& panel = *WordsOf("hudpanel01.png");
  Canvas rimless(1024, 176, kTransparentGreen);
  for (const PlacedWords& words : panel.words) {
    const CaptionPlace at = PlaceCaption(words, rimless.width, panel.drawnX, panel.drawnY);
    DrawText(rimless, at.x, at.y, words.text, at.size, {150, 150, 160}, words.align, false);
  }
  game_.UsePicture("hudpanel01.png", rimless);
  CommonImages[kImageHudBottomPanel] = LoadGraphFile("data\\image011\\hudpanel01.png");
  EXPECT_EQ(Findings("hud-stage-5-rimless", PlayFrame, subject, "reads poorly"), 1);
}

// A shop cell's caption moved across its own frame: down across its bottom line with the
// line drawn over it, or left across its left line drawn over the line in its rim, as the
// generator draws a cell (its frame, then its captions).
TEST_P(WordCheckPlants, ACursorsCaptionAcrossItsFrame) {
  struct Move {
    int placeX, cell;
    const char* caption;
    int dx, dy;
    bool lineOver;
  };
  const Move moves[] = {{0, 0, "SHOT", 0, 15, true}, {250, 2, "SPEED", -5, 0, false}};
  for (const Move& move : moves) {
    SCOPED_TRACE(move.caption);
    AtShopPlace(move.placeX, 0);
    const std::string subject = "(e) the cursor shopframe01.png#" + std::to_string(move.cell);
    const std::string said = "cuts through the word '" + std::string(move.caption) + "'";
    EXPECT_EQ(Findings("shop", PlayFrame, subject, said), 0);
    Canvas sheet = Generated(ShopCells());
    WordCheck check;
    check.plantedWords["shopframe01.png#" + std::to_string(move.cell)] =
        MoveCaption(sheet, move.cell, move.caption, move.dx, move.dy);
    if (move.lineOver) sheet.FillRect(0, ShopCells().height - 2, ShopCells().width, 2, kFrameGold);
    UseShopCells(sheet);
    EXPECT_EQ(Findings(std::string("shop-") + move.caption + "-moved", PlayFrame, subject, said, {}, check), 1);
    UseShopCells(Generated(ShopCells()));
  }
}

// The shot cell's frame drawn around its name alone, leaving the level and price that
// the name labels outside it.
TEST_P(WordCheckPlants, AShopFrameAroundItsNameAlone) {
  AtShopPlace(0, 0);
  ShotLevel = 1;  // the shot cell shows level 2 for 160 coins
  const std::string subject = "(e) the cursor shopframe01.png#0";
  EXPECT_EQ(Findings("shop", PlayFrame, subject, "outside its frame"), 0);
  const PictureFile& cells = ShopCells();
  Canvas sheet = Generated(cells);
  const CellFacts& frame = FactsOfCell(cells, 0);
  for (int y = 0; y < cells.height; ++y) {
    for (int x = 0; x < cells.width; ++x) {
      if (frame.LineAt(x, y)) sheet.Set(x, y, kTransparentGreen);
    }
  }
  const std::vector<WordInk> words = WordsInCell(cells, 0);
  const WordInk& name = *std::find_if(words.begin(), words.end(), [](const WordInk& w) { return w.text == "SHOT"; });
  const Box around = Box{name.x, name.y, name.width, name.height}.Grown(name.reach + 3);
  for (const Box& line : {Box{around.x, around.y, around.w, 2}, Box{around.x, around.Bottom() - 2, around.w, 2},
                          Box{around.x, around.y, 2, around.h}, Box{around.Right() - 2, around.y, 2, around.h}}) {
    sheet.FillRect(line.x, line.y, line.w, line.h, kFrameGold);
  }
  UseShopCells(sheet);
  WordCheck check;
  check.plantedPictures.insert_or_assign(cells.name, sheet);
  for (const char* figure : {"the figure '2'", "the figure '160'"}) {
    EXPECT_EQ(Findings("shop-frame-around-the-name", PlayFrame, subject, figure, {}, check), 1) << figure;
  }
}

// A sprite's picture drawn during the objects pass at a place of no object, over the
// pause panel's words.
TEST_P(WordCheckPlants, AFixedPictureOverThePausePanel) {
  PlacePlayer();
  Paused = 1;
  const std::string subject = "(b) the word 'PAUSED' of pause.png", said = "is covered by Aimage00464.png";
  EXPECT_EQ(Findings("paused", PlayFrame, subject, said), 0);
  const auto sprite = [](const std::string& drawn) {
    if (drawn == "pause.png") DrawGraphRotated(180, 586, 1.0, 0.0, SpriteHandles[4 * kCellsPerSet + 3], 1, 0);
  };
  EXPECT_EQ(Findings("paused-under-a-sprite", PlayFrame, subject, said, sprite), 1);
}

// The last-life warning caught mid-fade at strength 60 (drawn at 61 in the frame before):
// white ink in its dark rim reaches all that a draw so faint can over stage 1, grey ink,
// whose pixels change by less than a reader notices at a glance, does not.
TEST_P(WordCheckPlants, AFaintWarningInGreyInk) {
  PlacePlayer();
  const std::string subject = "(c) the word 'LAST LIFE!'", said = "reads poorly";
  const auto faintly = PlayFrameWith(kImageLastLifeWarning, 0, 320, kBlendAlpha, 60);
  DrawTheFrameBefore(PlayFrameWith(kImageLastLifeWarning, 0, 320, kBlendAlpha, 61));
  EXPECT_EQ(Findings("last-life-faint", faintly, subject, said), 0);
  const PictureWords& warning = *WordsOf("LifeArato01-01.png");
  Canvas grey(kScreenWidth, PictureNamed("LifeArato01-01.png")->height, kTransparentGreen);
  for (const PlacedWords& words : warning.words) {
    const CaptionPlace at = PlaceCaption(words, grey.width, warning.drawnX, warning.drawnY);
    DrawText(grey, at.x, at.y, words.text, at.size, {160, 160, 160}, words.align);
  }
  game_.UsePicture("LifeArato01-01.png", grey);
  CommonImages[kImageLastLifeWarning] = LoadGraphFile("data\\image011\\LifeArato01-01.png");
  DrawTheFrameBefore(PlayFrameWith(kImageLastLifeWarning, 0, 320, kBlendAlpha, 61));
  EXPECT_EQ(Findings("last-life-faint-grey", faintly, subject, said), 1);
}

// Words held at part strength or added to the screen, drawn so in the frame before too
// (not fading), are each asked what a word drawn in full is: the last-life warning
// blinking at 90 and 60 (as it once did) in place of 255 and 150; the controls guide added
// at full strength, which reads in its corner but not over the HUD's guard bar.
TEST_P(WordCheckPlants, WordsHeldFaintOrAddedAreAskedFullContrast) {
  PlacePlayer();
  const std::string warning = "(c) the word 'LAST LIFE!'", guide = "(c) the word 'X: shot' of sousa01-03.png";
  struct Held {
    const char* frame;
    int picture, x, y, blend, strength;
    const std::string& subject;
    int findings;
  };
  for (const Held& held : {Held{"last-life-bright", kImageLastLifeWarning, 0, 320, kBlendAlpha, 255, warning, 0},
                           Held{"last-life-faint-bright", kImageLastLifeWarning, 0, 320, kBlendAlpha, 90, warning, 1},
                           Held{"last-life-dim", kImageLastLifeWarning, 0, 320, kBlendAlpha, 150, warning, 0},
                           Held{"last-life-faint-dim", kImageLastLifeWarning, 0, 320, kBlendAlpha, 60, warning, 1},
                           Held{"guide", kImageStage1Notice, 16, 16, kBlendAdd, 1500, guide, 0},
                           Held{"guide-among-the-gauges", kImageStage1Notice, 663, 578, kBlendAdd, 1500, guide, 1}}) {
    const auto frame = PlayFrameWith(held.picture, held.x, held.y, held.blend, held.strength);
    DrawTheFrameBefore(frame);
    EXPECT_EQ(Findings(held.frame, frame, held.subject, "reads poorly"), held.findings) << held.frame;
  }
}

// An object of the bullet sheet whose row shows the cell the HUD's frame counter is
// labelled from.
TEST_P(WordCheckPlants, ASpriteShowingTheFrameCountersLabel) {
  constexpr int kBulletSheet = 7, kFpsCell = 19;
  PlacePlayer();
  const std::string subject = "(a) a sprite of the play shows", said = "Aimage00032no2.png#19";
  EXPECT_EQ(Findings("hud", PlayFrame, subject, said), 0);
  for (int row = 0; row < kAnimationRows; ++row) {
    for (int step = 0; step < kPairsPerRow && AnimationTable[row][step].frame != kEndFrame; ++step) {
      if (AnimationTable[row][step].frame != kFpsCell) continue;
      GameObject& spark = Place(60, kBulletSheet, row, 500.0f, 200.0f);
      spark.animStep = step;
      EXPECT_EQ(Findings("a-sprite-showing-the-label", PlayFrame, subject, said), 1);
      return;
    }
  }
  FAIL() << "no animation row shows cell " << kFpsCell;
}

INSTANTIATE_TEST_SUITE_P(BothPaths, WordCheckPlants, testing::Values(DrawingPath::kDevice, DrawingPath::kSoftware),
                         [](const testing::TestParamInfo<DrawingPath>& info) {
                           return info.param == DrawingPath::kDevice ? "Device" : "Software";
                         });

}  // namespace

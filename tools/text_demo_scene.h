// The fonts' demo scene, shared by tools/text_demo.cpp and its golden image test: the
// game's statistics lines in the default font through DrawFormattedText, then a line
// of every glyph kind (half-width, full-width, edged, anti-aliased, anti-aliased with
// edge, blended, tinted, vertical) on the back screen.
#pragma once

#include "core/library_lock.h"
#include "graphics/draw_entry_points.h"
#include "graphics/draw_state.h"
#include "graphics/fonts.h"
#include "graphics_demo_scene.h"

namespace text_scene {

constexpr int kScreenWidth = demo_scene::kScreenWidth;
constexpr int kScreenHeight = demo_scene::kScreenHeight;

// The fonts of the glyph-kind lines: type, edge size, size.
struct DemoFont {
  int type;
  int edgeSize;
  int size;
};
constexpr DemoFont kFonts[] = {{1, 1, 16}, {1, 2, 20}, {2, 1, 20}, {3, 2, 24}, {2, 1, 16}};
constexpr int kFontCount = sizeof(kFonts) / sizeof(kFonts[0]);

// Draws the scene on the back screen. 0, or -1 when a font cannot be made.
inline int DrawScene() {
  SetDrawTarget(kDrawTargetBackScreen);
  SetBlendMode(0, 0);
  ClearDrawTarget();
  // Background: dark bands, and a chequer behind the blended lines.
  for (int band = 0; band < 8; ++band) {
    DrawRect(0, band * 60, kScreenWidth, band * 60 + 60, MakeScreenColor(10 + band * 6, 12 + band * 4, 40 + band * 8), 1);
  }
  for (int x = 0; x < kScreenWidth; x += 16) {
    for (int y = 336; y < 400; y += 16) {
      if ((x / 16 + y / 16) % 2 == 0) DrawRect(x, y, x + 16, y + 16, MakeScreenColor(90, 110, 150), 1);
    }
  }

  // The statistics page and the frame-rate notice, as the game draws them.
  const unsigned white = MakeScreenColor(255, 255, 255);
  DrawFormattedText(24, 16, white, "スコア　　　　　　　%d", 12345670);
  DrawFormattedText(24, 36, white, "1st %d.", 9876500);
  DrawFormattedText(24, 56, white, "%d / 60 FPS", 38);
  DrawFormattedText(24, 76, MakeScreenColor(255, 220, 120),
                    "フレームレートが低い状態になっています。ゲームを再起動すると改善される場合があります。");
  DrawTextAt(24, 100, "Half-width ABCxyz 0123456789 !?#%&() ｱｲｳｴｵｶﾞﾊﾟ", MakeScreenColor(180, 255, 180), 0);
  DrawTextAt(24, 120, "全角：漢字かなカナ　ＡＢＣ１２３　「弾幕」～！", MakeScreenColor(180, 220, 255), 0);

  AcquireLibraryLock();
  int fonts[kFontCount];
  int made = 0;
  for (int i = 0; i < kFontCount; ++i) {
    fonts[i] = CreateFontToHandle(nullptr, kFonts[i].size, 6, kFonts[i].type, -1, kFonts[i].edgeSize, 0, -1, -1);
    if (fonts[i] >= 0) ++made;
  }
  const unsigned yellow = MakeScreenColor(255, 230, 60);
  const unsigned red = MakeScreenColor(200, 30, 30);
  const unsigned blue = MakeScreenColor(40, 60, 220);
  DrawTextWithFont(24, 148, "縁取り文字 Edge 1: 赤い縁", white, fonts[0], red, 0);
  DrawTextWithFont(24, 172, "縁取り 2 ピクセル: 黄色と青", yellow, fonts[1], blue, 0);
  DrawTextWithFont(24, 200, "アンチエイリアス Anti-aliased", white, fonts[2], 0, 0);
  DrawTextWithFont(24, 228, "滑らかな縁取り AA + edge", yellow, fonts[3], red, 0);
  SetDrawTint(120, 255, 160);
  DrawTextWithFont(24, 264, "色合い (tint) つきの文字", white, fonts[0], red, 0);
  SetDrawTint(255, 255, 255);
  SetFontSpaceToHandle(4, fonts[4]);
  DrawTextWithFont(24, 292, "字間 4 ピクセル spacing", white, fonts[4], 0, 0);
  SetFontSpaceToHandle(0, fonts[4]);

  // Blended over the chequer: alpha, add and subtract.
  SetBlendMode(1, 128);
  DrawTextWithFont(24, 340, "半透明 alpha 128", white, fonts[2], 0, 0);
  SetBlendMode(2, 200);
  DrawTextWithFont(232, 340, "加算 add", yellow, fonts[3], red, 0);
  SetBlendMode(3, 255);
  DrawTextWithFont(392, 340, "減算 subtract", white, fonts[1], blue, 0);
  SetBlendMode(0, 0);
  DrawTextWithFont(24, 372, "クリップの外へはみ出す長い行 clipped at the screen edge ....................", white,
                   fonts[0], red, 0);

  // Vertical text down the right side.
  DrawTextWithFont(560, 150, "縦書き「テキスト」", white, fonts[1], red, 1);
  DrawTextWithFont(596, 150, "縦 AA 文字ｱｲｳ", yellow, fonts[3], blue, 1);

  for (int i = 0; i < kFontCount; ++i) FreeFontHandle(fonts[i]);
  ReleaseLibraryLock();
  return made == kFontCount ? 0 : -1;
}

}  // namespace text_scene

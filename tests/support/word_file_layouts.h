// The save and replay files as the game documents them, word by word (1-based word
// numbers), and little-endian 32-bit word files for the tests that read and write them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/game_state.h"

inline std::string EncodeWords(const std::vector<int>& words) {
  std::string bytes;
  for (int word : words) {
    const auto value = static_cast<std::uint32_t>(word);
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  }
  return bytes;
}

inline std::vector<int> DecodeWords(const std::string& bytes) {
  std::vector<int> words(bytes.size() / 4);
  for (std::size_t i = 0; i < words.size(); ++i) {
    std::uint32_t value = 0;
    for (int b = 0; b < 4; ++b) value |= std::uint32_t{static_cast<unsigned char>(bytes[4 * i + b])} << (8 * b);
    words[i] = static_cast<int>(value);
  }
  return words;
}

// A file's words as the game documents them: word n (1-based) and its variable.
struct SavedWord {
  int word;
  int* variable;
};

inline std::vector<SavedWord> DocumentedLayout() {
  std::vector<SavedWord> layout = {{2, &TotalLevel}};
  for (int mode = 0; mode < 4; ++mode) {
    layout.push_back({3 + mode, &PlayCount[mode]});
    layout.push_back({11 + mode, &BestLevel[mode]});
    layout.push_back({15 + mode, &PlayFrames[mode]});
    layout.push_back({84 + mode, &BestStage[mode]});
  }
  for (int action = 0; action < 5; ++action) layout.push_back({21 + action, &KeyConfig[action]});
  int* const options[] = {&WindowedOption,    &ColourDepthOption, &VSyncOffOption,    &FacingLockControl,
                          &BackdropLayerOff,  &MiniMapOff,        &HitBoxOverlayOff,  &TitleImageVariant,
                          &DangerOverlayOff,  &HudCountersOff,    &HudPanelImageOff,  &HudNoticeOff,
                          &DamageFlashOff,    &EnemyHighlightOff, &RecordOptionA,     &RecordOptionB};
  for (int i = 0; i < 16; ++i) layout.push_back({26 + i, options[i]});
  for (int mode = 0; mode < 3; ++mode) {
    for (int list = 0; list < 4; ++list) {
      for (int place = 0; place < 3; ++place) {
        layout.push_back({42 + 12 * mode + 3 * list + place, &RankingBoards[mode][list][place]});
      }
    }
  }
  for (int type = 0; type < 6; ++type) layout.push_back({78 + type, &VariantShotFlags[type]});
  layout.push_back({88, &SlowdownOption});
  layout.push_back({89, &VibrationOption});
  layout.push_back({90, &LightMode});
  return layout;
}

inline std::vector<int> DefaultWords() {
  std::vector<int> words(90, 0);
  const int keys[] = {32, 16, 64, 128, 256};
  for (int i = 0; i < 5; ++i) words[20 + i] = keys[i];
  for (int word : {26, 32, 35, 36, 37, 38, 40, 41, 88}) words[word - 1] = 1;
  for (int mode = 0; mode < 3; ++mode) {
    for (int place = 0; place < 3; ++place) words[50 + 12 * mode + place] = 9999;
  }
  for (int word = 78; word <= 83; ++word) words[word - 1] = 999;
  words[88] = 2;
  return words;
}

// The variables a recording's header words are written from, all but the score (word
// 4, a float).
inline std::vector<SavedWord> RecordedHeaderLayout() {
  std::vector<SavedWord> layout = {{5, &ReplayHeader.mainShot}, {6, &ReplayHeader.secondShot},
                                   {7, &ReplayHeader.gameMode}, {8, &OptionType},
                                   {9, &OptionShot},            {10, &CoinsGot},
                                   {11, &EnemiesDestroyed},     {12, &ClearTimeSec},
                                   {13, &SavedFacingLockControl}};
  for (int letter = 0; letter < 3; ++letter) layout.push_back({1 + letter, &PlayerName[letter]});
  for (int action = 0; action < kActionCount; ++action) layout.push_back({14 + action, &ReplayHeader.keyMap[action]});
  return layout;
}

// Sets the run that a recording made now would write as these 18 header words.
inline void SetRecordedRun(const std::vector<int>& header18) {
  for (const SavedWord& word : RecordedHeaderLayout()) *word.variable = header18[word.word - 1];
  Score = static_cast<float>(header18[3]);
}

// A replay file as the game documents it: 19 header words, the frames, 300 zeros.
inline std::vector<int> ReplayWords(const std::vector<int>& header18, int frameCount, const std::vector<int>& frames,
                             int trailer = 300) {
  std::vector<int> words = header18;
  words.push_back(frameCount);
  words.insert(words.end(), frames.begin(), frames.end());
  words.insert(words.end(), trailer, 0);
  return words;
}

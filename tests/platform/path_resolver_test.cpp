#include "kernel/path_resolver.h"

#include <gtest/gtest.h>

#include "../support/scratch_directory.h"

TEST(PathResolver, MatchesEveryElementIgnoringCaseAndTakesBothSeparators) {
  ScratchDirectory scratch;
  scratch.Write("data/se/x.wav", "w");
  EXPECT_EQ(ResolvePath("DATA\\Se\\x.WAV"), "data/se/x.wav");
  EXPECT_EQ(ResolvePath("data/SE\\X.wav"), "data/se/x.wav");
  EXPECT_EQ(ResolvePath("data\\\\se//x.wav"), "data/se/x.wav");
  EXPECT_EQ(ResolvePath((scratch.path().string() + "/DATA\\se").c_str()), scratch.path().string() + "/DATA\\se");
}

TEST(PathResolver, PrefersTheExactSpellingThenTheFirstInByteOrder) {
  ScratchDirectory scratch;
  scratch.Write("Music/a", "1");
  scratch.Write("music/a", "2");
  scratch.Write("MUSIC/a", "3");
  EXPECT_EQ(ResolvePath("music\\a"), "music/a");
  EXPECT_EQ(ResolvePath("Music\\a"), "Music/a");
  EXPECT_EQ(ResolvePath("mUSIC\\a"), "MUSIC/a");  // "MUSIC" < "Music" < "music"
}

TEST(PathResolver, KeepsTheGivenSpellingOfWhatDoesNotExist) {
  ScratchDirectory scratch;
  scratch.Write("Save/old.dat", "");
  EXPECT_EQ(ResolvePath("SAVE\\New.Dat"), "Save/New.Dat");
  EXPECT_EQ(ResolvePath("Missing\\Folder\\f.txt"), "Missing/Folder/f.txt");
  EXPECT_EQ(ResolvePath("./save/../SAVE/old.DAT"), "./Save/../Save/old.dat");
  EXPECT_EQ(ResolvePath(""), "");
}

// Shift-JIS paths, as the game's texts are: "表" and "ソ" end in the byte 0x5C, and names
// on disk are UTF-8.
TEST(PathResolver, JapaneseElementsFindTheirUtf8NamesOnDisk) {
  ScratchDirectory scratch;
  scratch.Write(reinterpret_cast<const char*>(u8"data/表示/ソース.wav"), "w");
  const std::string onDisk = reinterpret_cast<const char*>(u8"data/表示/ソース.wav");
  EXPECT_EQ(ResolvePath("data\\表示\\ソース.wav"), onDisk);
  EXPECT_EQ(ResolvePath("DATA/表示/ソース.WAV"), onDisk);
  EXPECT_EQ(ResolvePath("data\\表示\\新規.txt"), reinterpret_cast<const char*>(u8"data/表示/新規.txt"));
  // A file to write is the same file by its exact name, and another one in another case.
  EXPECT_EQ(ResolvePath("DATA\\表示\\ソース.wav", LastElement::kExactName), onDisk);
  EXPECT_EQ(ResolvePath("data\\表示\\ソース.WAV", LastElement::kExactName),
            reinterpret_cast<const char*>(u8"data/表示/ソース.WAV"));
}

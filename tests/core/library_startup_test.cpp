// Library start-up and shut-down: the log of a whole run, the refused starts, and the
// fatal exit.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <thread>

#include "core/library_lock.h"
#include "core/library_startup.h"
#include "library_fixture.h"
#include "window/window.h"

namespace {

using LibraryStartupTest = LibraryTest;

// The whole log of a start and an end in window mode; lines with facts of the machine
// are patterns.
const char* const kStartAndEndLog[] = {
    "1:システムの情報を出力します",
    "2:ＭＵライブラリ Ver1.00",
    "3:ＯＳ  *",
    "105:ＣＰＵ動作速度：大体*GHz",
    "106:ＭＭＸ*",
    "107:ＣＰＵベンダ：*",
    "108:ＣＰＵ名：*",
    "109:ＣＯＭの初期化... 成功しました",
    "110:メモリ総量:*MB  空きメモリ領域:*MB ",
    "112:ソフトの二重起動検査... 二重起動はされていませんでした",
    "113:ウインドウクラスを登録します... 登録に成功しました",
    "114:ウインドウモード起動用のウインドウを作成します",
    "115:ＩＭＥを無効にしました",
    "317:ウインドウスタイルをウインドウモード用に変更します... 完了",
    "318:DirectInput関係初期化処理",
    "319:\tDirectInput7 の取得中... 成功",
    "320:\t\t引き続き初期化処理... 初期化成功",
    "321:\tジョイパッドの初期化... ",
    "322:\tジョイパッドの初期化は正常に終了しました",
    "323:\tマウスデバイスの初期化... 初期化成功",
    "324:\tキーボードデバイスの初期化... 初期化成功",
    "326:DirectInput 関連の初期化は正常に終了しました",
    "327:DirectSound の初期化を行います",
    "328:DirectSound インターフェースの取得を行います....  成功",
    "329:引き続きインターフェースの初期化処理...  成功",
    "330:\tDirectSound デバイスを列挙します",
    "331:\t\tモジュール名:                 ドライバ記述:Primary Sound Driver ",
    "332:\t\tモジュール名:*ドライバ記述:*",
    "333:\t最大サンプリングレート:48.00KHz 最小サンプリングレート:0.10KHz ",
    "334:\t総サウンドメモリ領域:0.00KB 空きサウンドメモリ領域:0.00KB ",
    "335:\t利用可能サンプリング精度",
    "336:\t プライマリ １６bit = OK  ８bit = OK ",
    "337:\t セカンダリ １６bit = OK  ８bit = OK ",
    "338:\t利用可能チャンネル",
    "339:\t プライマリ MONO = OK  STEREO = OK ",
    "340:\t セカンダリ MONO = OK  STEREO = OK ",
    "341:DirectSound の初期化は正常に終了しました",
    // The graphics start: DirectDraw in window mode at the desktop's 32 bits, no device.
    "*:DirectDraw 関連の初期化を行います",
    "*:\tDirectDraw オブジェクトの取得を行います....  成功",
    "*:\t引き続き初期化処理... 初期化に成功しました",
    "*:\tビデオカードの情報",
    "*:\t画面モード変更処理を開始します",
    "*:\t\t画面モードの変更処理を開始します 1024 x 768  32 bit ",
    "*:\t\t\tウインドウモードにします",
    "*:\t\t画面モードの変更は正常に終了しました ",
    "*:\t\tカラー情報",
    "*:\t\t\tA:00000000  B:00ff0000  G:0000ff00  B:000000ff",
    "*:\t\tウインドウスタイルをウインドウモード用に変更します... 完了",
    "*:\t\t出力画面用の DirectDrawSurface を作成します",
    "*:\t\t\t各スクリーンメモリの配置位置",
    "*:\t\t\t\tPrimaryBuffer : VIDEOMEMORY  ",
    "*:\t\t\t\tBaskBuffer : VIDEOMEMORY  ",
    "*:\t\t出力画面用の DirectDrawSurface の作成は正常に終了しました",
    "*:\t\tDirect3D 関連の初期化を行います",
    "*:\t\tＤｉｒｅｃｔ３Ｄオブジェクトを取得します",
    "*:\t\tＤｉｒｅｃｔ３Ｄオブジェクトを取得しました",
    "*:\t\t３Ｄデバイスを作成します... テクスチャ最大幅:2048 最小幅:1 描画制限: D3DPTEXTURECAPS_POW2 = 1  "
    "D3DPTEXTURECAPS_SQUAREONLY = 0 テクスチャピクセルフォーマット",
    "*:\t\t\t\t通常グラフィック用",
    "*:\t\t\t\t\t BIT:16  RED:5  GREEN:6  BLUE:5 \t\t RED:00f800 GREEN:0007e0 BLUE:00001f ",
    "*:\t\t\t\t\t BIT:32  RED:8  GREEN:8  BLUE:8 \t\t RED:ff0000 GREEN:00ff00 BLUE:0000ff ",
    "*:\t\t\t\tアルファチャンネル付きグラフィック用",
    "*:\t\t\t\t\t BIT:16  ALPHA:4  RED:4  GREEN:4  BLUE:4 \t\t ALPHA:0000f000 RED:00000f00 GREEN:000000f0 "
    "BLUE:0000000f ",
    "*:\t\t\t\t\t BIT:32  ALPHA:8  RED:8  GREEN:8  BLUE:8 \t\t ALPHA:ff000000 RED:00ff0000 GREEN:0000ff00 "
    "BLUE:000000ff ",
    "*:\t\tDirect3D 関連の初期化は正常に終了しました",
    "*:\t\tグラフィック管理系の初期化を行います",
    "*:\t\t\t３Ｄグラフィック描画機能を使用します",
    "*:\t\t\tフォントの初期化を行います",
    "*:\t\t\tフォントの初期化は正常に終了しました",
    "*:\t\tグラフィック管理系の初期化は正常に終了しました",
    "*:\t\tサーフェス間転送には * を使用します",
    "*:\t\tBitBlt:*μs   BltFast:*μs",
    "*:\t\tスキャンラインの数:768",
    "*:\t\t１フレーム*",
    "*:\t\t\tTri00:* msec",
    "*:\t\t\tTri01:* msec",
    "*:\t\t\tTri02:* msec",
    "*:\t\t\tTri03:* msec",
    "*:\t画面モード変更処理は正常に終了しました",
    "*:\tオーバーレイサーフェスは使用しません",
    "*:DirectDraw 関連の初期化は正常に終了しました",
    "*:文字コードバッファの初期化を行います... 完了しました",
    "*:DirectDraw 関連の終了処理をおこないます",
    "*:\tフォントの初期化を行います",
    "*:\tフォントの初期化は正常に終了しました",
    "*:\tグラフィック管理系の終了処理は正常に終了しました",
    "*:\tDirect3D 関連の終了処理を行います",
    "*:\t３Ｄデバイスの削除は正常に終了しました",
    "*:\tDirect3D 関連の終了処理は正常に終了しました",
    "*:\tメインサーフェスを破棄をします... 完了しました",
    "*:\tＤｉｒｅｃｔＤｒａｗオブジェクトを解放します",
    "*:\tＤｉｒｅｃｔＤｒａｗオブジェクトを解放しました",
    "*:DirectDraw 関連の終了処理は正常に終了しました",
    "*:DirectInput 関連の終了処理... 完了",
    "*:DirectSound の終了処理は正常に終了しました",
    "*:ウインドウを閉じようとしています",
    "*:ウインドウが破棄されようとしています",
    "*:ソフトを終了する準備が整いました",
    "*:ＣＯＭを終了... 完了",
    "*:",
    "*:Alloc memory dump",
    "*:\tTotal size:0(0.000kb)  Alloc num:0",
    "*:",
};

TEST_F(LibraryStartupTest, StartAndEndWriteEveryLineInOrder) {
  ASSERT_EQ(InitLibrary(), 0);
  EXPECT_EQ(ProcessMessage(), 0);
  ASSERT_EQ(EndLibrary(), 0);
  const std::vector<std::string> lines = LogLines();
  const std::size_t expected = sizeof(kStartAndEndLog) / sizeof(kStartAndEndLog[0]);
  ASSERT_EQ(lines.size(), expected) << scratch_.Read("Log.txt");
  for (std::size_t i = 0; i < expected; ++i) {
    EXPECT_TRUE(MatchesPattern(lines[i], kStartAndEndLog[i])) << "line " << i;
  }
}

// Three starts in one process, each on a fresh clock as a whole-game session has: each
// writes the first one's log and its frames take the first one's time.
TEST_F(LibraryStartupTest, AStartAfterAnEndIsTheFirstStartAgain) {
  const std::size_t expected = sizeof(kStartAndEndLog) / sizeof(kStartAndEndLog[0]);
  std::uint32_t firstFrames = 0;
  for (int start = 0; start < 3; ++start) {
    TestClockStart(1000000, 1000);
    ASSERT_EQ(InitLibrary(), 0) << "start " << start;
    SetDrawTarget(kDrawTargetBackScreen);
    const std::uint32_t before = GetMilliseconds();
    for (int frame = 0; frame < 30; ++frame) {
      ASSERT_EQ(ProcessMessage(), 0);
      ClearDrawTarget();
      DrawRect(10 * frame, 0, 10 * frame + 20, 20, MakeScreenColor(255, 255, 255), 1);
      PresentScreen();
    }
    const std::uint32_t frames = GetMilliseconds() - before;
    if (start == 0) firstFrames = frames;
    EXPECT_LE(frames, firstFrames + 30) << "start " << start;
    ASSERT_EQ(EndLibrary(), 0);
    const std::vector<std::string> lines = LogLines();
    ASSERT_EQ(lines.size(), expected) << "start " << start;
    for (std::size_t i = 0; i < expected; ++i) {
      EXPECT_TRUE(MatchesPattern(lines[i], kStartAndEndLog[i])) << "start " << start << " line " << i;
    }
  }
}

TEST_F(LibraryStartupTest, FullScreenHidesTheCursorAndKeepsTheWindowOnTop) {
  ChangeWindowMode(0);
  ASSERT_EQ(InitLibrary(), 0);
  EXPECT_TRUE(LogContains("フルスクリーンモード用のウインドウを作成します\r\n"));
  EXPECT_TRUE(LogContains("カーソルを不可視にしました\r\n"));
  EXPECT_EQ(ProcessMessage(), 0);
  EXPECT_EQ(EndLibrary(), 0);
  // The full-screen mode ended with it: a window-mode start after it is a first start.
  ChangeWindowMode(1);
  ASSERT_EQ(InitLibrary(), 0);
  EXPECT_EQ(ProcessMessage(), 0);
  ASSERT_EQ(EndLibrary(), 0);
  EXPECT_EQ(LogLines().size(), std::size(kStartAndEndLog)) << scratch_.Read("Log.txt");
}

TEST_F(LibraryStartupTest, ASecondStartWhileRunningIsRefusedAndChangesNothing) {
  ASSERT_EQ(InitLibrary(), 0);
  EXPECT_EQ(InitLibrary(), -1);
  EXPECT_EQ(ProcessMessage(), 0);
  EXPECT_NE(FindWindowA("M123987U", nullptr), nullptr);
  EXPECT_EQ(EndLibrary(), 0);
  EXPECT_EQ(FindWindowA("M123987U", nullptr), nullptr);
}

TEST_F(LibraryStartupTest, A24BitDesktopInWindowModeIsRefusedBeforeComOrTheWindow) {
  DDrawTestFakeDesktop(1280, 1024, 24);
  EXPECT_EQ(InitLibrary(), -1);
  DDrawTestFakeDesktop(0, 0, 0);
  EXPECT_EQ(FindWindowA("M123987U", nullptr), nullptr);
  const std::vector<std::string> lines = LogLines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_TRUE(MatchesPattern(lines[0], "*:ＭＵライブラリは２４ビットカラーモードに対応していません"));
  EXPECT_FALSE(LogContains("ＣＯＭ"));
  EXPECT_TRUE(MatchesPattern(lines[lines.size() - 2], "*Alloc num:0"));
  // The failed start left the library able to start.
  EXPECT_EQ(InitLibrary(), 0);
  EXPECT_EQ(EndLibrary(), 0);
}

TEST_F(LibraryStartupTest, AWindowThatCannotBeMadeFailsTheStartAndShutsDown) {
  TestFailWindowCreation(1);
  EXPECT_EQ(InitLibrary(), -1);
  TestFailWindowCreation(0);
  EXPECT_TRUE(LogContains("ウインドウの作成に失敗しました\r\n"));
  EXPECT_TRUE(LogContains("ＣＯＭを終了... 完了\r\n"));
  EXPECT_TRUE(MatchesPattern(LogLines().back(), "*:"));
  EXPECT_EQ(EndLibrary(), 0);
}

// Started in "bs\sub", it logs and ends there; "bs/sub", even behind another user's link, keeps its log.
TEST_F(LibraryStartupTest, AFolderNamedWithABackslashIsThatFolder) {
  for (const std::string top : {"shared/", "mine/"}) {
    const std::filesystem::path own = scratch_.path() / top / "bs\\sub";
    const std::string other = top + (top == "mine/" ? "bs/sub/Log.txt" : "theirs/sub/Log.txt");
    scratch_.Write(other, "kept");
    std::filesystem::create_directories(own);
    std::filesystem::permissions(own.parent_path(), std::filesystem::perms::all | std::filesystem::perms::sticky_bit);
    if (top == "shared/") std::filesystem::create_symlink("theirs", "shared/bs"), lchown("shared/bs", 1234, 1234);
    std::filesystem::current_path(own);
    ASSERT_EQ(InitLibrary(), 0);
    EndLibrary();
    EXPECT_EQ(std::filesystem::current_path(), own);
    EXPECT_NE(scratch_.Read(top + "bs\\sub/Log.txt").find("ＣＯＭを終了"), std::string::npos);
    EXPECT_EQ(scratch_.Read(other), "kept");
  }
}

TEST_F(LibraryStartupTest, ASecondProcessInTheSameFolderIsRefused) {
  // With no display the check is per working folder: both copies run in the scratch
  // folder, and the log stays the first one's.
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  TestSetSingleInstanceCheck(1);
  int ready[2];
  int hold[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(hold), 0);
  const pid_t first = fork();
  if (first == 0) {
    // The first copy runs until the test lets it end.
    close(ready[0]);
    close(hold[1]);
    const char started = InitLibrary() == 0 ? 'y' : 'n';
    if (write(ready[1], &started, 1) != 1) _exit(2);
    char unused;
    while (read(hold[0], &unused, 1) > 0) {
    }
    EndLibrary();
    _exit(0);
  }
  close(ready[1]);
  close(hold[0]);
  char started = 'n';
  ASSERT_EQ(read(ready[0], &started, 1), 1);
  ASSERT_EQ(started, 'y');

  const std::string firstLog = scratch_.Read("Log.txt");
  EXPECT_EQ(InitLibrary(), -1);
  EXPECT_EQ(scratch_.Read("Log.txt"), firstLog);
  EXPECT_TRUE(LogContains("ソフトの二重起動検査... 二重起動はされていませんでした\r\n"));
  EXPECT_EQ(EndLibrary(), 0);
  EXPECT_EQ(scratch_.Read("Log.txt"), firstLog);

  close(hold[1]);
  int status = 0;
  waitpid(first, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// No runtime folder, and no folder of the user's own can be made where they are made (the
// place is no folder, as on a broken system): neither the folder's nor the display's mark
// can be kept. The library starts all the same, and says so once on standard error and in
// the log.
TEST_F(LibraryStartupTest, WithoutAPrivateLockFolderTheStartSaysOnceThatASecondCopyIsNotRefused) {
  scratch_.Write("not-a-folder", "");
  const std::string root = (scratch_.path() / "not-a-folder").string();
  const pid_t copy = fork();
  if (copy == 0) {
    const bool redirected = freopen("errors.txt", "w", stderr) != nullptr;
    unsetenv("XDG_RUNTIME_DIR");
    TestSetLockFolderRoots(root.c_str(), root.c_str());
    TestSetSingleInstanceCheck(1);
    const bool ran = redirected && InitLibrary() == 0 && EndLibrary() == 0;
    _exit(fflush(stderr) == 0 && ran ? 0 : 1);
  }
  int status = -1;
  waitpid(copy, &status, 0);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(scratch_.Read("errors.txt"), std::string(program_invocation_short_name) + ": " +
                                             reinterpret_cast<const char*>(
                                                 u8"このフォルダでの二重起動を防げません：ロックファイルを置ける自分専用のフォルダがありません\n"));
  EXPECT_TRUE(LogContains("このフォルダでの二重起動を防げません"));
}

TEST_F(LibraryStartupTest, AFatalErrorShutsDownAndEndsWithStatus255) {
  GTEST_FLAG_SET(death_test_style, "fast");
  EXPECT_EXIT(
      {
        InitLibrary();
        AcquireLibraryLock();
        FatalErrorExitFmt("致命的なエラー %d", 7);
      },
      ::testing::ExitedWithCode(255), "");
  const std::vector<std::string> lines = LogLines();
  EXPECT_TRUE(LogContains(":致命的なエラー 7\r\n"));
  EXPECT_TRUE(LogContains("ウインドウが破棄されようとしています\r\n"));
  ASSERT_GE(lines.size(), 2u);
  EXPECT_TRUE(MatchesPattern(lines[lines.size() - 2], "*Alloc num:0"));
}

TEST_F(LibraryStartupTest, AFatalErrorOffTheGameThreadEndsWithoutTheShutDown) {
  GTEST_FLAG_SET(death_test_style, "fast");
  EXPECT_EXIT(
      {
        InitLibrary();
        std::thread other([] {
          AcquireLibraryLock();
          FatalErrorExit("別スレッドのエラー");
        });
        other.join();
      },
      ::testing::ExitedWithCode(255), "");
  EXPECT_TRUE(LogContains(":別スレッドのエラー\r\n"));
  EXPECT_FALSE(LogContains("ウインドウが破棄されようとしています"));
}

}  // namespace

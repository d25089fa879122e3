// A small demo of the library as it stands: writes a log with Japanese lines and
// nested indents, draws a few random numbers through the entry points, leaks one
// block on purpose and ends with the leak report. The log lines are echoed to the
// terminal (as UTF-8) through the debugger output; Log.txt itself is Shift-JIS and
// stays in a temporary folder.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/log.h"
#include "core/tracked_alloc.h"
#include "demo_work_folder.h"
#include "game_library.h"

int main() {
  setenv("VANTOREL_DEBUG_OUTPUT", "1", 0);
  DemoWorkFolder work;
  OpenLogFile();
  LogWrite("ライブラリのデモを開始します\n");

  LogWrite("乱数の初期化を行います\n");
  IncreaseLogIndent();
  SeedRandom(0);
  for (int i = 0; i < 5; ++i) {
    const int value = RandomInRange(99);
    LogPrintf("RandomInRange(99) = %d", value);
  }
  DecreaseLogIndent();

  LogWrite("メモリを確保します\n");
  IncreaseLogIndent();
  char* kept = static_cast<char*>(TRACKED_ALLOC(32));
  std::strcpy(kept, "わざと解放しないメモリ");
  void* freed = TRACKED_CALLOC(100);
  TrackedFree(freed);
  LogPrintf("確保中のメモリ: %zu バイト、%zu 個", TrackedBytesInUse(), TrackedBlocksInUse());
  DecreaseLogIndent();

  LogPrintf("タイマーの値: %u ms", GetMilliseconds());
  LogWrite("デモを終了します\n");
  DumpTrackedBlocks();
  TrackedFree(kept);
  std::printf("\n%s (Shift-JIS) written.\n", work.KeepLog().c_str());
  return 0;
}

// A small demo of the library as it stands: writes the log and exits.
#include "core/log.h"

int main() {
  OpenLogFile();
  LogWrite("ライブラリのデモを開始します\n");
  return 0;
}

// The game program: no command-line options.
#include "core/frame_loop.h"

int main() { return WinMain(); }

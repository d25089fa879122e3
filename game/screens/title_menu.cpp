// Scene 2: the title menu as one page machine. Each frame tests the pages in order,
// so a page handing over to a higher one lets that page run in the same frame, while
// a lower one waits for the next frame.
#include "core/game_state.h"
#include "screens/menu_common.h"
#include "screens/screens.h"

namespace {

using PageBlock = void (*)(int page);
constexpr PageBlock kPageBlocks[] = {
    RunIntroPage,    RunIntroPage,    RunIntroPage,    RunIntroPage,    RunIntroPage,    RunMainMenuPage,
    RunMainMenuPage, RunOptionsPage,  RunOptionsPage,  RunMainMenuPage, RunMainMenuPage, RunIntroPage,
    RunMainMenuPage, RunRecordsPage,  RunRecordsPage,  RunRecordsPage,  RunPracticePage, RunPracticePage,
    RunRecordsPage,  RunRecordsPage,  RunMainMenuPage,
};
static_assert(std::size(kPageBlocks) == 21, "pages 0 to 20");

}  // namespace

void UpdateTitleMenu() {
  for (int page = 0; page < static_cast<int>(std::size(kPageBlocks)); ++page) {
    if (MenuState.page == static_cast<float>(page)) kPageBlocks[page](page);
  }
}

// The game screens: one function per scene besides play.
#pragma once

void UpdateTitleMenu();      // scene 2
void UpdateLoadoutSelect();  // scene 1
void RunResultScene();       // scene 3
void RunEnding();            // scene 4

// The file of the first picture that the logo, the notice or the title draws and that
// did not load; null when all did.
const char* MissingIntroPicture();

// The stage flow: the loadout backdrop and the start of play (scene 1), the stage
// backgrounds and scenery with the stage-end states (scene 0) and the ending's
// backgrounds (scene 4). Everything it draws lies behind the objects.
#pragma once

void UpdateStage();

// The stage-script rows that are written as code rather than as table rows.
#pragma once

// Stage 7, frame 5000: every enemy record, whatever its state, becomes a fading
// cancelled bullet, so no hold counts it any more.
void CancelEveryEnemy();

// Stage 8, frame 7910, before the final form is spawned: the core's first work word
// rises by 500, the red flash, every bullet cancelled, and the boss records of slots
// 11 to 20 move to group 2 (slot 19 to group 3).
void ChangeBossForm();

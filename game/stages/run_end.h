// The end of a run at stage 8's frame 10800: the ending, the results of a finished
// playback, or the halt of a practice run.
#pragma once

void EndTheRun();

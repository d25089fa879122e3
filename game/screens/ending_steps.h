// The ending's parts: the rows of its timeline, and the hand-over to the results that
// the timeline's last row and the skip share.
#pragma once

// The music channel of the ending's track.
constexpr int kEndingMusicChannel = 2;

// Performs the timeline's rows of the frame, in the order written.
void PerformEndingRows(int frame);
// The results start at their set-up phase with the after-ending music, next frame.
void HandEndingOverToResults();

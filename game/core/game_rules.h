// Rules that several parts of play share: coin milestones, level-ups, the death
// slow-down, pad vibration by priority, side notices with their bonus, the bonus
// history and the stage event arrays.
#pragma once

void CheckMilestoneBonus();
void CheckLevelUp();
void RequestSlowdown(int ms);
void VibratePad(int power, int priority);
void AddInfoBonus(int icon, int points);
// A notice that only a recording shows (an unlock reached): it has a place of its
// own, so it never takes one that a paying bonus needs.
void ShowRecordingNotice(int icon);
void DrawSideNotices();
void PushBonusHistory(int value);
void ClearStageEventState();

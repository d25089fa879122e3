#include "objects/player_relative.h"

#include "game_library.h"
#include "objects/template_helpers.h"

const GameObject& Player() { return ObjectPool[kPlayerSlot]; }

float PlayerSide() { return ForwardSign(Player().facing); }

int PlayerFacingBit() { return Player().facing == 0 ? 0 : 1; }

GameObject& NewRecordAtPlayer(const TemplateRow& common, const TemplateRow& own) {
  GameObject& record = NewRecord(common);
  WriteRow(record, own);
  record.x = Player().x;
  record.y = Player().y;
  return record;
}

void DrawFlameCourse(GameObject& record, float side, int speed, double phaseBase) {
  const int faster = RandomInRange(3);
  record.vx = side * static_cast<float>(speed + faster);
  const int shrink = RandomInRange(3);
  record.phase = static_cast<float>(phaseBase + 0.01 * shrink);
}

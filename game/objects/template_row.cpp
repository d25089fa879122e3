#include "objects/template_row.h"

namespace {

template <typename T>
void Put(T& field, const RowField<T>& value) {
  if (value) field = *value;
}

}  // namespace

void WriteRow(GameObject& record, const TemplateRow& row) {
  Put(record.state, row.state);
  Put(record.layer, row.layer);
  Put(record.category, row.category);
  Put(record.x, row.x);
  Put(record.y, row.y);
  Put(record.vx, row.vx);
  Put(record.vy, row.vy);
  Put(record.spare, row.spare);
  Put(record.collidable, row.collidable);
  Put(record.width, row.width);
  Put(record.height, row.height);
  Put(record.hitWidth, row.hitWidth);
  Put(record.hitHeight, row.hitHeight);
  Put(record.imageSet, row.imageSet);
  Put(record.blendMode, row.blendMode);
  Put(record.fade, row.fade);
  Put(record.animation, row.animation);
  Put(record.animTimer, row.animTimer);
  Put(record.animStep, row.animStep);
  Put(record.facing, row.facing);
  Put(record.angle, row.angle);
  Put(record.scaleDelta, row.scaleDelta);
  Put(record.behaviour, row.behaviour);
  Put(record.timer, row.timer);
  Put(record.timer2, row.timer2);
  Put(record.hitPoints, row.hitPoints);
  Put(record.group, row.group);
  Put(record.attackPower, row.attackPower);
  Put(record.phase, row.phase);
  Put(record.phase2, row.phase2);
  Put(record.work[0], row.work0);
  Put(record.work[1], row.work1);
  Put(record.work[2], row.work2);
  Put(record.work[3], row.work3);
  Put(record.workInt, row.workInt);
  Put(record.hitFlash, row.hitFlash);
  Put(record.scoreValue, row.scoreValue);
  Put(record.coinDrop, row.coinDrop);
  Put(record.deathEffect, row.deathEffect);
  Put(record.weight, row.weight);
  Put(record.expValue, row.expValue);
}

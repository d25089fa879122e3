// The constant part of what a template writes into one record: one optional value
// per GameObject field, in GameObject order. An empty field is not written, so the
// record keeps what it held: its reset value, or on a full pool whatever slot 8500
// held before.
#pragma once

#include <optional>

#include "core/game_object.h"

template <typename T>
using RowField = std::optional<T>;

struct TemplateRow {
  RowField<int> state{}, layer{}, category{};
  RowField<float> x{}, y{}, vx{}, vy{}, spare{};
  RowField<int> collidable{}, width{}, height{}, hitWidth{}, hitHeight{}, imageSet{}, blendMode{};
  RowField<float> fade{};
  RowField<int> animation{}, animTimer{}, animStep{}, facing{};
  RowField<float> angle{}, scaleDelta{};
  RowField<int> behaviour{}, timer{}, timer2{}, hitPoints{}, group{}, attackPower{};
  RowField<float> phase{}, phase2{}, work0{}, work1{}, work2{}, work3{};
  RowField<int> workInt{}, hitFlash{}, scoreValue{}, coinDrop{}, deathEffect{}, weight{}, expValue{};
};

// Writes every field the row holds.
void WriteRow(GameObject& record, const TemplateRow& row);

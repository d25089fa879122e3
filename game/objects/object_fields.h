// The 41 fields of a GameObject by name, in record order, for listings of records
// (the template dump tool and test messages). The work words are named work0 to
// work3 and workInt.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "core/game_object.h"

struct ObjectField {
  const char* name;
  std::size_t offset;
  bool isFloat;
};

extern const std::array<ObjectField, 41> kObjectFields;

// The field's value as text: whole numbers as they are, floats as "%.9g".
std::string FieldText(const GameObject& record, const ObjectField& field);

#include "objects/object_fields.h"

#include <cstdio>
#include <cstring>

#define INT_FIELD(name) ObjectField{#name, offsetof(GameObject, name), false}
#define FLOAT_FIELD(name) ObjectField{#name, offsetof(GameObject, name), true}

const std::array<ObjectField, 41> kObjectFields = {
    INT_FIELD(state),     INT_FIELD(layer),      INT_FIELD(category),   FLOAT_FIELD(x),
    FLOAT_FIELD(y),       FLOAT_FIELD(vx),       FLOAT_FIELD(vy),       FLOAT_FIELD(spare),
    INT_FIELD(collidable), INT_FIELD(width),     INT_FIELD(height),     INT_FIELD(hitWidth),
    INT_FIELD(hitHeight), INT_FIELD(imageSet),   INT_FIELD(blendMode),  FLOAT_FIELD(fade),
    INT_FIELD(animation), INT_FIELD(animTimer),  INT_FIELD(animStep),   INT_FIELD(facing),
    FLOAT_FIELD(angle),   FLOAT_FIELD(scaleDelta), INT_FIELD(behaviour), INT_FIELD(timer),
    INT_FIELD(timer2),    INT_FIELD(hitPoints),  INT_FIELD(group),      INT_FIELD(attackPower),
    FLOAT_FIELD(phase),   FLOAT_FIELD(phase2),
    ObjectField{"work0", offsetof(GameObject, work) + 0 * sizeof(float), true},
    ObjectField{"work1", offsetof(GameObject, work) + 1 * sizeof(float), true},
    ObjectField{"work2", offsetof(GameObject, work) + 2 * sizeof(float), true},
    ObjectField{"work3", offsetof(GameObject, work) + 3 * sizeof(float), true},
    INT_FIELD(workInt),   INT_FIELD(hitFlash),   INT_FIELD(scoreValue), INT_FIELD(coinDrop),
    INT_FIELD(deathEffect), INT_FIELD(weight),   INT_FIELD(expValue),
};

#undef INT_FIELD
#undef FLOAT_FIELD

std::string FieldText(const GameObject& record, const ObjectField& field) {
  const char* bytes = reinterpret_cast<const char*>(&record) + field.offset;
  char text[32];
  if (field.isFloat) {
    float value;
    std::memcpy(&value, bytes, sizeof value);
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
  } else {
    int value;
    std::memcpy(&value, bytes, sizeof value);
    std::snprintf(text, sizeof text, "%d", value);
  }
  return text;
}

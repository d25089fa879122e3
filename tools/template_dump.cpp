// template_dump TEMPLATE [X Y FACING PARENT]: the records one CreateObject call writes,
// for review. From a new game's state with the player at (1000, 500) and the
// generator seeded 0, it prints each record the call took, in the order taken, as
// "slot=<n>" and then every field as " <name>=<value>" in record order (floats as
// %.9g). A number that names no template prints nothing.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/game_state.h"
#include "core/new_game.h"
#include "game_library.h"
#include "objects/object_factory.h"
#include "objects/object_fields.h"
#include "objects/objects.h"

namespace {

std::vector<int> takenSlots;

void NoteSlot(int slot) { takenSlots.push_back(slot); }

int Argument(int argc, char** argv, int index, int fallback) {
  return index < argc ? std::atoi(argv[index]) : fallback;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: template_dump TEMPLATE [X Y FACING PARENT]\n");
    return 2;
  }
  const int templateId = std::atoi(argv[1]);
  NewGameInit();
  ObjectPool[kPlayerSlot].x = 1000.0f;
  ObjectPool[kPlayerSlot].y = 500.0f;
  SeedRandom(0);
  RecordTakenHook = NoteSlot;
  CreateObject(templateId, Argument(argc, argv, 2, 1000), Argument(argc, argv, 3, 500), Argument(argc, argv, 4, 0),
               Argument(argc, argv, 5, 1));
  for (int slot : takenSlots) {
    std::printf("slot=%d", slot);
    for (const ObjectField& field : kObjectFields) {
      std::printf(" %s=%s", field.name, FieldText(ObjectPool[slot], field).c_str());
    }
    std::printf("\n");
  }
  return 0;
}

// The object factory's dispatch: every template number names one function of its
// family, found in one sorted table. Each family source lists its numbers; the
// families are listed once, in template_families.def.
#pragma once

#include <span>

// The arguments of one CreateObject call.
struct TemplateCall {
  int templateId;
  int x, y;
  int facing;
  int parentSlot;
};

using TemplateFunction = void (*)(const TemplateCall& call);

struct TemplateEntry {
  int templateId;
  TemplateFunction create;
};

// The function that makes template `templateId`, or null for a number that names
// no template.
TemplateFunction FindTemplate(int templateId);

// Called with each slot a template takes, in the order taken (the dump tool and the
// tests list the records of a call with it); null in play.
extern void (*RecordTakenHook)(int slot);

#define TEMPLATE_FAMILY(name) std::span<const TemplateEntry> name();
#include "objects/template_families.def"
#undef TEMPLATE_FAMILY

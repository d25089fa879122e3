// The object factory and the per-frame object update: the services of the object
// templates and behaviours that the rest of the game calls.
#pragma once

// Fills one or more pool records from template `templateId` (an ObjectTemplateId)
// at world position (x, y); `parentSlot` is the record whose group the new object
// takes, or a related record. An unknown template creates nothing.
void CreateObject(int templateId, int x, int y, int facing, int parentSlot);
// Runs every active record by its behaviour number.
void UpdateObjects();
// The death sequence of the record's deathEffect kind; does not free the record.
void SpawnDeathEffects(int slot);

// The image sets and animation rows that objects are drawn with, recorded for every
// test of this program through the object drawing's hook and written at the test's end,
// one "<image set> <row>" line each, as kShownRowsFile in the test's frame folder.
#pragma once

constexpr const char* kShownRowsFile = "rows-shown.txt";

// The recorder's hook: notes the record's set and row and lets it be drawn. A test that
// puts a hook of its own on the drawing puts this one back after.
bool NoteShownRow(int slot);

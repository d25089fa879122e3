// Workers of the archive-setting entry points.
#pragma once

int SetArchiveAccessBody(int flag);
int SetArchiveFileExtensionBody(const char* extension);
int SetArchiveKeyBody(const char* key);

// Beside the windows that FindWindowA finds in other processes (on the same display), one
// claim that a single process at a time holds on its working folder: a lock on the folder
// itself, so it follows the folder whatever path names it, needs no write permission and
// leaves no file, and the kernel drops it when the process ends, however it ends. Off,
// with the double-start check, through TestSetSingleInstanceCheck.
#pragma once

// Claims the current working folder for this process, until released or the process
// ends; a claim already held is kept, wherever the process has moved since. False only
// when another process holds the folder; a folder that cannot be locked counts as free.
bool ClaimWorkingFolder();
void ReleaseWorkingFolder();

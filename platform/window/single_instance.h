// Beside the windows that FindWindowA finds in other processes (on the same display), one
// claim that a single process at a time holds on its working folder: a lock on the hidden
// file "." class name ".lock" in it (".M123987U.lock"), which the kernel drops when the
// process ends, however it ends. Only those who may write the folder can make that file,
// and it is the user's own (mode 0600), so no other user can hold the claim; a lock on the
// folder itself counts for nothing. Off, with the double-start check, through
// TestSetSingleInstanceCheck.
#pragma once

// Claims the current working folder for this process, until released or the process
// ends; a claim already held is kept, wherever the process has moved since. False only
// when another process of this user holds the claim. Where none can be made (a folder the
// user may not write, a lock file of another user or a link at its name, which is never
// opened through) the folder counts as free.
bool ClaimWorkingFolder(const char* className);
// Removes the lock file, while still holding it and only when it is still the one at the
// name, then drops the claim. A killed process leaves its file, which the next claim takes
// over.
void ReleaseWorkingFolder();

// Beside the windows that FindWindowA finds in other processes (on the same display), one
// claim that a single process at a time holds on its working folder: locks on files of
// the user's own, named after the folder's device and inode, in every folder only the
// user may write (the runtime folders, "/tmp/" class "-" uid). The kernel drops the locks
// when the process ends, however it ends. Nothing another user leaves in the working
// folder or in /tmp can hold the claim or make one copy look like another. Off, with the
// double-start check, through TestSetSingleInstanceCheck.
#pragma once

enum class FolderClaim {
  kMade,                // this process holds it (or the check is off)
  kTakenByAnotherCopy,  // another process of this user holds it
  kNoPrivatePlace,      // no folder of the user's own to keep it in: a second copy cannot be refused
};

// Claims the current working folder for this process, until released or the process
// ends; a claim already held is kept, wherever the process has moved since.
FolderClaim ClaimWorkingFolder(const char* className);
// Removes the lock file, while still holding it and only when it is still the one at the
// name, then drops the claim. A killed process leaves its file, which the next claim takes
// over.
void ReleaseWorkingFolder();

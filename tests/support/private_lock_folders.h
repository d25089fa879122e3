// Every test program keeps the double-start check's lock folders in its own temporary
// folder: nothing of the machine's runtime folders or /tmp is met or left behind.
#pragma once

// Points the check at this program's folders again (after a test pointed it elsewhere).
void UsePrivateLockFolders();

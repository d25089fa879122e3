// Where a name in the game's folder leads through links: one element at a time, in the
// name and in the target of every link met, so that a link on the way (a folder of the
// path, a link in another link's target) is judged by its owner as well as the name's own.
#pragma once

#include <sys/types.h>

#include <string>

// Where a name leads: the file it finally names, or the link where the walk stopped.
struct LinkWalk {
  std::string file;
  bool throughLink = false;  // `file` was reached by following a link
  bool foreign = false;      // `file` is a link of another user, not followed
  uid_t owner = 0;           // its owner
};

// Follows the links of this user (and root's: the system's own, such as /var/run, which
// no other user may point elsewhere) to a name that holds no link, whether a file stands
// there or not; every link in folders on the way is replaced by its target in that name.
// A relative target is taken from the link's folder. A link of anyone else is not
// followed: its maker, not this user, chose where it leads (a game run by root would
// otherwise read and replace any file). A loop leaves `name` itself, which then replaces
// the loop as a plain file would. With `standingOnly` a link is followed only when
// something stands at its target, so the name found is that of a file, a folder, a
// FIFO... or a link that leads nowhere.
LinkWalk FollowOwnLinks(const std::string& name, bool standingOnly = false);

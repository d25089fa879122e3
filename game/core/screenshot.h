// Screenshot file names: "VT" and the date and time without zero padding. A name
// that is already taken (by anything, of anyone's) gets "_2", "_3", ... before its
// extension, so a shot never overwrites an earlier one or another user's file.
#pragma once

#include <string>

// dateTime: year, month, day, hour, minute, second.
std::string ScreenshotFileName(const int dateTime[6]);

// Screenshot file names: "VT" and the date and time without zero padding. A name
// that is already taken gets "_2", "_3", ... before its extension, so a shot never
// overwrites an earlier one.
#pragma once

#include <string>

// dateTime: year, month, day, hour, minute, second.
std::string ScreenshotFileName(const int dateTime[6]);

// Golden pictures of the game's frames: a saved frame is compared pixel for pixel
// with tests/e2e/golden/<name>.png. With VANTOREL_UPDATE_GOLDEN=1 in the environment
// the frame replaces the golden picture instead (look at it before committing).
#pragma once

#include <string>

void ExpectGoldenFrame(const std::string& framePath, const std::string& goldenName);

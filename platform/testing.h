// Controls for tests: what each stand-in lets a test see and steer. Nothing in the
// shipped program calls these.
#pragma once

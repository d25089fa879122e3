// Synthesised placeholder sounds: short 16-bit PCM WAV effects and Ogg Vorbis
// music loops, each recognisable by its pitch.
#pragma once

#include <string>

// A short tone whose pitch and shape follow `seed`.
bool WriteEffectWav(const std::string& path, int seed);
// A few seconds of a looping arpeggio whose key follows `seed`.
bool WriteMusicOgg(const std::string& path, int seed);

// The dragon's sight: how often the harmless things of play (pick-ups, effects and
// decorations) hide the dragon. On a sampled pass the frame's objects are drawn three
// more times in a box around the dragon, before the frame's own drawing: without the
// harmless things and without the dragon, without the harmless things, and with
// everything. The dragon's own pixels are those its drawing changes; the frame hides it
// when the harmless things change more than half of them. Inside the box the sampled
// frame then shows its objects over black.
#pragma once

struct SightFigures {
  int sampled = 0;     // passes measured
  int seen = 0;        // of them, those that drew the dragon
  int hidden = 0;      // of them, those where it was hidden
  int longestRun = 0;  // passes in a row over which it stayed hidden, counted by samples
};

// Measures while it lives; the object drawing runs plainly again after.
class SightMeasure {
 public:
  explicit SightMeasure(int sampleEvery);
  ~SightMeasure();
  SightMeasure(const SightMeasure&) = delete;
  SightMeasure& operator=(const SightMeasure&) = delete;

  // Whether the next pass is measured.
  void SampleNextPass(bool sample);
  const SightFigures& figures() const;
};

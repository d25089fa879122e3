// Whether a drawn frame's ground reaches every edge of the screen: a page that stops
// short of an edge leaves a band of whatever lies below it, cut off by a straight line
// along the whole edge. A band is a strip 4 to 160 pixels deep whose inner line differs
// from the next one in along nearly the whole edge, and whose colour (on its middle line)
// the inner side shows at few places along the edge, within as deep again (64 at least).
// A thinner strip is a rim or a line of the page itself.
#pragma once

#include <string>
#include <vector>

struct Canvas;

// Each band found, as "the bottom 40 rows".
std::vector<std::string> EdgeBandsOf(const Canvas& frame);

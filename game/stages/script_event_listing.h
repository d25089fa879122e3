// Every event of a stage script, read from its table alone: each timeline over its
// whole range, with holds and halts ignored, every range, list, lap and repeat
// expanded and a "> N" row once. One line per event:
//   M<mode> S<stage> T<timeline> F<frame> Spawn t=<template> x=<x> y=<y> f=<facing> g=<parent>
//   ... Hold g=<group> n=<threshold>, Jump to=<frame>, Halt, <Kind> key=value ...
// A "> N" row has F>N, an every-call row F*. Positions are numbers or P.x, P.y+350
// (the player's), R(1500)+250 (a draw), slot17.x. Within a timeline the events come
// by frame, the "> N" ones last, and within a frame in written order.
#pragma once

#include <string>
#include <vector>

std::vector<std::string> ListStageEvents(int mode, int stage);

// The receiver's three equaliser impulse responses, in 1/s, on ResponseGrid.
// Setting 0 is the weakest equalisation, setting 2 the strongest (taller,
// earlier peak and deeper undershoot). Each spans 512 grid steps, is zero
// from entry 513 on, and sums (times the grid step) to the equaliser's
// low-frequency gain, slightly under 1. Read-only: the network hands each
// filter a copy.
#pragma once

#include "models/ResponseGrid.h"

extern const double EqResponse0[ResponsePointCount];
extern const double EqResponse1[ResponsePointCount];
extern const double EqResponse2[ResponsePointCount];

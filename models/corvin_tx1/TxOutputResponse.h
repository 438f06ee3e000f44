// The transmitter output stage's impulse response, in 1/s, on ResponseGrid.
// It spans 512 grid steps, is zero from entry 513 on, and sums (times the
// grid step) to the stage's low-frequency gain, slightly under 1. Read-only:
// the network hands the filter a copy.
#pragma once

#include "models/ResponseGrid.h"

extern const double TxOutputResponse[ResponsePointCount];

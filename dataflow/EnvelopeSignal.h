// EnvelopeSignal: a plain 16-byte sample of two doubles (an envelope value
// and its carrier phase). No live network carries it; it exists so the
// buffer family is complete.
#pragma once

namespace Vantra {

struct EnvelopeSignal {
    double Envelope = 0.0;
    double Phase = 0.0;
};

static_assert(sizeof(EnvelopeSignal) == 16, "two 8-byte fields");

}  // namespace Vantra

#pragma once
// Heap use of a benchmark program: every malloc, calloc, realloc and free (and so every
// operator new) goes through counters, so that a benchmark can report the peak bytes one call
// held. Linked into one benchmark program only; any thread.

#include <cstdint>

namespace tessary::bench {

// Starts a measurement: the peak is reset to what is held now.
void ResetPeak();
// The most bytes held at once since ResetPeak, less what was held at ResetPeak.
int64_t PeakSinceReset();

} // namespace tessary::bench

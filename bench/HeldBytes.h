// HeldBytes: the heap bytes this process holds, counted by its own malloc,
// free, calloc and realloc (HeldBytes.cpp), which every library it loads
// calls too. The C library's own statistics are no measure of one model
// instance: they count neither the blocks it keeps cached for reuse as
// free nor the large blocks it maps separately as held.
#pragma once

long HeldBytes();

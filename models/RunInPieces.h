// RunInPieces: a network fires `firings` times in pieces of at most `span`
// firings, piece(base, n) firing n of them from offset base and returning
// how many succeeded. A piece that falls short ends the run; the count of
// firings that succeeded is returned.
#pragma once

#include <cstddef>

template <class Piece>
std::size_t RunInPieces(std::size_t firings, std::size_t span, Piece piece) {
    std::size_t done = 0;
    while (done < firings) {
        const std::size_t n = firings - done < span ? firings - done : span;
        const std::size_t good = piece(done, n);
        done += good;
        if (good < n) break;
    }
    return done;
}

// PieceFirings: what a network's blocks have fired of one piece of n
// firings. Blocks fire in signal order over the piece; when one falls
// short, the firing it failed is the last that the blocks after it fire,
// and only the firings before it count as good.
#pragma once

#include <cstddef>

class PieceFirings {
public:
    explicit PieceFirings(std::size_t n) : good_(n), left_(n) {}

    // Firings the next block fires.
    std::size_t Left() const { return left_; }
    // Firings that every block so far has fired.
    std::size_t Good() const { return good_; }

    // A block fired done of Left(); false when it fell short.
    bool Fired(std::size_t done) {
        if (done >= left_) return true;
        good_ = good_ < done ? good_ : done;
        left_ = done + 1;
        return false;
    }

private:
    std::size_t good_;
    std::size_t left_;
};

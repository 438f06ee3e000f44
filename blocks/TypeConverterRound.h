// TypeConverterRound: conversion policy from double to int that rounds
// halves away from zero (2.5 -> 3, -2.5 -> -3). A result outside the int
// range, and a NaN, convert to the smallest int.
#pragma once

namespace Vantra {

struct TypeConverterRound {
    static double RoundValue(double x);
    static int Convert(double x, int& out);
};

}  // namespace Vantra

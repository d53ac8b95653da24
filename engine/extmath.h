#pragma once

// Elementary functions of the engine's own, built from x87 extended arithmetic
// (+ - * / and square root, which every platform rounds alike) and the x87
// arctangent instruction, so that an operation gives the same double wherever
// the program runs: the C libraries' extended-precision sine family, e^x, 2^x
// and inverse sine and cosine differ between platforms, the sine family up to
// unrelated values for large arguments. (Their logarithms and arctangents are
// the x87 instructions on both and agree.)
//
// The functions work with a pair of long doubles where it counts and round to
// a long double that then rounds to the double nearest to the true value in
// all but extremely rare cases (see ForDouble).

#include "extended.h"

namespace pellix {

// sin, cos and tan of x radians; any finite x below 2^1346 (beyond every double
// times pi). Not finite or beyond: not a number.
Ext ExtSin(Ext x);
Ext ExtCos(Ext x);
Ext ExtTan(Ext x);

// sin, cos and tan of t units of hi + lo radians (an angle unit to 128 bits),
// abs(t * hi) <= pi/4: for angles in degrees or grads the caller has reduced.
Ext ExtSinOfMultiple(Ext t, Ext hi, Ext lo);
Ext ExtCosOfMultiple(Ext t, Ext hi, Ext lo);
Ext ExtTanOfMultiple(Ext t, Ext hi, Ext lo);

// e^x and 2^x; beyond the extended range infinity or 0.
Ext ExtExp(Ext x);
Ext ExtExp2(Ext x);

// arctan(y/x) in the quadrant of (x, y), in (-pi, pi]: the x87 instruction,
// which the C libraries' own atan2l and atanl are built on.
Ext ExtAtan2(Ext y, Ext x);

// Inverse sine and cosine in radians; abs(x) <= 1, else not a number.
Ext ExtAsin(Ext x);
Ext ExtAcos(Ext x);

} // namespace pellix

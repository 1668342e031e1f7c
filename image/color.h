#pragma once

// How well one colour reads on another, as WCAG measures it: relative luminance and the
// contrast ratio of two colours, 1 to 21. The skin's own colour choices (the generic
// windows' colours, a suggested design) and the warnings about the user's are judged alike.

#include <initializer_list>

#include "image/dib.h"

// Relative luminance of an sRGB colour, 0 (black) to 1 (white).
double Luminance(ColorRef color);

double ContrastRatio(ColorRef a, ColorRef b);

// The lowest contrast of ink on any of the grounds (21 for none).
double LeastContrast(ColorRef ink, std::initializer_list<ColorRef> grounds);

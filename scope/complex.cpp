#include "complex.h"

#include <cmath>

const complex complex::i(0, 1);
const complex complex::j(0, 1);

double complex::abs() const
{
    return std::sqrt(norm());
}

// The 8-point Gauss-Legendre rule on [-1, 1]: exact for polynomials up to degree
// 15, used for the smooth (bounded) parts of the cell integrals.
#pragma once

namespace lumetra {

inline constexpr double GaussLegendre8Nodes[8] = {
    -0.9602898564975363, -0.7966664774136267, -0.5255324099163290, -0.1834346424956498,
    0.1834346424956498,  0.5255324099163290,  0.7966664774136267,  0.9602898564975363};
inline constexpr double GaussLegendre8Weights[8] = {
    0.1012285362903763, 0.2223810344533745, 0.3137066458778873, 0.3626837833783620,
    0.3626837833783620, 0.3137066458778873, 0.2223810344533745, 0.1012285362903763};

}  // namespace lumetra

// Reciprocity of the filled system.
//
// The exact operator of the layout is reciprocal: the voltage that unit current on
// element m induces along element n equals the one that unit current on n induces
// along m. The unknowns are current densities, so with w the width across which
// each unknown's current flows (dy for Jx elements, dx for Jy elements, the edge's
// width for a ground point), reciprocity reads w_n Z_nm = w_m Z_mn.
//
// The fill tests each element at its centre (point matching) and integrates the
// source over its cell. Where two different shapes meet (a ground point's half
// strip and a current element, cells of different sizes, the separate spectral
// integrals of the slab's xy and yx corrections) the two orders of integration
// differ by their quadrature error, and the filled matrix is reciprocal only to
// that error (1e-4 relative for ground points). Averaging the two orders keeps the
// symmetric part of the reaction, which both orders approximate equally well, and
// makes ports, networks and received voltages exactly reciprocal.
#pragma once

#include "solver/element_lists.h"
#include "solver/interaction_fill.h"

namespace lumetra {

// The width of each unknown of a block of rows or columns: its current elements
// in list order, followed by the ground points when they sit in that block.
std::vector<double> UnknownWidths(const ElementLists& elements, bool alongX, bool withGroundPoints);

// Replaces w_n Z_nm and w_m Z_mn by their mean over every pair of unknowns of the
// system (within Zxx, within Zyy, and between Zxy and Zyx). The diagonal is kept.
void SymmetriseReactions(const SystemMatrices& matrices, const ElementLists& elements,
                         GroundPointPlacement groundPoints);

// The largest |w_n Z_nm - w_m Z_mn| over the system, relative to the largest
// |w_n Z_nm|: 0 for an exactly reciprocal fill.
double ReciprocityDefect(const SystemMatrices& matrices, const ElementLists& elements,
                         GroundPointPlacement groundPoints);

}  // namespace lumetra

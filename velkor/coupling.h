// The four couplings of horizontal current elements and the geometry of one pair.
#pragma once

namespace velkor {

// xx and yy: source and testing segment along the same axis; xy: a y-directed source
// tested on an x-directed segment; yx: an x-directed source tested on a y-directed one.
// The values are the kinds 1 to 4 of the interaction exports.
enum class Coupling { xx = 1, yy = 2, xy = 3, yx = 4 };

// The testing segment lies along x for xx and xy, along y for yy and yx.
constexpr bool tests_along_x(Coupling coupling) {
  return coupling == Coupling::xx || coupling == Coupling::xy;
}

// A rectangular source element and a thin testing segment, in metres.
struct ElementPair {
  double dx;  // source centre minus testing centre, x
  double dy;  // source centre minus testing centre, y
  double ax;  // half-size of the source along x
  double ay;  // half-size of the source along y
  double at;  // half-length of the testing segment along its own direction
  // The source's current and charge follow the edge-singular distribution of a thin
  // flat strip across its direction (across y for an x-directed source) instead of
  // a uniform one: the across factor of its transform is a J0(k a), not sin(k a)/k.
  bool edge_singular = false;
};

// The source is x-directed for xx and yx.
constexpr bool source_along_x(Coupling coupling) {
  return coupling == Coupling::xx || coupling == Coupling::yx;
}

// The slab at one frequency.
struct Slab {
  double k0;  // free-space wavenumber, rad/m
  double er;  // relative permittivity
  double h;   // thickness, m
};

}  // namespace velkor

#include "velkor/interaction.h"

#include "velkor/angle_grid.h"
#include "velkor/contour_legs.h"
#include "velkor/real_axis_tail.h"

namespace velkor {

Complex interaction(Coupling coupling, double f_mhz, double er, double h, const ElementPair& pair,
                    double krmax, double dkr) {
  const Slab slab{free_space_wavenumber(f_mhz), er, h};
  const AngleGrid full = full_circle_grid();
  Complex integral = leg_integral(rise_leg(slab), coupling, pair, slab, full);
  integral += leg_integral(flat_leg(slab), coupling, pair, slab, full);
  integral += leg_integral(drop_leg(slab), coupling, pair, slab, full);
  integral += tail_integral(coupling, pair, slab, krmax, dkr, half_circle_grid());
  return (Eta0 / slab.k0) * integral;
}

}  // namespace velkor

// What radiates in the near-field computation: every current element and ground
// point of the last run, taken from the current files, as Hertzian dipoles.
//
// - A Jx (Jy) element of .XXX (.YYY) at (x, y, 0) along x (y), moment I dx dy.
// - A ground point of .ZZX (left/right cell edge) has a horizontal half strip along
//   x centred half the signed half size a away from the edge, moment I |a| b; one
//   of .ZZY (bottom/top edge) one along y, moment I a |b|.
// - Every ground point has a vertical strip from the board down to the ground
//   plane, which together with its image is a z dipole of length 2h at depth h,
//   moment s I w 2h (s the sign of the signed half size, w the cell size along the
//   edge).
// With a ground plane every horizontal dipole has an image at depth 2h with the
// opposite moment.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "fields/near_field_kernels.h"
#include "model/user_interface.h"

namespace lumetra {

// The five groups in summation order: Jx elements, horizontal parts of the .ZZX
// ground points, Jy elements, horizontal parts of the .ZZY ground points, vertical
// parts of both.
enum class SourceGroup { JxElements, ZzxHorizontal, JyElements, ZzyHorizontal, Vertical };
inline constexpr int SourceGroupCount = 5;

struct NearFieldSources {
  std::array<std::vector<Dipole>, SourceGroupCount> Groups;

  const std::vector<Dipole>& Group(SourceGroup g) const {
    return Groups[static_cast<std::size_t>(g)];
  }
};

// One current file as read from disk (or given as text). A missing file counts as
// empty: the layout never wrote it.
struct CurrentFileText {
  std::string Name;
  std::string Content;
  bool Empty = true;

  static CurrentFileText Read(const std::filesystem::path& file);
  static CurrentFileText FromContent(std::string name, std::string content);
};

// The four current files of a run: .XXX, .ZZX, .YYY, .ZZY.
struct CurrentFileSet {
  CurrentFileText Xxx, Zzx, Yyy, Zzy;

  static CurrentFileSet Read(const std::filesystem::path& projectFile);
};

// The frequencies a computation from the current files works through: those of the
// scan file (.XXX unless empty, else .YYY) in file order, as far as every file
// holds them whole. A run that was killed while it appended a point can leave one
// file a block ahead of the others; its incomplete tail is set aside, and each such
// tail is shown once through ui.ShowWarning. Throws FileError for a damaged file.
std::vector<double> CompleteRunFrequencies(const CurrentFileSet& files, UserInterface& ui);

// The sources of one group at frequency f (MHz), from the first block at or above
// f of the group's file(s). heightMetres > 0 puts the ground plane at that depth.
// Throws FileError for a damaged file or one without a block for f.
std::vector<Dipole> ReadSourceGroup(const CurrentFileSet& files, SourceGroup group,
                                    double frequencyMHz, double heightMetres);

// All five groups at f, each file's block read once.
NearFieldSources ReadNearFieldSources(const CurrentFileSet& files, double frequencyMHz,
                                      double heightMetres);

}  // namespace lumetra

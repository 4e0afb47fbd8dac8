// A private temporary directory that lives as long as its owner: a run's copies of
// a project never meet another run's, and a project that happens to share their
// names is never overwritten.
#pragma once

#include <filesystem>
#include <string_view>

namespace lumetra {

class PrivateDirectory {
public:
  // Creates <temp>/<prefix>XXXXXX; throws FileError when it cannot.
  explicit PrivateDirectory(std::string_view prefix = "lumetra-run-");
  ~PrivateDirectory();
  PrivateDirectory(const PrivateDirectory&) = delete;
  PrivateDirectory& operator=(const PrivateDirectory&) = delete;

  const std::filesystem::path& Path() const { return path_; }

private:
  std::filesystem::path path_;
};

}  // namespace lumetra

#include "studies/emission/limit_files.h"

#include <cstdlib>
#include <system_error>

#include "model/file_io.h"

#ifndef LUMETRA_SOURCE_DATA_DIR
#define LUMETRA_SOURCE_DATA_DIR ""
#endif

namespace lumetra::emission {

namespace fs = std::filesystem;

std::vector<std::string> ShippedLimitNames() {
  return {"cispr32-a-10m", "cispr32-a-3m", "cispr32-a-3m-average", "cispr32-a-3m-peak",
          "cispr32-b-10m", "cispr32-b-3m", "cispr32-b-3m-average", "cispr32-b-3m-peak",
          "fcc15-a-10m",   "fcc15-a-10m-average", "fcc15-b-3m", "fcc15-b-3m-average"};
}

std::vector<fs::path> LimitSearchDirectories() {
  std::vector<fs::path> directories;
  if (const char* data = std::getenv("LUMETRA_DATA"); data != nullptr && *data != '\0')
    directories.push_back(fs::path(data) / "limits");
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (!error) directories.push_back(self.parent_path().parent_path() / "share" / "lumetra" / "limits");
  if (*LUMETRA_SOURCE_DATA_DIR != '\0') directories.push_back(fs::path(LUMETRA_SOURCE_DATA_DIR) / "limits");
  return directories;
}

fs::path LimitFilePath(const std::string& name) {
  const bool plain = !name.empty() && name.size() <= 100 && name.find("..") == std::string::npos &&
                     name.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                            "0123456789-_.") == std::string::npos;
  if (!plain) throw FileError("Error: \"" + name + "\" is not the name of a limit line");
  std::string searched;
  for (const fs::path& directory : LimitSearchDirectories()) {
    const fs::path candidate = directory / (name + ".csv");
    std::error_code error;
    if (fs::is_regular_file(candidate, error)) return candidate;
    searched += (searched.empty() ? "" : ", ") + directory.string();
  }
  throw FileError("Error: The limit line \"" + name + "\" was not found in " +
                  (searched.empty() ? std::string("any data directory") : searched));
}

}  // namespace lumetra::emission

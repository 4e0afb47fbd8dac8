#include "model/private_directory.h"

#include <stdlib.h>

#include <string>
#include <system_error>

#include "model/file_io.h"

namespace lumetra {

PrivateDirectory::PrivateDirectory(std::string_view prefix) {
  std::string pattern =
      (std::filesystem::temp_directory_path() / (std::string(prefix) + "XXXXXX")).string();
  if (!::mkdtemp(pattern.data())) throw FileError("Cannot create a temporary directory");
  path_ = pattern;
}

PrivateDirectory::~PrivateDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace lumetra

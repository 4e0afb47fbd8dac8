// Feeds arbitrary bytes to every project-file reader. The input is cut at NUL bytes
// into the texts of a .PRO, .SEG, .GEN, .IMP and .GPC (and the element readers see
// the whole input). Readers may refuse a file, but only with FileError; whatever
// they accept must come back identical through the writer and a second read.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cli/job_file.h"
#include "model/file_io.h"
#include "model/input_checks.h"
#include "model/project_files.h"
#include "tests/fuzz/fuzz_support.h"

using namespace lumetra;
using lumetra::fuzz::Require;

namespace {

template <typename Parse, typename Format>
void RoundTrip(std::string_view text, const char* name, const ElementCounts& counts, Parse parse,
               Format format) {
  try {
    const auto records = parse(text, name, counts);
    const std::string written = format(records);
    const std::string again = format(parse(written, name, counts));
    Require(written == again);
  } catch (const FileError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string_view data(reinterpret_cast<const char*>(bytes), size);
  const std::vector<std::string> part = fuzz::SplitAtNul(data, 5);

  try {
    ParseProFile(part[0], "fuzz.PRO");
  } catch (const FileError&) {
  }

  Project project;
  ElementCounts counts;
  try {
    ParseSegFile(part[1], "fuzz.SEG", project);
    counts = CountElements(project.Segments);
    const std::string written = FormatSegFile(project);
    Project reread;
    ParseSegFile(written, "fuzz.SEG", reread);
    Require(FormatSegFile(reread) == written);
  } catch (const FileError&) {
  }

  RoundTrip(part[2], "fuzz.GEN", counts, ParseGenFile, FormatGenFile);
  RoundTrip(part[3], "fuzz.IMP", counts, ParseImpFile, FormatImpFile);
  RoundTrip(part[4], "fuzz.GPC", counts, ParseGpcFile, FormatGpcFile);

  try {
    ParseChargeElementFile(data, "fuzz.CHE");
  } catch (const FileError&) {
  }
  try {
    ParseCurrentElementFile(data, "fuzz.JXC");
  } catch (const FileError&) {
  }
  // The batch job file: a refusal is a FileError; an accepted job has a project.
  try {
    for (const cli::JobLine& job : cli::ParseJobFile(data, "fuzz.jobs"))
      Require(!job.Words.empty() && job.Line >= 1);
  } catch (const FileError&) {
  }
  ParseIntegerText(part[0]);
  ParseRealText(part[0]);
  return 0;
}

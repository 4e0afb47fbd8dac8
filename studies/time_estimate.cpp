#include "studies/time_estimate.h"

#include <cmath>
#include <system_error>

#include "model/file_io.h"
#include "model/number_format.h"
#include "model/text_reader.h"

namespace lumetra {

TimeConstants ReadTimeConstants(const std::filesystem::path& file) {
  TimeConstants constants;
  try {
    const std::string content = ReadTextFile(file, 1 << 16);
    TextReader in(content, file.string());
    TimeConstants read;
    int line = in.BeginRecordLine();
    read.Unknowns = in.ReadInteger("number of unknowns", 0, 1'000'000);
    in.EndRecordLine(line, 1, "the unknown count");
    line = in.BeginRecordLine();
    read.FillSeconds = in.ReadReal("matrix fill time");
    in.EndRecordLine(line, 1, "the fill time");
    line = in.BeginRecordLine();
    read.InvertSeconds = in.ReadReal("matrix inversion time");
    in.EndRecordLine(line, 1, "the inversion time");
    if (read.FillSeconds >= 0 && read.InvertSeconds >= 0) constants = read;
  } catch (const FileError&) {
    // Never calibrated, or a damaged file: no estimate rather than a wrong one.
  }
  return constants;
}

void WriteTimeConstants(const std::filesystem::path& file, const TimeConstants& constants) {
  WriteTextFile(file, FormatInteger(constants.Unknowns) + "\r\n" +
                          FormatR23(constants.FillSeconds) + "\r\n" +
                          FormatR23(constants.InvertSeconds) + "\r\n");
}

double EstimateSeconds(const TimeConstants& constants, std::int32_t unknowns, bool groundPlane,
                       std::size_t points) {
  if (constants.Unknowns <= 0) return 0.0;
  const double ratio = static_cast<double>(unknowns) / constants.Unknowns;
  double t = ratio * ratio * constants.FillSeconds;
  if (groundPlane) t *= 2.0;
  t += ratio * ratio * ratio * constants.InvertSeconds;
  return t * static_cast<double>(points);
}

namespace {

struct Parts {
  long long hours, minutes, seconds, milliseconds;
};

Parts Decompose(std::chrono::duration<double> d) {
  long long ms = std::llround(std::max(0.0, d.count()) * 1000.0);
  Parts p{};
  p.hours = ms / 3'600'000;
  ms %= 3'600'000;
  p.minutes = ms / 60'000;
  ms %= 60'000;
  p.seconds = ms / 1000;
  p.milliseconds = ms % 1000;
  return p;
}

std::string Format(const Parts& p, int style) {
  const std::string s = std::to_string(p.seconds);
  const std::string m = std::to_string(p.minutes);
  switch (style) {
    case 2: return std::to_string(p.hours) + " hours, " + m + " minutes and " + s + " seconds";
    case 1: return std::to_string(p.minutes) + " minutes and " + s + " seconds";
    default: {
      // Tenths of a second, rounded half to even, after a decimal comma; 0.96 s
      // carries into the seconds rather than reading as ",10".
      long long seconds = p.seconds;
      long long tenths = static_cast<long long>(std::nearbyint(p.milliseconds * 0.01));
      if (tenths == 10) ++seconds, tenths = 0;
      return std::to_string(seconds) + "," + std::to_string(tenths) + " seconds";
    }
  }
}

}  // namespace

std::string CompletionReport(std::chrono::duration<double> total,
                             std::chrono::duration<double> fill,
                             std::chrono::duration<double> invert) {
  const Parts t = Decompose(total);
  const int style = t.hours > 0 ? 2 : (t.minutes > 0 ? 1 : 0);
  return "Computation completed in " + Format(t, style) + "\r\rMatrix fill time: " +
         Format(Decompose(fill), style) + "\rMatrix invert time: " + Format(Decompose(invert), style);
}

}  // namespace lumetra

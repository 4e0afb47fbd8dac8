#include "studies/computation_settings_file.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "model/file_io.h"
#include "model/project_files.h"

namespace lumetra {

namespace {

using Json = nlohmann::json;

constexpr const char* FormatName = "lumetra-computation-settings";
constexpr int FormatVersion = 1;
// A settings file is a few hundred bytes; a long frequency list a few hundred kB.
constexpr std::size_t MaxSettingsBytes = 4u << 20;
constexpr std::size_t MaxListLines = 100000;

// Reads entries of one JSON object, keeping the default for a missing one and
// refusing an entry of the wrong kind with the file and the entry named.
class Entries {
public:
  Entries(const Json& object, const std::string& fileName, std::string path)
      : object_(object), fileName_(fileName), path_(std::move(path)) {
    if (!object_.is_object()) Fail(path_.empty() ? "a settings object" : "an object");
  }

  void Text(const char* key, std::string& value) const {
    if (const Json* e = Find(key)) {
      if (!e->is_string()) Fail(key, "a text");
      value = e->get<std::string>();
    }
  }
  void Flag(const char* key, bool& value) const {
    if (const Json* e = Find(key)) {
      if (!e->is_boolean()) Fail(key, "true or false");
      value = e->get<bool>();
    }
  }
  void Whole(const char* key, std::int32_t& value, std::int32_t low, std::int32_t high) const {
    if (const Json* e = Find(key)) {
      if (!e->is_number_integer() || e->get<std::int64_t>() < low || e->get<std::int64_t>() > high)
        Fail(key, "a whole number from " + std::to_string(low) + " to " + std::to_string(high));
      value = static_cast<std::int32_t>(e->get<std::int64_t>());
    }
  }
  void Real(const char* key, double& value) const {
    if (const Json* e = Find(key)) {
      if (!e->is_number()) Fail(key, "a number");
      value = e->get<double>();
    }
  }
  void Lines(const char* key, std::vector<std::string>& value) const {
    if (const Json* e = Find(key)) {
      if (!e->is_array() || e->size() > MaxListLines) Fail(key, "a list of texts");
      value.clear();
      for (const Json& line : *e) {
        if (!line.is_string()) Fail(key, "a list of texts");
        value.push_back(line.get<std::string>());
      }
    }
  }
  [[noreturn]] void Refuse(const char* key, const std::string& expected) const {
    Fail(key, expected);
  }
  Entries Object(const char* key) const {
    static const Json empty = Json::object();
    const Json* e = Find(key);
    return Entries(e ? *e : empty, fileName_, Join(key));
  }

private:
  const Json* Find(const char* key) const {
    const auto it = object_.find(key);
    return it == object_.end() ? nullptr : &*it;
  }
  std::string Join(const char* key) const { return path_.empty() ? key : path_ + "." + key; }
  [[noreturn]] void Fail(const char* key, const std::string& expected) const {
    throw FileError("Error in file \"" + fileName_ + "\": \"" + Join(key) + "\" must be " +
                    expected);
  }
  [[noreturn]] void Fail(const std::string& expected) const {
    throw FileError("Error in file \"" + fileName_ + "\": " +
                    (path_.empty() ? std::string("the file") : "\"" + path_ + "\"") +
                    " must be " + expected);
  }

  const Json& object_;
  const std::string& fileName_;
  std::string path_;
};

// The line of a byte offset, for the parser's errors.
std::size_t LineOf(const std::string& text, std::size_t byte) {
  const std::size_t end = std::min(byte, text.size());
  return 1 + static_cast<std::size_t>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(end), '\n'));
}

}  // namespace

std::filesystem::path ComputationSettingsFile(const std::filesystem::path& projectFile) {
  return ProjectFileWithExtension(projectFile, ComputationSettingsExtension);
}

std::string FormatComputationSettings(const StoredComputationSettings& stored) {
  const ComputationSettings& s = stored.Page;
  Json json = {
      {"format", FormatName},
      {"version", FormatVersion},
      {"frequency",
       {{"sweep", s.SweepFreq},
        {"single", s.Frequency},
        {"start", s.StartFreq},
        {"stop", s.StopFreq},
        {"step", s.StepFreq},
        {"logarithmic", s.LogSweep},
        {"fromList", s.FreqListCB},
        {"list", s.FrequencyList}}},
      {"excitation",
       {{"incidentField", s.IncField},
        {"theta", s.IncTheta},
        {"phi", s.IncPhi},
        {"polarisation", s.IncPol}}},
      {"useLoads", s.ImpFile},
      {"farField",
       {{"compute", s.FarField},
        {"thetaStart", s.ThetaStart},
        {"thetaStop", s.ThetaStop},
        {"thetaStep", s.ThetaStep},
        {"phiStart", s.PhiStart},
        {"phiStop", s.PhiStop},
        {"phiStep", s.PhiStep}}},
      {"substrate",
       {{"rigorous", s.RigSol},
        {"effectivePermittivityApproximation",
         s.EffectivePermittivity.Model == EffectivePermittivityModel::ApproximateEvery},
        {"approximateEvery", s.EffectivePermittivity.Every}}},
      {"solver", {{"accuracy", AccuracyWord(s.Accuracy)}}},
      {"selectedFrequency", stored.SelectedFrequency},
  };
  std::string text = json.dump(2);
  std::string crlf;
  crlf.reserve(text.size() + text.size() / 16 + 2);
  for (char c : text) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  crlf += "\r\n";
  return crlf;
}

StoredComputationSettings ParseComputationSettings(const std::string& text,
                                                   const std::string& fileName) {
  Json json;
  try {
    json = Json::parse(text);
  } catch (const Json::parse_error& error) {
    throw FileError("Error in file \"" + fileName + "\", line " +
                    std::to_string(LineOf(text, error.byte)) +
                    ": not a computation settings file");
  }
  const Entries top(json, fileName, "");
  std::string format;
  top.Text("format", format);
  if (format != FormatName)
    throw FileError("Error in file \"" + fileName + "\": not a computation settings file");

  StoredComputationSettings stored;
  ComputationSettings& s = stored.Page;
  const Entries frequency = top.Object("frequency");
  frequency.Flag("sweep", s.SweepFreq);
  frequency.Text("single", s.Frequency);
  frequency.Text("start", s.StartFreq);
  frequency.Text("stop", s.StopFreq);
  frequency.Text("step", s.StepFreq);
  frequency.Flag("logarithmic", s.LogSweep);
  frequency.Flag("fromList", s.FreqListCB);
  frequency.Lines("list", s.FrequencyList);
  const Entries excitation = top.Object("excitation");
  excitation.Flag("incidentField", s.IncField);
  excitation.Text("theta", s.IncTheta);
  excitation.Text("phi", s.IncPhi);
  excitation.Text("polarisation", s.IncPol);
  top.Flag("useLoads", s.ImpFile);
  const Entries far = top.Object("farField");
  far.Flag("compute", s.FarField);
  far.Text("thetaStart", s.ThetaStart);
  far.Text("thetaStop", s.ThetaStop);
  far.Text("thetaStep", s.ThetaStep);
  far.Text("phiStart", s.PhiStart);
  far.Text("phiStop", s.PhiStop);
  far.Text("phiStep", s.PhiStep);
  const Entries substrate = top.Object("substrate");
  substrate.Flag("rigorous", s.RigSol);
  bool approximation = false;
  substrate.Flag("effectivePermittivityApproximation", approximation);
  s.EffectivePermittivity.Model = approximation ? EffectivePermittivityModel::ApproximateEvery
                                                : EffectivePermittivityModel::SimpleFormula;
  // The options dialog admits 1 to 99 frequencies between two approximations.
  substrate.Whole("approximateEvery", s.EffectivePermittivity.Every, 1, 99);
  // Files written before the setting existed hold no "solver" entry: the model
  // they were computed with was the standard one.
  const Entries solver = top.Object("solver");
  std::string accuracy = AccuracyWord(SolverAccuracy::Standard);
  solver.Text("accuracy", accuracy);
  const std::optional<SolverAccuracy> parsed = AccuracyFromWord(accuracy);
  if (!parsed) solver.Refuse("accuracy", "\"standard\" or \"high\"");
  s.Accuracy = *parsed;
  top.Real("selectedFrequency", stored.SelectedFrequency);
  if (!(stored.SelectedFrequency >= 0.0)) stored.SelectedFrequency = 0.0;
  return stored;
}

void SaveComputationSettings(const std::filesystem::path& projectFile,
                             const StoredComputationSettings& settings) {
  WriteTextFile(ComputationSettingsFile(projectFile), FormatComputationSettings(settings));
}

std::optional<StoredComputationSettings> LoadComputationSettings(
    const std::filesystem::path& projectFile) {
  const std::filesystem::path file = ComputationSettingsFile(projectFile);
  std::error_code error;
  if (!std::filesystem::exists(file, error)) return std::nullopt;
  return ParseComputationSettings(ReadTextFile(file, MaxSettingsBytes), file.string());
}

}  // namespace lumetra

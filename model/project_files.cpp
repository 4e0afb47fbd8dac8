#include "model/project_files.h"

#include <ctime>
#include <system_error>

#include "model/file_io.h"
#include "model/number_format.h"
#include "model/text_reader.h"

namespace lumetra {

std::filesystem::path ProjectFileWithExtension(const std::filesystem::path& projectFile,
                                               std::string_view extension) {
  std::filesystem::path path = projectFile;
  path.replace_extension(extension);
  return path;
}

SaveStamp CurrentSaveStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char date[64], time[64];
  std::strftime(date, sizeof date, "%x", &local);
  std::strftime(time, sizeof time, "%X", &local);
  return {date, time};
}

// ---------------------------------------------------------------- writers

namespace {

void AppendLine(std::string& out, std::string_view line) {
  out.append(line);
  out.append(LineEnd);
}

// "x y dx dy" as R23 with single blanks: the first line of every element record.
std::string FourReals(double a, double b, double c, double d) {
  return FormatR23(a) + " " + FormatR23(b) + " " + FormatR23(c) + " " + FormatR23(d);
}

std::string FromTo(std::int32_t from, std::int32_t to) {
  return FormatInteger(from) + " " + FormatInteger(to);
}

template <typename Record>
std::string FormatSourceLikeFile(const std::vector<Record>& records, double Record::*real,
                                 double Record::*imaginary) {
  std::string out;
  for (const Record& r : records) {
    AppendLine(out, FourReals(r.X, r.Y, r.Dx, r.Dy));
    AppendLine(out, FormatR23(r.*real) + " " + FormatR23(r.*imaginary) + " " +
                        (r.IsJx ? "1" : "0") + " " + FormatInteger(r.ElementNo));
  }
  return out;
}

void WriteElementFiles(const std::vector<Segment>& segments, const std::filesystem::path& base) {
  FileWriter charges(ProjectFileWithExtension(base, ".CHE"));
  for (const Segment& s : segments)
    ForEachChargeElement(s, [&](const ChargeElement& e) {
      charges.Write(FourReals(e.X, e.Y, e.Dx, e.Dy));
      charges.Write(LineEnd);
    });
  charges.Commit();

  const auto writeCurrents = [&](std::string_view extension, auto forEach) {
    FileWriter file(ProjectFileWithExtension(base, extension));
    std::int32_t chargeBase = 0;
    for (const Segment& s : segments) {
      forEach(s, chargeBase, [&](const CurrentElement& e) {
        file.Write(FourReals(e.X, e.Y, e.Dx, e.Dy));
        file.Write(LineEnd);
        file.Write(FromTo(e.From, e.To));
        file.Write(LineEnd);
      });
      chargeBase += static_cast<std::int32_t>(ChargeCount(s));
    }
    file.Commit();
  };
  writeCurrents(".JXE", ForEachJxElement);
  writeCurrents(".JYE", ForEachJyElement);
}

}  // namespace

std::string FormatProFile(const Project& project, const SaveStamp& stamp) {
  const Environment& env = project.Env;
  std::string out;
  AppendLine(out, stamp.Date);
  AppendLine(out, stamp.Time);
  AppendLine(out, FormatInteger(project.PcbLx));
  AppendLine(out, FormatInteger(project.PcbLy));
  AppendLine(out, FormatInteger(static_cast<std::int64_t>(project.Segments.size())));
  AppendLine(out, FormatInteger(TotalChargeCount(project.Segments)));
  AppendLine(out, env.GroundPlane ? env.GPHeight : "0");
  AppendLine(out, env.FiniteConductivity ? env.Conductivity : "0");
  AppendLine(out, FormatGeneral(project.GridSize));
  AppendLine(out, FormatInteger(project.ChargesPerGridX));
  AppendLine(out, FormatInteger(project.ChargesPerGridY));
  AppendLine(out, FormatInteger(static_cast<std::int64_t>(project.VoltageSources.size())));
  AppendLine(out, FormatInteger(static_cast<std::int64_t>(project.Impedances.size())));
  AppendLine(out, FormatInteger(static_cast<std::int64_t>(project.GroundPoints.size())));
  AppendLine(out, env.DielConst);
  return out;
}

std::string FormatSegFile(const Project& project) {
  std::string out;
  AppendLine(out, FormatInteger(project.PcbLx) + " " + FormatInteger(project.PcbLy) + " " +
                      FormatR23(project.GridSize) + " " + FormatInteger(project.ChargesPerGridX) +
                      " " + FormatInteger(project.ChargesPerGridY));
  for (const Segment& s : project.Segments) {
    AppendLine(out, FourReals(s.Xc, s.Yc, s.Lx, s.Ly));
    AppendLine(out, FormatInteger(s.ChX) + " " + FormatInteger(s.ChY) + " ");
  }
  return out;
}

std::string FormatGenFile(const std::vector<VoltageSource>& sources) {
  return FormatSourceLikeFile(sources, &VoltageSource::ReV, &VoltageSource::ImV);
}

std::string FormatImpFile(const std::vector<ImpedanceElement>& loads) {
  return FormatSourceLikeFile(loads, &ImpedanceElement::R, &ImpedanceElement::LC);
}

std::string FormatGpcFile(const std::vector<GroundPoint>& points) {
  std::string out;
  for (const GroundPoint& g : points) {
    AppendLine(out, FormatInteger(g.ChargeNo) + " " + FormatInteger(g.Edge) + " " +
                        FormatR23(g.Size));
    AppendLine(out, FormatR23(g.X) + " " + FormatR23(g.Y));
  }
  return out;
}

void SaveProjectFiles(const Project& project, const std::filesystem::path& base,
                      const SaveStamp& stamp) {
  WriteTextFile(project.ProjectFile, FormatProFile(project, stamp));
  WriteTextFile(ProjectFileWithExtension(base, ".SEG"), FormatSegFile(project));
  WriteElementFiles(project.Segments, base);
  WriteTextFile(ProjectFileWithExtension(base, ".GEN"), FormatGenFile(project.VoltageSources));
  WriteTextFile(ProjectFileWithExtension(base, ".IMP"), FormatImpFile(project.Impedances));
  WriteTextFile(ProjectFileWithExtension(base, ".GPC"), FormatGpcFile(project.GroundPoints));
}

void WriteConnectingElementFile(const std::filesystem::path& path,
                                const std::vector<CurrentElement>& elements) {
  FileWriter file(path);
  for (const CurrentElement& e : elements) {
    // Centre, then the size directly after it: the sign column of each R23 field
    // keeps the numbers apart.
    file.Write(FormatR23(e.X) + " " + FormatR23(e.Y) + FormatR23(e.Dx) + " " + FormatR23(e.Dy));
    file.Write(LineEnd);
    file.Write(FromTo(e.From, e.To));
    file.Write(LineEnd);
  }
  file.Commit();
}

// ---------------------------------------------------------------- readers

namespace {

constexpr std::int64_t Int32Max = 2147483647;

double ReadCoordinate(TextReader& in, std::string_view what) {
  const double value = in.ReadReal(what);
  if (value < -MaxCoordinate || value > MaxCoordinate)
    in.Fail(std::string(what) + " " + FormatGeneral(value) + " is out of range");
  return value;
}

double ReadLength(TextReader& in, std::string_view what) {
  const double value = in.ReadReal(what);
  if (!(value > 0.0) || value > MaxCoordinate)
    in.Fail(std::string(what) + " " + FormatGeneral(value) + " must be a positive length");
  return value;
}

void CheckRecordCount(TextReader& in, std::size_t count) {
  if (static_cast<std::int64_t>(count) >= MaxRecords)
    in.Fail("more than " + std::to_string(MaxRecords) + " records");
}

template <typename Record>
std::vector<Record> ParseSourceLikeFile(std::string_view content, const std::string& fileName,
                                        const ElementCounts& counts, double Record::*real,
                                        double Record::*imaginary, const char* realName,
                                        const char* imaginaryName) {
  TextReader in(content, fileName);
  std::vector<Record> records;
  while (!in.AtEnd()) {
    CheckRecordCount(in, records.size());
    Record r;
    const int recordLine = in.BeginRecordLine();
    r.X = ReadCoordinate(in, "x");
    r.Y = ReadCoordinate(in, "y");
    r.Dx = ReadLength(in, "dx");
    r.Dy = ReadLength(in, "dy");
    in.EndRecordLine(recordLine, 4, "a position");
    const int valueLine = in.BeginRecordLine();
    r.*real = in.ReadReal(realName);
    r.*imaginary = in.ReadReal(imaginaryName);
    r.IsJx = in.ReadInteger("direction", -Int32Max - 1, Int32Max) == 1;
    r.ElementNo = in.ReadInteger("element number", 1, Int32Max);
    in.EndRecordLine(valueLine, 4, "a value");
    const std::int64_t available = r.IsJx ? counts.Jx : counts.Jy;
    if (r.ElementNo > available)
      in.FailAtLine(recordLine, std::string(r.IsJx ? "Jx" : "Jy") + " element " +
                                    std::to_string(r.ElementNo) + " does not exist (the layout has " +
                                    std::to_string(available) + ")");
    records.push_back(r);
  }
  return records;
}

}  // namespace

ProFileSettings ParseProFile(std::string_view content, const std::string& fileName) {
  TextReader in(content, fileName);
  ProFileSettings settings;
  const auto line = [&](int number) {
    std::optional<std::string> text = in.ReadLine();
    if (!text) in.FailAtLine(number, "unexpected end of file, the project file has 15 lines");
    return *text;
  };
  for (int n = 1; n <= 6; ++n) line(n);
  settings.GroundPlaneLine = line(7);
  settings.ResistivityLine = line(8);
  for (int n = 9; n <= 14; ++n) line(n);
  if (std::optional<std::string> diel = in.ReadLine()) settings.DielConstLine = *diel;
  return settings;
}

void ParseSegFile(std::string_view content, const std::string& fileName, Project& project) {
  TextReader in(content, fileName);
  const int boardLine = in.BeginRecordLine();
  project.PcbLx = in.ReadInteger("board length", 0, 1'000'000);
  project.PcbLy = in.ReadInteger("board width", 0, 1'000'000);
  project.GridSize = ReadLength(in, "grid size");
  project.ChargesPerGridX = in.ReadInteger("charges per grid", 1, 10'000);
  project.ChargesPerGridY = in.ReadInteger("charges per grid", 1, 10'000);
  in.EndRecordLine(boardLine, 5, "the board");
  in.SkipLine();
  project.Segments.clear();
  std::int64_t charges = 0;
  while (!in.AtEnd()) {
    Segment s;
    const int placeLine = in.BeginRecordLine();
    s.Xc = ReadCoordinate(in, "segment centre x");
    s.Yc = ReadCoordinate(in, "segment centre y");
    s.Lx = ReadLength(in, "segment length");
    s.Ly = ReadLength(in, "segment width");
    in.EndRecordLine(placeLine, 4, "a segment's place");
    in.SkipLine();
    const int countLine = in.BeginRecordLine();
    s.ChX = in.ReadInteger("number of charges", 1, MaxChargeElements);
    s.ChY = in.ReadInteger("number of charges", 1, MaxChargeElements);
    in.EndRecordLine(countLine, 2, "a segment's count");
    in.SkipLine();
    charges += ChargeCount(s);
    if (charges > MaxChargeElements)
      in.FailAtLine(countLine, "more than " + std::to_string(MaxChargeElements) +
                                   " charge elements in the layout");
    project.Segments.push_back(s);
  }
}

ElementCounts CountElements(const std::vector<Segment>& segments) {
  ElementCounts counts{0, 0, 0};
  for (const Segment& s : segments) {
    counts.Charges += ChargeCount(s);
    counts.Jx += JxCount(s);
    counts.Jy += JyCount(s);
  }
  return counts;
}

std::vector<VoltageSource> ParseGenFile(std::string_view content, const std::string& fileName,
                                        const ElementCounts& counts) {
  return ParseSourceLikeFile(content, fileName, counts, &VoltageSource::ReV, &VoltageSource::ImV,
                             "real part of the voltage", "imaginary part of the voltage");
}

std::vector<ImpedanceElement> ParseImpFile(std::string_view content, const std::string& fileName,
                                           const ElementCounts& counts) {
  return ParseSourceLikeFile(content, fileName, counts, &ImpedanceElement::R, &ImpedanceElement::LC,
                             "resistance", "inductance or capacitance");
}

std::vector<GroundPoint> ParseGpcFile(std::string_view content, const std::string& fileName,
                                      const ElementCounts& counts) {
  TextReader in(content, fileName);
  std::vector<GroundPoint> points;
  while (!in.AtEnd()) {
    CheckRecordCount(in, points.size());
    GroundPoint g;
    const int recordLine = in.BeginRecordLine();
    g.ChargeNo = in.ReadInteger("charge element number", 1, Int32Max);
    if (g.ChargeNo > counts.Charges)
      in.FailAtLine(recordLine, "charge element " + std::to_string(g.ChargeNo) +
                                    " does not exist (the layout has " +
                                    std::to_string(counts.Charges) + ")");
    g.Edge = in.ReadInteger("edge", EdgeLeft, EdgeTop);
    g.Size = ReadLength(in, "size");
    in.EndRecordLine(recordLine, 3, "a ground point's cell");
    const int pointLine = in.BeginRecordLine();
    g.X = ReadCoordinate(in, "x");
    g.Y = ReadCoordinate(in, "y");
    in.EndRecordLine(pointLine, 2, "a ground point's position");
    points.push_back(g);
  }
  return points;
}

std::vector<ChargeElement> ParseChargeElementFile(std::string_view content,
                                                  const std::string& fileName) {
  TextReader in(content, fileName);
  std::vector<ChargeElement> elements;
  while (!in.AtEnd()) {
    if (static_cast<std::int64_t>(elements.size()) >= MaxChargeElements)
      in.Fail("too many charge elements");
    ChargeElement e;
    const int line = in.BeginRecordLine();
    e.X = ReadCoordinate(in, "x");
    e.Y = ReadCoordinate(in, "y");
    e.Dx = ReadLength(in, "dx");
    e.Dy = ReadLength(in, "dy");
    in.EndRecordLine(line, 4, "an element");
    elements.push_back(e);
  }
  return elements;
}

std::vector<CurrentElement> ParseCurrentElementFile(std::string_view content,
                                                    const std::string& fileName) {
  TextReader in(content, fileName);
  std::vector<CurrentElement> elements;
  while (!in.AtEnd()) {
    if (static_cast<std::int64_t>(elements.size()) >= 2 * MaxChargeElements)
      in.Fail("too many current elements");
    CurrentElement e;
    const int line = in.BeginRecordLine();
    e.X = ReadCoordinate(in, "x");
    e.Y = ReadCoordinate(in, "y");
    e.Dx = ReadLength(in, "dx");
    e.Dy = ReadLength(in, "dy");
    in.EndRecordLine(line, 4, "an element");
    const int chargeLine = in.BeginRecordLine();
    e.From = in.ReadInteger("charge element number", 1, MaxChargeElements);
    e.To = in.ReadInteger("charge element number", 1, MaxChargeElements);
    in.EndRecordLine(chargeLine, 2, "an element's charges");
    elements.push_back(e);
  }
  return elements;
}

Project LoadProject(const std::filesystem::path& projectFile) {
  Project project;
  project.ProjectFile = std::filesystem::absolute(projectFile).lexically_normal().string();
  const std::filesystem::path pro = project.ProjectFile;

  const ProFileSettings settings = ParseProFile(ReadTextFile(pro), pro.string());
  Environment& env = project.Env;
  env.GPHeight = settings.GroundPlaneLine;
  env.GroundPlane = settings.GroundPlaneLine != "0";
  env.Conductivity = settings.ResistivityLine;
  env.FiniteConductivity = settings.ResistivityLine != "0";
  env.DielConst = settings.DielConstLine;

  const std::filesystem::path seg = ProjectFileWithExtension(pro, ".SEG");
  ParseSegFile(ReadTextFile(seg), seg.string(), project);

  // The record files are optional: a missing file is an empty list.
  const ElementCounts counts = CountElements(project.Segments);
  const auto readOptional = [&](std::string_view extension, auto parse) {
    const std::filesystem::path path = ProjectFileWithExtension(pro, extension);
    std::error_code error;
    const bool exists = std::filesystem::exists(path, error);
    using Records = decltype(parse(std::string_view{}, std::string{}, counts));
    if (!exists) return Records{};
    return parse(ReadTextFile(path), path.string(), counts);
  };
  project.VoltageSources = readOptional(".GEN", ParseGenFile);
  project.Impedances = readOptional(".IMP", ParseImpFile);
  project.GroundPoints = readOptional(".GPC", ParseGpcFile);

  project.Saved = true;
  project.Connected = false;
  return project;
}

void DeleteTempFiles(const std::filesystem::path& dir) {
  for (const char* extension : {".PRO", ".SEG", ".CHE", ".JXE", ".JYE", ".GEN", ".IMP", ".GPC"})
    RemoveFileIfPresent(ProjectFileWithExtension(dir / TempFileBase, extension));
}

}  // namespace lumetra

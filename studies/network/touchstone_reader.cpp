#include "studies/network/touchstone.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>

#include "model/file_io.h"

namespace lumetra::network {

namespace {

constexpr double DegreesToRadians = 0.017453292519943295;

class Reader {
public:
  Reader(const std::string& fileName, std::size_t ports) : fileName_(fileName), ports_(ports) {}

  [[noreturn]] void Fail(int line, const std::string& message) const {
    throw FileError("Error in file \"" + fileName_ + "\", line " + std::to_string(line) + ": " +
                    message);
  }

  static std::string Upper(std::string word) {
    for (char& c : word) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return word;
  }

  static std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < text.size()) {
      while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
      const std::size_t start = i;
      while (i < text.size() && text[i] != ' ' && text[i] != '\t') ++i;
      if (i > start) words.emplace_back(text.substr(start, i - start));
    }
    return words;
  }

  double ParseNumber(const std::string& word, int line, const char* what) const {
    const char* begin = word.c_str();
    char* end = nullptr;
    const double value = std::strtod(begin, &end);
    if (end == begin || *end != '\0') Fail(line, "\"" + word + "\" is not a number (" + what + ")");
    if (!std::isfinite(value)) Fail(line, std::string(what) + " is not finite");
    return value;
  }

  void ReadOption(const std::vector<std::string>& words, int line) {
    for (std::size_t k = 0; k < words.size(); ++k) {
      const std::string word = Upper(words[k]);
      if (word == "HZ") unit_ = 1e-6;
      else if (word == "KHZ") unit_ = 1e-3;
      else if (word == "MHZ") unit_ = 1.0;
      else if (word == "GHZ") unit_ = 1e3;
      else if (word == "S") data_.Parameter = NetworkParameter::S;
      else if (word == "Y") data_.Parameter = NetworkParameter::Y;
      else if (word == "Z") data_.Parameter = NetworkParameter::Z;
      else if (word == "H" || word == "G")
        Fail(line, word + " parameters are not supported (S, Y or Z)");
      else if (word == "MA") data_.Format = PairFormat::MA;
      else if (word == "DB") data_.Format = PairFormat::DB;
      else if (word == "RI") data_.Format = PairFormat::RI;
      else if (word == "R") {
        data_.ReferenceOhms.clear();
        while (k + 1 < words.size() && !words[k + 1].empty() &&
               (std::isdigit(static_cast<unsigned char>(words[k + 1][0])) || words[k + 1][0] == '.' ||
                words[k + 1][0] == '-' || words[k + 1][0] == '+'))
          data_.ReferenceOhms.push_back(ParseNumber(words[++k], line, "reference resistance"));
        if (data_.ReferenceOhms.empty()) Fail(line, "R needs the reference resistance in ohms");
        for (double r : data_.ReferenceOhms)
          if (!(r > 0.0)) Fail(line, "a reference resistance must be positive");
        if (data_.ReferenceOhms.size() != 1 && data_.ReferenceOhms.size() != ports_)
          Fail(line, "R lists " + std::to_string(data_.ReferenceOhms.size()) +
                         " resistances for a " + std::to_string(ports_) + "-port network");
      } else {
        Fail(line, "unknown word \"" + words[k] + "\" in the option line");
      }
    }
    references_ = std::vector<double>(ports_, data_.ReferenceOhms[0]);
    if (data_.ReferenceOhms.size() == ports_) references_ = data_.ReferenceOhms;
  }

  // Ends the record in values_: checks its frequency and stores its matrix.
  void FinishRecord() {
    const double frequency = values_[0] * unit_;
    if (frequency < 0.0) Fail(recordLine_, "negative frequency");
    if (!std::isfinite(frequency)) Fail(recordLine_, "frequency out of range");
    if (!data_.FrequenciesMHz.empty() && !(frequency > data_.FrequenciesMHz.back()))
      Fail(recordLine_, "the frequencies must ascend");
    PortMatrix m(ports_);
    std::size_t v = 1;
    for (std::size_t a = 0; a < ports_; ++a)
      for (std::size_t b = 0; b < ports_; ++b, v += 2) {
        // A two-port record lists the columns first: N11 N21 N12 N22.
        const std::size_t i = ports_ == 2 ? b : a, j = ports_ == 2 ? a : b;
        const double first = values_[v], second = values_[v + 1];
        Cplx value;
        switch (data_.Format) {
          case PairFormat::RI: value = {first, second}; break;
          case PairFormat::MA: value = std::polar(first, second * DegreesToRadians); break;
          case PairFormat::DB:
            value = std::polar(std::pow(10.0, first / 20.0), second * DegreesToRadians);
            break;
        }
        const double scale = std::sqrt(references_[i] * references_[j]);
        if (data_.Parameter == NetworkParameter::Z) value *= scale;
        if (data_.Parameter == NetworkParameter::Y) value /= scale;
        // A level of thousands of dB, or a huge reference, overflows the double.
        if (!std::isfinite(value.real()) || !std::isfinite(value.imag()))
          Fail(recordLine_, "value out of range");
        m(i, j) = value;
      }
    data_.FrequenciesMHz.push_back(frequency);
    data_.Matrices.push_back(std::move(m));
    values_.clear();
  }

  TouchstoneData Read(std::string_view text) {
    data_.Ports = ports_;
    const std::size_t perRecord = 1 + 2 * ports_ * ports_;
    int line = 0;
    std::size_t at = 0;
    bool noise = false;
    while (at < text.size() && !noise) {
      std::size_t end = text.find('\n', at);
      if (end == std::string_view::npos) end = text.size();
      std::string_view content = text.substr(at, end - at);
      at = end + 1;
      ++line;
      if (!content.empty() && content.back() == '\r') content.remove_suffix(1);
      if (const std::size_t bang = content.find('!'); bang != std::string_view::npos)
        content = content.substr(0, bang);
      for (char c : content)
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
          Fail(line, "control character in the text");
      std::vector<std::string> words = Words(content);
      if (words.empty()) continue;
      if (words[0][0] == '#') {
        if (optionSeen_) continue;  // only the first option line counts
        optionSeen_ = true;
        words[0].erase(0, 1);
        if (words[0].empty()) words.erase(words.begin());
        ReadOption(words, line);
        continue;
      }
      if (words[0][0] == '[')
        Fail(line, "keyword " + words[0] + " of a Touchstone 2 file; this reader takes version 1 files");
      if (!optionSeen_) Fail(line, "data before the option line (\"# MHZ S MA R 50\")");
      for (std::size_t w = 0; w < words.size(); ++w) {
        if (values_.empty()) {
          if (w != 0) Fail(line, "more values than a " + std::to_string(ports_) + "-port record holds");
          recordLine_ = line;
          const double frequency = ParseNumber(words[w], line, "frequency") * unit_;
          // In a two-port file a frequency that does not ascend starts the noise
          // parameters, which are not network data.
          if (ports_ == 2 && !data_.FrequenciesMHz.empty() &&
              !(frequency > data_.FrequenciesMHz.back())) {
            noise = true;
            break;
          }
        }
        values_.push_back(ParseNumber(words[w], line, values_.empty() ? "frequency" : "value"));
        if (values_.size() == perRecord) {
          if (w + 1 != words.size())
            Fail(line, "more values than a " + std::to_string(ports_) + "-port record holds");
          FinishRecord();
        }
      }
    }
    if (!values_.empty())
      Fail(line, "the record of line " + std::to_string(recordLine_) + " ends after " +
                     std::to_string(values_.size()) + " of its " + std::to_string(perRecord) +
                     " numbers");
    if (!optionSeen_) Fail(line, "no option line (\"# MHZ S MA R 50\")");
    if (data_.FrequenciesMHz.empty()) Fail(line, "no network data");
    return std::move(data_);
  }

private:
  std::string fileName_;
  std::size_t ports_;
  TouchstoneData data_;
  std::vector<double> references_;
  double unit_ = 1e3;  // GHz unless the option line says otherwise
  bool optionSeen_ = false;
  std::vector<double> values_;
  int recordLine_ = 0;
};

}  // namespace

TouchstoneData ParseTouchstone(std::string_view text, const std::string& fileName,
                               std::size_t ports) {
  if (ports == 0) throw FileError("Error in file \"" + fileName + "\": no port count");
  return Reader(fileName, ports).Read(text);
}

TouchstoneData ReadTouchstone(const std::filesystem::path& path) {
  const std::optional<std::size_t> ports = PortCountFromName(path);
  if (!ports)
    throw FileError("Error in file \"" + path.string() +
                    "\": the name does not end in .sNp, so the port count is unknown");
  return ParseTouchstone(ReadTextFile(path, 64u << 20), path.string(), *ports);
}

}  // namespace lumetra::network

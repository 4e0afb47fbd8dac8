#include "model/input_checks.h"

#include <charconv>
#include <cmath>
#include <string>

#include "model/number_format.h"

namespace lumetra {

namespace {

std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// from_chars takes no leading "+"; a typed "+5" is still a number.
std::string_view WithoutPlus(std::string_view text) {
  if (text.size() > 1 && text[0] == '+' && text[1] != '-' && text[1] != '+') text.remove_prefix(1);
  return text;
}

bool CheckRange(double value, std::string_view name, double low, double high, UserInterface& ui) {
  if (value <= low) {
    ui.ShowMessage("Error: Out of range! " + std::string(name) + " must be greater than " +
                   FormatGeneral(low));
    return false;
  }
  if (value >= high) {
    ui.ShowMessage("Error: Out of range! " + std::string(name) + " must be smaller than " +
                   FormatGeneral(high));
    return false;
  }
  return true;
}

}  // namespace

std::optional<std::int32_t> ParseIntegerText(std::string_view text) {
  text = WithoutPlus(Trimmed(text));
  std::int32_t value = 0;
  const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc{} || stop != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<double> ParseRealText(std::string_view text) {
  text = WithoutPlus(Trimmed(text));
  double value = 0.0;
  const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc{} || stop != text.data() + text.size() ||
      !std::isfinite(value))
    return std::nullopt;
  return value;
}

bool CheckInteger(std::string_view text, std::string_view name, double low, double high,
                  UserInterface& ui, std::int32_t* value) {
  const std::optional<std::int32_t> parsed = ParseIntegerText(text);
  if (!parsed) {
    ui.ShowMessage("Error: Not a valid integer number!");
    return false;
  }
  if (!CheckRange(*parsed, name, low, high, ui)) return false;
  if (value) *value = *parsed;
  return true;
}

bool CheckReal(std::string_view text, std::string_view name, double low, double high,
               UserInterface& ui, double* value) {
  const std::optional<double> parsed = ParseRealText(text);
  if (!parsed) {
    ui.ShowMessage("Error: Not a valid real number!");
    return false;
  }
  if (!CheckRange(*parsed, name, low, high, ui)) return false;
  if (value) *value = *parsed;
  return true;
}

}  // namespace lumetra

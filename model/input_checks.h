// The checks every dialog field and the computation page go through.
//
// A value is accepted only strictly between its two bounds. A refused value shows
// "Error: Out of range! <name> must be greater than <low>" (or "... must be smaller
// than <high>"), a text that is no number "Error: Not a valid integer number!" or
// "Error: Not a valid real number!", and the check returns false so the caller keeps
// its dialog open.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "model/user_interface.h"

namespace lumetra {

// Text to number without any message; surrounding blanks are ignored.
std::optional<std::int32_t> ParseIntegerText(std::string_view text);
std::optional<double> ParseRealText(std::string_view text);

bool CheckInteger(std::string_view text, std::string_view name, double low, double high,
                  UserInterface& ui, std::int32_t* value = nullptr);
bool CheckReal(std::string_view text, std::string_view name, double low, double high,
               UserInterface& ui, double* value = nullptr);

}  // namespace lumetra

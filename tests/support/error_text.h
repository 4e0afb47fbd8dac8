// The text of the error a call raises: what the user would read.
#pragma once

#include <exception>
#include <string>

namespace lumetra::testing {

// what() of the E that run() throws, "no error" when it returns normally.
template <typename E = std::exception, typename Run>
std::string ErrorText(Run&& run) {
  try {
    run();
  } catch (const E& error) {
    return error.what();
  }
  return "no error";
}

// Whether `text` holds `part`, for EXPECT_TRUE with the text in the failure message.
inline bool Holds(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace lumetra::testing

// Process-wide batch flag: while a batch of projects runs unattended, opening a
// project and computing ask no question, show no file dialog and no completion
// message with times.
#pragma once

namespace lumetra {

extern bool BatchMode;

// Sets BatchMode for the lifetime of the scope and restores the previous value.
class BatchModeScope {
public:
  BatchModeScope() : previous_(BatchMode) { BatchMode = true; }
  ~BatchModeScope() { BatchMode = previous_; }
  BatchModeScope(const BatchModeScope&) = delete;
  BatchModeScope& operator=(const BatchModeScope&) = delete;

private:
  bool previous_;
};

}  // namespace lumetra

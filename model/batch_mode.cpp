#include "model/batch_mode.h"

namespace lumetra {

bool BatchMode = false;

}  // namespace lumetra

#include "core/run_time_error.h"

namespace fibmod {

RunTimeError Overflow() { return RunTimeError(6, "Überlauf"); }

RunTimeError SubscriptOutOfRange() { return RunTimeError(9, "Index außerhalb des gültigen Bereichs"); }

} // namespace fibmod

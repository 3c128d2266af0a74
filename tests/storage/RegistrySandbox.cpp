// Every storage test process works on a registry of its own, never the user's.
#include "tests/support/RegistrySandbox.h"

namespace {
const RegistrySandbox sandbox;
}  // namespace

// The full path of the loaded module that contains an address; a module
// registering itself passes the address of one of its own functions.
#pragma once

#include <string>

// Absolute, symbolic links resolved, UTF-8; empty when the address lies in
// no loaded module.
std::string ModulePathOf(const void* addressInModule);

#include <cstdlib>

#include "platform/com/ComRuntime.h"

// The C heap, so that a block allocated by one module is freed by another.
void* CoTaskMemAlloc(std::size_t size) { return std::malloc(size ? size : 1); }
void* CoTaskMemRealloc(void* block, std::size_t size) { return std::realloc(block, size ? size : 1); }
void CoTaskMemFree(void* block) { std::free(block); }

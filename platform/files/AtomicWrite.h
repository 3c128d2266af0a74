// Writing a whole file so that it is replaced in one step: the bytes go to
// a new file beside the final name, which is then renamed over that name.
// Readers, a failed write and a crash mid-write see either the previous file
// whole or the new one whole, never a cut one.
#pragma once

#include <cstddef>
#include <string>

// Writes size bytes as the file at path.  Returns 0, or the errno of the
// step that failed; the file at path is then as it was, and no temporary
// file is left behind.  A regular file replaced keeps its permission bits; a
// new file gets those the process's umask allows.  A symbolic link of that
// name is replaced by the file, and whatever it pointed to stays untouched.
int WriteFileAtomically(const std::string& path, const void* data, size_t size);

// Writes a file beside its final name and renames it into place on Commit,
// so that readers and a crash mid-write see either the old file or the
// whole new one.  Anything not committed is removed on destruction.
//
// The file keeps its identity: a name that is a symbolic link is written
// through to the link's final target, and a replaced file keeps its mode (a
// new one gets the mode the umask gives).  While being written, the
// temporary file is named "<target>.tmp" plus six letters or digits and is
// locked, so that the leftovers of a killed writer can be told apart from a
// file still being written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class AtomicFile {
public:
    AtomicFile() = default;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile();

    // Creates the temporary file beside path's final target; false when it
    // cannot be created or when path is a link that leads nowhere (dangling
    // or a loop), which is left as it is.
    bool Open(const std::string& path);
    // Buffered; false once any write has failed.
    bool Write(const void* data, size_t size);
    // Flushes, syncs and renames over the final target; false (and the old
    // file untouched) on any failure.
    bool Commit();
    // Drops the temporary file.
    void Abandon();
    bool IsOpen() const { return fd >= 0; }

    // Removes the temporary files that writers of path were killed before
    // finishing: regular files of this user with the temporary name pattern
    // beside path's final target that no writer holds locked.
    static void RemoveLeftovers(const std::string& path);

private:
    bool Flush();

    int fd = -1;
    bool failed = false;
    std::string finalPath;
    std::string tempPath;
    std::vector<uint8_t> buffer;
};

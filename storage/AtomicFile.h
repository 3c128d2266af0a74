// Writes a file beside its final name and renames it into place on Commit,
// so that readers and a crash mid-write see either the old file or the
// whole new one.  Anything not committed is removed on destruction.
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

    // Creates the temporary file beside path; false when it cannot be created.
    bool Open(const std::string& path);
    // Buffered; false once any write has failed.
    bool Write(const void* data, size_t size);
    // Flushes, syncs and renames over the final name; false (and the old
    // file untouched) on any failure.
    bool Commit();
    // Drops the temporary file.
    void Abandon();
    bool IsOpen() const { return fd >= 0; }

private:
    bool Flush();

    int fd = -1;
    bool failed = false;
    std::string finalPath;
    std::string tempPath;
    std::vector<uint8_t> buffer;
};

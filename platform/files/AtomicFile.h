// Replacing a whole file in one step: the bytes go to a temporary file
// beside the final name, which is then synced and renamed over that name.
// Readers, a failed write and a crash mid-write see either the previous file
// whole or the new one whole, never a cut one.
//
// While being written, the temporary file is named "<final name>.tmp" plus
// six letters or digits (".tmp-" plus six when hidden, or when the final
// name leaves no room for the ten characters more) and is locked, so
// that the leftovers of a killed writer can be told apart from a file still
// being written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

#include "platform/bytes/ByteSink.h"

struct AtomicWriteOptions {
    // A symbolic link under the name: false replaces the link by the file
    // and leaves what it pointed to untouched; true writes through to the
    // file at the end of its chain of links, so that the link stays one (a
    // link that leads nowhere is then refused and left as it is).
    bool followLink = false;
    // Permission bits the file gets whatever the umask.  Without them a
    // replaced regular file keeps its bits and a new one gets the umask's.
    std::optional<mode_t> mode;
    // A temporary name with a leading dot and without the final name: out of
    // listings and of the names the folder's owner gives a meaning to, and
    // short whatever the final name's length.
    bool hiddenTemporary = false;
    // The folder synced after the rename, so that the new name is on disk
    // when the write returns.  False leaves that to a later SyncFolder by
    // the caller, once for many files in one folder: each sync of a folder
    // costs a journal commit.  The content is synced before the rename
    // either way, so a crash never leaves a cut file under the name.
    bool syncFolder = true;
};

class AtomicFile {
public:
    AtomicFile() = default;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile();

    // Creates the temporary file; false when it cannot be created or when a
    // followed link leads nowhere (dangling or a loop).
    bool Open(const std::string& path, const AtomicWriteOptions& options = {});
    // Buffered; false once any write has failed.
    bool Write(const void* data, size_t size);
    // Flushes, syncs and renames over the final name; false (and the old
    // file untouched, no temporary file left) on any failure.
    bool Commit();
    // Drops the temporary file.
    void Abandon();
    bool IsOpen() const { return fd >= 0; }
    // The errno of the step that failed last, 0 while nothing has.
    int Error() const { return error; }

    // Removes the temporary files that writers of path were killed before
    // finishing: regular files of this user with the temporary name pattern
    // of these options beside path's final name that no writer holds locked.
    static void RemoveLeftovers(const std::string& path, const AtomicWriteOptions& options = {});

private:
    bool Flush();
    bool Fail();

    int fd = -1;
    int error = 0;
    std::string finalPath;
    std::string tempPath;
    std::optional<mode_t> mode;
    bool syncFolder = true;
    std::vector<uint8_t> buffer;
};

// A rename, a new name or a removed one is on disk only once its folder is:
// syncs the folder, as far as the file system allows.
void SyncFolder(const std::string& folder);

// The folder a path names a file in: "." for a bare name.
std::string FolderOf(const std::string& path);

// Writes size bytes as the file at path in one step.  Returns 0, or the
// errno of the step that failed; the file at path is then as it was.
int WriteFileAtomically(const std::string& path, const void* data, size_t size,
                        const AtomicWriteOptions& options = {});

// Writes the bytes that produce hands its sink, in order, as the file at path
// in one step, without holding the whole file in memory.  produce returns
// false to give up; the file at path then stays as it was.  Returns 0, or the
// errno of the step that failed (EIO when produce gave up by itself).
int WriteFileAtomically(const std::string& path, const std::function<bool(const ByteSink&)>& produce,
                        const AtomicWriteOptions& options = {});

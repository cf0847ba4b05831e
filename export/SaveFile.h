#pragma once
// Saving a file whole: the previous file stays as it was unless the new one is complete.

#include "export/TextOutput.h"
#include "solver/Expected.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace orvek {

// A file being saved. Its bytes go, through a buffer of fixed size, to a new temporary file of a
// unique hidden name (".NAME.XXXXXX", shortened so that it fits wherever NAME does) in the
// target's folder; commit() flushes it to the disk and renames it over the old file, so a reader
// (or a second save running at the same time) sees either the old file or a complete new one, the
// later save winning. The old file's owner (where allowed) and permission bits, setuid and setgid
// included, pass to the new one; a symbolic link is followed, so the file it points to is replaced
// and the link stays. The folder is held open from the start, so the temporary file is made,
// renamed and removed in the folder that was checked, even if the folder is moved meanwhile.
//
// Refused, with nothing changed: an empty name or one ending in a folder separator, a missing
// folder, a target that is not a regular file (a folder, a device, a pipe), a read-only file, and
// a folder the user may not write to. Every failure removes the temporary file and says why,
// naming the file ("Could not save ORVEK_result.txt: Permission denied"). A save that is never
// committed removes its temporary file; so does SIGINT, SIGTERM or SIGHUP arriving during it in
// a program that asked for that (export/SaveCleanup.h), which the library never does on its own.
class FileSave : public TextOutput {
public:
    // Checks the target and makes the temporary file. `shownName` is how messages name the file;
    // by default its bare name (the window's "ORVEK_result.txt").
    static Expected<std::unique_ptr<FileSave>> begin(const std::string& path, const std::string& shownName = {});
    ~FileSave() override;

    void write(std::string_view bytes) override;
    // Puts the file in place, or says why it could not (and removes the temporary file).
    Status commit();

    struct Parts;

private:
    explicit FileSave(std::unique_ptr<Parts> parts);
    std::unique_ptr<Parts> parts_;
};

// Replaces the file at `path` with `bytes` as a whole: begin, write, commit.
Status saveFileAtomically(const std::string& path, std::string_view bytes);

// The same with the bytes that `write` streams, so a writer of export/ saves a file without the
// whole text in memory.
Status saveFile(const std::string& path, const std::function<void(TextOutput&)>& write);

// The process's own open descriptor that `path` names, or -1: /dev/stdout, /dev/stderr,
// /dev/fd/N and /proc/self/fd/N by name, and a regular file that standard output or standard
// error is already writing to, by its device and inode. Saving over such a file would replace it
// under the descriptor; it is written through the descriptor instead.
int ownDescriptor(const std::string& path);

// Whether two paths name the same existing file (links followed): the same device and inode.
bool sameFile(const std::string& a, const std::string& b);

}  // namespace orvek

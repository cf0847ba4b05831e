#pragma once
// Temporary files of saves in progress removed when the program is ended by a signal. A library
// leaves a host program's signal handling as it found it (a Python interpreter has its own), so
// nothing here happens unless a program asks: orvek-batch and the window do, at start.

#include <string>

namespace orvek {

// From now on SIGINT, SIGTERM and SIGHUP remove the temporary file of every save in progress and
// then end the program as they would have; SIGXFSZ is ignored, so a file-size limit makes the
// write fail ("File too large") instead of ending the program. A signal the program already
// handles or ignores is left as it is. Once is enough; further calls do nothing. Nothing on
// Windows, whose saves write their temporary file only at the end.
void removeSaveTemporariesOnSignals();

namespace saving {

// A slot naming a temporary file about to be made (its folder's descriptor and its name in that
// folder), so a signal can remove it; -1 when all slots are taken (the save then goes on without).
int claimCleanupSlot(int folderFd, const std::string& name);
void releaseCleanupSlot(int slot);

}  // namespace saving

}  // namespace orvek

#include "export/SaveCleanup.h"

#ifndef _WIN32

#include <algorithm>
#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <mutex>
#include <fcntl.h>
#include <unistd.h>

namespace orvek {

namespace saving {

namespace {

// Each save in progress holds a slot with its folder's descriptor and its temporary file's name,
// prepared before the file is made. The handler of SIGINT, SIGTERM and SIGHUP removes every such
// file (unlinkat is safe in a signal handler) and then lets the signal end the program as it
// would have.

struct CleanupSlot {
    std::atomic<int> folderFd{-1};  // -1 free, -2 being filled, else in use
    char name[NAME_MAX + 1] = {};
};

constexpr int CleanupSlots = 64;
CleanupSlot cleanupSlots[CleanupSlots];

extern "C" void removeTemporariesAndEnd(int signal) {
    for (CleanupSlot& slot : cleanupSlots) {
        const int fd = slot.folderFd.load();
        if (fd >= 0) ::unlinkat(fd, slot.name, 0);
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void installHandlers() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int s : {SIGINT, SIGTERM, SIGHUP}) {
            struct sigaction previous {};
            if (::sigaction(s, nullptr, &previous) != 0 || previous.sa_handler != SIG_DFL) continue;
            struct sigaction action {};
            action.sa_handler = removeTemporariesAndEnd;
            sigemptyset(&action.sa_mask);
            ::sigaction(s, &action, nullptr);
        }
        // Beyond a file-size limit a write fails with EFBIG, and the save cleans up as after any
        // failed write, instead of the process ending with the temporary file left.
        struct sigaction previous {};
        if (::sigaction(SIGXFSZ, nullptr, &previous) == 0 && previous.sa_handler == SIG_DFL) {
            std::signal(SIGXFSZ, SIG_IGN);
        }
    });
}

}  // namespace

int claimCleanupSlot(int folderFd, const std::string& name) {
    for (int k = 0; k < CleanupSlots; ++k) {
        int expected = -1;
        if (cleanupSlots[k].folderFd.compare_exchange_strong(expected, -2)) {
            std::memcpy(cleanupSlots[k].name, name.c_str(), std::min(name.size() + 1, sizeof cleanupSlots[k].name));
            cleanupSlots[k].folderFd.store(folderFd);
            return k;
        }
    }
    return -1;
}

void releaseCleanupSlot(int slot) {
    if (slot >= 0) cleanupSlots[slot].folderFd.store(-1);
}

}  // namespace saving

void removeSaveTemporariesOnSignals() { saving::installHandlers(); }

}  // namespace orvek

#else

namespace orvek {

void removeSaveTemporariesOnSignals() {}

namespace saving {

int claimCleanupSlot(int, const std::string&) { return -1; }
void releaseCleanupSlot(int) {}

}  // namespace saving

}  // namespace orvek

#endif

#pragma once

// The serial port library writes and syncs a lock file in the system's lock folder at every
// open of a port. Where that folder is on disk instead of in memory (tmpfs, the usual case),
// each exchange pays a few milliseconds for it: the benchmarks say which case they ran in.

#include <cstdio>

#ifdef __linux__
#include <sys/vfs.h>
#endif

inline void PrintLockFolderKind()
{
#ifdef __linux__
    const char *folders[] = {"/var/lock", "/run/lock"};
    for (const char *folder : folders) {
        struct statfs info {
        };
        if (statfs(folder, &info) == 0) {
            const bool inMemory = info.f_type == 0x01021994; // TMPFS_MAGIC
            std::printf("serial port lock folder %s: %s\n", folder,
                        inMemory ? "in memory (tmpfs)"
                                 : "on disk: every port open also syncs a lock file");
            return;
        }
    }
#endif
}

#pragma once

#include <QFile>

#include <sys/resource.h>
#include <unistd.h>

// Caps this process's address space `headroom` bytes above what it maps now, until
// destroyed, so the next large allocation fails as it would on a full machine.
struct AddressSpaceLimit {
    rlimit previous{};
    bool active = false;

    explicit AddressSpaceLimit(qint64 headroom)
    {
        QFile statm(QStringLiteral("/proc/self/statm"));
        const qint64 pages = statm.open(QIODevice::ReadOnly) ? statm.readLine().split(' ').value(0).toLongLong() : 0;
        active = pages > 0 && ::getrlimit(RLIMIT_AS, &previous) == 0;
        const rlimit capped{rlim_t(pages * ::sysconf(_SC_PAGESIZE) + headroom), previous.rlim_max};
        active = active && ::setrlimit(RLIMIT_AS, &capped) == 0;
    }
    ~AddressSpaceLimit()
    {
        if (active)
            ::setrlimit(RLIMIT_AS, &previous);
    }
    AddressSpaceLimit(const AddressSpaceLimit&) = delete;
    AddressSpaceLimit& operator=(const AddressSpaceLimit&) = delete;
};

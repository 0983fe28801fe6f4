// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>
#include <condition_variable>
#include <mutex>
#include <thread>

/// The disk a file's data is written through to: the system's, or a slower
/// one where a benchmark wants to see that nobody waits for it.
class Disk {
public:
    virtual ~Disk() = default;
    /// Writes the data of `fd` through to the disk, then closes it.
    virtual void syncAndClose(int fd) const;
};
const Disk &systemDisk();

/// Writes a file's data through to the disk on a thread of its own, so that
/// what was written survives a power cut a few seconds later (a second after
/// a run of writes pauses, five at most, plus the disk's own time), without
/// the program ever waiting for the disk.
class DiskSync {
public:
    explicit DiskSync(const Disk &disk = systemDisk());
    /// Finishes a sync under way; one only asked for is dropped.
    ~DiskSync();
    DiskSync(const DiskSync &) = delete;
    DiskSync &operator=(const DiskSync &) = delete;

    /// Asks for the data of the open file `fd` to reach the disk. The file
    /// may be closed at once: the sync works on a duplicate of it. Asking
    /// again before the last sync began asks once.
    void request(int fd);
    /// Drops a sync only asked for. Where an open file cannot be replaced or
    /// deleted (Windows), also waits for one under way, so that the file is
    /// no longer held open here; elsewhere nothing waits for the disk.
    void settle();

private:
    void run();

    const Disk &m_disk;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    int m_pending = -1; ///< a duplicate of the file to sync, or -1
    quint64 m_requests = 0;
    bool m_syncing = false;
    bool m_stopping = false;
    std::thread m_thread;
};

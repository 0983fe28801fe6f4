// SPDX-License-Identifier: MIT
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

/// Writes a file's data through to the disk on a thread of its own, so that
/// what was written survives a power cut a moment later, without the
/// program ever waiting for the disk.
class DiskSync {
public:
    DiskSync();
    /// Finishes a sync under way; one only asked for is dropped.
    ~DiskSync();
    DiskSync(const DiskSync &) = delete;
    DiskSync &operator=(const DiskSync &) = delete;

    /// Asks for the data of the open file `fd` to reach the disk. The file
    /// may be closed at once: the sync works on a duplicate of it. Asking
    /// again before the last sync began asks once.
    void request(int fd);
    /// Waits for a sync under way and drops one only asked for: the file is
    /// no longer held open here (Windows lets no open file be replaced or
    /// deleted).
    void settle();

private:
    void run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    int m_pending = -1; ///< a duplicate of the file to sync, or -1
    bool m_syncing = false;
    bool m_stopping = false;
    std::thread m_thread;
};

// SPDX-License-Identifier: MIT
#include "platform/disksync.h"

#include "platform/files.h"
#include "platform/system.h"

#include <utility>

void Disk::syncAndClose(int fd) const {
    files::sync(fd);
    files::close(fd);
}

const Disk &systemDisk() {
    static const Disk disk;
    return disk;
}

namespace {

/// How long a run of copies pauses before it is synced, and how long one
/// that does not pause waits at most.
constexpr std::chrono::milliseconds Pause(1000), MaxDelay(5000);

} // namespace

DiskSync::DiskSync(const Disk &disk)
    : m_disk(disk)
    , m_thread(&DiskSync::run, this) {}

DiskSync::~DiskSync() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_thread.join();
    if (m_pending >= 0)
        files::close(m_pending);
}

void DiskSync::request(int fd) {
    const int copy = fd >= 0 ? files::duplicate(fd) : -1;
    if (copy < 0)
        return;
    int dropped = -1;
    {
        std::lock_guard lock(m_mutex);
        dropped = m_pending;
        m_pending = copy;
        ++m_requests;
    }
    // The newer duplicate stands for the same file.
    if (dropped >= 0)
        files::close(dropped);
    m_wake.notify_one();
}

void DiskSync::settle() {
    std::unique_lock lock(m_mutex);
    if (m_pending >= 0)
        files::close(std::exchange(m_pending, -1));
    if (files::openFilesBlockRenames())
        m_idle.wait(lock, [this] { return !m_syncing; });
}

void DiskSync::run() {
    nameThisThread("orlo-sync");
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || m_pending >= 0; });
        // Copies come in runs: one sync once a run has paused for a moment (or
        // has gone on for a while), so that the disk's work does not hold up
        // the writes of the next copies.
        const auto latest = std::chrono::steady_clock::now() + MaxDelay;
        for (quint64 seen = ~m_requests; seen != m_requests && !m_stopping;) {
            seen = m_requests;
            m_wake.wait_until(lock, std::min(latest, std::chrono::steady_clock::now() + Pause),
                              [this, seen] { return m_stopping || m_requests != seen; });
            if (std::chrono::steady_clock::now() >= latest)
                break;
        }
        if (m_stopping)
            return;
        if (m_pending < 0)
            continue; // let go of meanwhile
        const int fd = std::exchange(m_pending, -1);
        m_syncing = true;
        lock.unlock();
        m_disk.syncAndClose(fd);
        lock.lock();
        m_syncing = false;
        m_idle.notify_all();
    }
}

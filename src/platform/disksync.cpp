// SPDX-License-Identifier: MIT
#include "platform/disksync.h"

#include <QtGlobal>
#include <utility>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

int duplicate(int fd) {
#ifdef Q_OS_WIN
    return ::_dup(fd);
#else
    return ::dup(fd);
#endif
}

void closeFile(int fd) {
#ifdef Q_OS_WIN
    ::_close(fd);
#else
    ::close(fd);
#endif
}

void syncAndClose(int fd) {
#ifdef Q_OS_WIN
    ::_commit(fd);
#else
    ::fdatasync(fd);
#endif
    closeFile(fd);
}

} // namespace

DiskSync::DiskSync()
    : m_thread(&DiskSync::run, this) {}

DiskSync::~DiskSync() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_thread.join();
    if (m_pending >= 0)
        closeFile(m_pending);
}

void DiskSync::request(int fd) {
    const int copy = fd >= 0 ? duplicate(fd) : -1;
    if (copy < 0)
        return;
    int dropped = -1;
    {
        std::lock_guard lock(m_mutex);
        dropped = m_pending;
        m_pending = copy;
    }
    // The newer duplicate stands for the same file.
    if (dropped >= 0)
        closeFile(dropped);
    m_wake.notify_one();
}

void DiskSync::settle() {
    std::unique_lock lock(m_mutex);
    if (m_pending >= 0)
        closeFile(std::exchange(m_pending, -1));
    m_idle.wait(lock, [this] { return !m_syncing; });
}

void DiskSync::run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || m_pending >= 0; });
        if (m_stopping)
            return;
        const int fd = std::exchange(m_pending, -1);
        m_syncing = true;
        lock.unlock();
        syncAndClose(fd);
        lock.lock();
        m_syncing = false;
        m_idle.notify_all();
    }
}

// SPDX-License-Identifier: MIT
// A folder made read-only or full for one test.
#pragma once

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_LINUX
#include <sys/mount.h>
#endif

/// Put right again when this goes, also when the test fails. Where this
/// process may mount (root, whom permissions do not bind), a read-only folder
/// is a read-only tmpfs and a full one a tmpfs of 1 MB; elsewhere a read-only
/// folder is made by its permissions and a full one cannot be had.
class BrokenFolder {
public:
    BrokenFolder(const QString &path, const QString &fault)
        : m_path(path) {
        QDir().mkpath(path);
        const bool readOnly = fault == u"read-only";
#ifdef Q_OS_LINUX
        const unsigned long flags = MS_NOSUID | MS_NODEV | MS_NOEXEC | (readOnly ? MS_RDONLY : 0);
        m_mounted = ::mount("tmpfs", qPrintable(path), "tmpfs", flags, "size=1m,mode=0700") == 0;
#endif
        if (!m_mounted && readOnly)
            m_chmodded = QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
        if (!m_mounted && !(m_chmodded && !QFileInfo(path).isWritable()))
            unavailable = QStringLiteral("cannot make a %1 folder here: needs a tmpfs").arg(fault);
    }
    ~BrokenFolder() {
#ifdef Q_OS_LINUX
        if (m_mounted)
            ::umount2(qPrintable(m_path), MNT_DETACH);
#endif
        if (m_chmodded)
            QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    Q_DISABLE_COPY(BrokenFolder)

    QString unavailable; ///< why the fault cannot be made here; empty when it was

private:
    QString m_path;
    bool m_mounted = false;
    bool m_chmodded = false;
};

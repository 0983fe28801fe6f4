// SPDX-License-Identifier: MIT
// A folder made missing, read-only or full for one test.
#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#ifdef Q_OS_LINUX
#include <sys/mount.h>
#endif

/// A folder made broken for one test, put right again when this goes, also
/// when the test fails. Where this process may mount (root, whom permissions
/// do not bind), a read-only folder is a read-only tmpfs and a full one a
/// tmpfs of 1 MB; elsewhere a read-only folder is made by its permissions and
/// a full one cannot be had.
class BrokenFolder {
public:
    BrokenFolder(const QString &path, const QString &fault)
        : m_path(path) {
        if (fault == u"missing")
            return;
        QDir().mkpath(path);
        if (mount(fault == u"read-only"))
            return;
        if (fault == u"read-only") {
            QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
            m_chmodded = true;
            if (!QFileInfo(path).isWritable())
                return;
        }
        m_unavailable =
            QStringLiteral("cannot make a %1 folder here: needs a tmpfs mount").arg(fault);
    }
    ~BrokenFolder() {
#ifdef Q_OS_LINUX
        if (m_mounted)
            ::umount2(m_path.toLocal8Bit().constData(), MNT_DETACH);
#endif
        if (m_chmodded)
            QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    BrokenFolder(const BrokenFolder &) = delete;
    BrokenFolder &operator=(const BrokenFolder &) = delete;

    /// Why the fault cannot be made here; empty when it was.
    QString unavailable() const {
        return m_unavailable;
    }

private:
    bool mount([[maybe_unused]] bool readOnly) {
#ifdef Q_OS_LINUX
        const unsigned long flags = MS_NOSUID | MS_NODEV | MS_NOEXEC | (readOnly ? MS_RDONLY : 0);
        m_mounted = ::mount("tmpfs", m_path.toLocal8Bit().constData(), "tmpfs", flags,
                            "size=1m,mode=0700") == 0;
#endif
        return m_mounted;
    }

    QString m_path;
    QString m_unavailable;
    bool m_mounted = false;
    bool m_chmodded = false;
};

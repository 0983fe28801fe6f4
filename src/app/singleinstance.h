// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QLockFile;

/// One running program per user: the first start holds a lock file and
/// listens on a local socket beside it; a later start finds the lock taken,
/// asks the running program to show its window and ends.
///
/// The lock decides, not the socket: a socket file left by a crashed program
/// is simply replaced, and two programs started at the same moment cannot
/// both win.
class SingleInstance final : public QObject {
    Q_OBJECT
public:
    enum class Role {
        /// This program is the one that runs; later starts reach it.
        First,
        /// Another program runs and was asked to show its window.
        Later,
        /// Another program holds the lock but could not be reached.
        Unreachable,
    };

    /// `folder` is where the lock file and the socket live; `name` is their
    /// base name.
    SingleInstance(QString folder, QString name, QObject *parent = nullptr);
    ~SingleInstance() override;

    /// Takes the lock and listens, or asks the running program to show itself.
    /// When the lock cannot be used at all (a folder without write access) the
    /// program runs unguarded rather than not at all: First.
    Role start();

    /// The per-user folder for the lock and the socket.
    static QString defaultFolder();
    /// The base name of the lock and the socket.
    static QString defaultName();

signals:
    /// A later start asked for the window.
    void showRequested();

private:
    bool listen();
    bool askToShow() const;

    QString m_folder;
    QString m_name;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
};

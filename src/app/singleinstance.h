// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QLockFile;

/// One running program per data folder: the first start holds a lock file
/// in the folder and names there the local socket it listens on; a later
/// start on the same folder finds the lock taken, asks the running program
/// to show its window and ends, whatever runtime folder or session it was
/// started in.
///
/// The lock decides, not the socket: a socket left by a crashed program is
/// simply replaced, and programs started at the same moment cannot both win.
/// A lock file that no live program holds (left by a crash, damaged, or no
/// file at all) is taken over; one deleted under the running program is made
/// again.
class SingleInstance final : public QObject {
    Q_OBJECT
public:
    enum class Role {
        /// This program is the one that runs; later starts reach it.
        First,
        /// Another program runs on the folder and was asked to show its window.
        Later,
        /// Another program holds the folder's lock but could not be reached.
        Unreachable,
        /// No lock of any kind could be made: this program runs unguarded.
        Unguarded,
    };

    /// `folder` holds the lock file and the note of the socket.
    explicit SingleInstance(QString folder, QObject *parent = nullptr);
    ~SingleInstance() override;

    /// Takes the lock and listens, or asks the running program to show
    /// itself. When the folder takes no lock file, a lock per user in the
    /// runtime folder stands in; when that cannot be had either, the program
    /// runs unguarded rather than not at all. `summon`: a running program is
    /// asked to summon its window (`--show`), not only to show it.
    Role start(bool summon = false);
    /// The lock file in the folder, held by the program that runs on it.
    QString lockFile() const;

signals:
    /// A later start asked for the window, with the activation token it
    /// was started with (empty: none).
    void showRequested(const QString &token);
    /// A later start with `--show` asked for the window and its search field.
    void summonRequested(const QString &token);

private:
    bool lock(const QString &file);
    /// Holds the lock also after its file was deleted.
    void keepLock();
    bool listen();
    void noteAddress();
    bool askToShow() const;

    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
    QString m_address;
    bool m_summon = false;
};

// SPDX-License-Identifier: MIT
#include "app/singleinstance.h"

#include "platform/logging.h"
#include "platform/system.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

namespace {

const QByteArray ShowRequest = QByteArrayLiteral("show\n");

} // namespace

SingleInstance::SingleInstance(QString folder, QString name, QObject *parent)
    : QObject(parent)
    , m_folder(std::move(folder))
    , m_name(std::move(name)) {}

SingleInstance::~SingleInstance() {
    if (m_server)
        m_server->close();
}

QString SingleInstance::defaultFolder() {
    return runtimeFolder();
}

QString SingleInstance::defaultName() {
    return perUserName(QStringLiteral("orlo-clipboard"));
}

SingleInstance::Role SingleInstance::start() {
    QDir().mkpath(m_folder);
    m_lock = std::make_unique<QLockFile>(m_folder + u'/' + m_name + QStringLiteral(".lock"));
    // The lock is held for the whole run: only a dead owner makes it stale,
    // never its age.
    m_lock->setStaleLockTime(0);
    bool locked = m_lock->tryLock(0);
    // A lock that names this very process was left by a run that ended
    // without removing it and had the same process number (wine hands the
    // numbers out again from the start): stale, whatever Qt says.
    qint64 owner = 0;
    if (!locked && m_lock->error() == QLockFile::LockFailedError &&
        m_lock->getLockInfo(&owner, nullptr, nullptr) &&
        owner == QCoreApplication::applicationPid()) {
        qCWarning(lcFiles) << "the lock names this process: left by an ended run, taken over";
        locked = m_lock->removeStaleLockFile() && m_lock->tryLock(0);
    }
    if (locked) {
        listen();
        return Role::First;
    }
    if (m_lock->error() != QLockFile::LockFailedError) {
        qCWarning(lcFiles) << "no lock file could be made in" << m_folder
                           << "; running without a guard against a second program";
        m_lock.reset();
        return Role::First;
    }
    m_lock.reset();
    return askToShow() ? Role::Later : Role::Unreachable;
}

bool SingleInstance::listen() {
    const QString address = localServerAddress(m_folder, m_name);
    // We hold the lock, so a socket already there was left by a program that
    // ended without closing it.
    QLocalServer::removeServer(address);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(address)) {
        qCWarning(lcFiles) << "later starts cannot reach this one:" << m_server->errorString();
        return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *peer = m_server->nextPendingConnection()) {
            connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            auto readRequest = [this, peer] {
                if (peer->bytesAvailable() < ShowRequest.size())
                    return;
                if (peer->read(ShowRequest.size()) == ShowRequest)
                    emit showRequested();
                peer->disconnectFromServer();
            };
            connect(peer, &QLocalSocket::readyRead, this, readRequest);
            readRequest();
        }
    });
    return true;
}

bool SingleInstance::askToShow() const {
    QLocalSocket socket;
    const QString address = localServerAddress(m_folder, m_name);
    // The running program takes the lock a moment before it listens.
    QDeadlineTimer deadline(3000);
    for (;;) {
        socket.connectToServer(address);
        if (socket.waitForConnected(500))
            break;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(100);
    }
    socket.write(ShowRequest);
    while (socket.bytesToWrite() > 0 && !deadline.hasExpired())
        socket.waitForBytesWritten(int(deadline.remainingTime()));
    const bool sent = socket.bytesToWrite() == 0;
    socket.disconnectFromServer();
    return sent;
}

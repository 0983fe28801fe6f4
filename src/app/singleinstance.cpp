// SPDX-License-Identifier: MIT
#include "app/singleinstance.h"

#include "platform/files.h"
#include "platform/logging.h"
#include "platform/system.h"

#include <algorithm>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>

namespace {

/// What a later start asks for: the window as it was, or summoned (`--show`),
/// each followed by the activation token the later start was given, if any.
const QByteArray ShowRequest = QByteArrayLiteral("show");
const QByteArray SummonRequest = QByteArrayLiteral("summon");
constexpr qsizetype MaxRequest = 512;

/// The activation token `token`, when it is printable ASCII.
QString tokenIn(const QByteArray &token) {
    const bool fine =
        std::all_of(token.cbegin(), token.cend(), [](char c) { return c > ' ' && c < 127; });
    return fine ? QString::fromLatin1(token) : QString();
}
const QString LockName = QStringLiteral("orlo-clipboard.lock");
/// Beside the lock: where the running program listens.
const QString AddressName = QStringLiteral("orlo-clipboard.address");

} // namespace

SingleInstance::SingleInstance(QString folder, QObject *parent)
    : QObject(parent)
    , m_folder(std::move(folder)) {}

SingleInstance::~SingleInstance() {
    if (!m_server)
        return;
    m_server->close();
    // Nobody listens there any more: a later start looks no further.
    files::remove(m_folder + u'/' + AddressName);
}

bool SingleInstance::lock(const QString &file) {
    QDir().mkpath(QFileInfo(file).path());
    m_lock = std::make_unique<QLockFile>(file);
    // Held for the whole run: only a dead owner makes it stale, never its age.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return true;
    if (m_lock->error() != QLockFile::LockFailedError)
        return false;
    // Qt takes over a lock only when it names a process that is gone; one
    // that names another live process (wine hands the numbers out again),
    // or none (empty, damaged), is taken over too when nobody holds it. A
    // starting program writes its number a moment after making the file.
    const QFileInfo info(file);
    if (!info.isSymLink() && info.isFile() && !m_lock->getLockInfo(nullptr, nullptr, nullptr))
        QThread::msleep(300);
    // A folder or link there is no lock at all.
    const bool taken = info.isSymLink() || !info.isFile()
                           ? files::remove(file) || QDir(file).removeRecursively()
                           : m_lock->removeStaleLockFile();
    if (!taken)
        return false;
    qCWarning(lcFiles) << "a lock file that nobody holds was taken over:" << file;
    return m_lock->tryLock(0);
}

void SingleInstance::keepLock() {
    // The folder emptied by hand takes the lock file with it: made again at
    // once, or a later start would run beside this one.
    auto *watcher = new QFileSystemWatcher({m_lock->fileName()}, this);
    connect(watcher, &QFileSystemWatcher::fileChanged, this, [this, watcher](const QString &file) {
        if (QFileInfo::exists(file))
            return;
        qCWarning(lcFiles) << "the lock file went; taken again";
        m_lock->unlock();
        QDir().mkpath(QFileInfo(file).path());
        if (!m_lock->tryLock(0))
            return;
        watcher->addPath(file);
        if (m_server->isListening())
            noteAddress();
    });
}

QString SingleInstance::lockFile() const {
    return m_folder + u'/' + LockName;
}

SingleInstance::Role SingleInstance::start(bool summon) {
    m_summon = summon;
    if (lock(lockFile())) {
        listen();
        keepLock();
        return Role::First;
    }
    if (m_lock->error() == QLockFile::LockFailedError) {
        m_lock.reset();
        return askToShow() ? Role::Later : Role::Unreachable;
    }
    qCWarning(lcFiles) << "no lock file could be made in" << m_folder;
    if (lock(runtimeFolder() + u'/' + perUserName(LockName))) {
        listen();
        return Role::First;
    }
    qCWarning(lcFiles) << "no lock of any kind could be made: running unguarded";
    m_lock.reset();
    return Role::Unguarded;
}

bool SingleInstance::listen() {
    // Named after the data folder, short enough for any socket path.
    const QByteArray folder = QDir(m_folder).canonicalPath().toUtf8();
    const QString name = perUserName(
        QStringLiteral("orlo-clipboard-") +
        QString::fromLatin1(
            QCryptographicHash::hash(folder, QCryptographicHash::Sha256).toHex().left(16)));
    const QString address = localServerAddress(runtimeFolder(), name);
    // We hold the lock, so a socket already there was left by a program that
    // ended without closing it.
    QLocalServer::removeServer(address);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    m_address = address;
    if (!m_server->listen(address)) {
        qCWarning(lcFiles) << "later starts cannot reach this one:" << m_server->errorString();
        return false;
    }
    noteAddress();
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *peer = m_server->nextPendingConnection()) {
            connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            auto readRequest = [this, peer] {
                if (!peer->canReadLine() && peer->bytesAvailable() < MaxRequest)
                    return;
                const QByteArray request = peer->readLine(MaxRequest + 1).trimmed();
                const qsizetype space = request.indexOf(' ');
                const QByteArray what = space < 0 ? request : request.left(space);
                const QString token = space < 0 ? QString() : tokenIn(request.mid(space + 1));
                if (what == ShowRequest)
                    emit showRequested(token);
                else if (what == SummonRequest)
                    emit summonRequested(token);
                peer->disconnectFromServer();
            };
            connect(peer, &QLocalSocket::readyRead, this, readRequest);
            readRequest();
        }
    });
    return true;
}

void SingleInstance::noteAddress() {
    // Beside the lock, for starts that see another runtime folder.
    const QString note = m_folder + u'/' + AddressName;
    const QString fresh = note + QStringLiteral(".new");
    files::remove(fresh);
    const int fd = files::createNew(fresh);
    const QByteArray bytes = m_address.toUtf8();
    const bool noted = fd >= 0 && files::writeAll(fd, fresh, bytes.constData(), bytes.size());
    files::close(fd);
    if (!noted || !files::replace(fresh, note))
        qCWarning(lcFiles) << "the socket's address could not be noted in" << m_folder;
}

bool SingleInstance::askToShow() const {
    QFile note(m_folder + u'/' + AddressName);
    QLocalSocket socket;
    // The running program takes the lock a moment before it listens.
    QDeadlineTimer deadline(3000);
    for (;;) {
        QString address;
        if (note.open(QIODevice::ReadOnly)) {
            address = QString::fromUtf8(note.read(4096));
            note.close();
        }
        if (!address.isEmpty()) {
            socket.connectToServer(address);
            if (socket.waitForConnected(500))
                break;
        }
        if (deadline.hasExpired())
            return false;
        QThread::msleep(100);
    }
    // The token a desktop hands a program it starts lets the running one
    // come to the front on Wayland.
    const QByteArray token = qgetenv("XDG_ACTIVATION_TOKEN");
    socket.write((m_summon ? SummonRequest : ShowRequest) +
                 (token.isEmpty() ? QByteArray() : ' ' + token) + '\n');
    while (socket.bytesToWrite() > 0 && !deadline.hasExpired())
        socket.waitForBytesWritten(int(deadline.remainingTime()));
    const bool sent = socket.bytesToWrite() == 0;
    socket.disconnectFromServer();
    return sent;
}

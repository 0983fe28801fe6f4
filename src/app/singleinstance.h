// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

/// One running program per user: the first start listens, a later start
/// asks it to show its window and ends.
class SingleInstance final : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString &key, QObject *parent = nullptr);
    ~SingleInstance() override;

    /// True when another instance runs and was asked to show itself.
    bool notifyRunning();
    /// Starts listening for later starts; false when it cannot.
    bool listen();

signals:
    void showRequested();

private:
    QString m_key;
    QLocalServer *m_server = nullptr;
};

// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

class Clipboard;
class EntryStore;

/// Takes what is copied into the entries while monitoring is on: text first,
/// then a picture, never anything the owner marked as a secret. A copy of
/// files only adds nothing.
class ClipboardWatcher final : public QObject {
    Q_OBJECT
public:
    ClipboardWatcher(Clipboard &clipboard, EntryStore &store, QObject *parent = nullptr);

    bool monitoring() const { return m_monitoring; }
    /// Starts and stops hearing clipboard changes.
    void listen();
    void stopListening();

public slots:
    /// Monitoring on: changes are taken; off: they are heard and left alone.
    void setMonitoring(bool on);

signals:
    /// A change is being taken; captureFinished() follows when it is done.
    void captureStarted();
    void captureFinished();

private slots:
    void clipboardChanged();

private:
    Clipboard &m_clipboard;
    EntryStore &m_store;
    bool m_monitoring = true;
};

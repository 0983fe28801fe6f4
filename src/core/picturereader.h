// SPDX-License-Identifier: MIT
#pragma once

#include <QHash>
#include <QObject>
#include <QThread>
#include <QTimer>

class PictureEntries;
class TextRecognizer;

/// Reads the words in the pictures, so that they can be searched: in the
/// background at the lowest priority, one picture at a time, the newest
/// first. What it reads goes to the pictures' model; a picture replaced or
/// gone before it is read is not read, or its words are dropped. The engine
/// is released once nothing has waited for a while.
class PictureReader final : public QObject {
    Q_OBJECT
public:
    /// The engine is released after `idleMs` without a picture to read.
    PictureReader(PictureEntries &pictures, TextRecognizer &recognizer, int idleMs = 10'000,
                  QObject *parent = nullptr);
    /// Stops the picture being read.
    ~PictureReader() override;

    /// Whether pictures can be read here at all.
    bool available() const { return m_available; }
    /// Pictures not read yet.
    int waiting() const { return int(m_waiting.size()) + (m_reading ? 1 : 0); }

signals:
    void waitingChanged(int waiting);

private:
    /// The pictures of these rows are new.
    void enqueue(int first, int last);
    void readNext();
    void read(quint64 ticket, int row, const QString &words);
    void told();

    PictureEntries &m_pictures;
    TextRecognizer &m_recognizer;
    bool m_available;
    /// For each row, the ticket of the picture now in it; newer ones are larger.
    QHash<int, quint64> m_tickets;
    QList<int> m_waiting;
    bool m_reading = false;
    quint64 m_issued = 0;
    QThread m_thread;
    QObject *m_worker;
    QTimer m_idle;
};

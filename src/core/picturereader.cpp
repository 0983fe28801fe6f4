// SPDX-License-Identifier: MIT
#include "core/picturereader.h"

#include "core/pictureentries.h"
#include "core/search.h"
#include "platform/logging.h"
#include "platform/system.h"
#include "platform/textrecognizer.h"

#include <QImageReader>

namespace {

/// Lives in the reading thread: reads one picture when asked.
class Worker final : public QObject {
    Q_OBJECT
public:
    explicit Worker(TextRecognizer &recognizer)
        : m_recognizer(recognizer) {}

    void read(quint64 ticket, int row, const QString &file) {
        QImageReader reader(file);
        QImage picture = reader.read();
        if (picture.isNull())
            qCWarning(lcCapture) << "picture" << row
                                 << "not read for its words:" << reader.errorString();
        emit done(ticket, row, searchableWords(m_recognizer.read(std::move(picture))));
    }
    void release() {
        m_recognizer.release();
        trimMemory();
    }

signals:
    void done(quint64 ticket, int row, const QString &words);

private:
    TextRecognizer &m_recognizer;
};

} // namespace

PictureReader::PictureReader(PictureEntries &pictures, TextRecognizer &recognizer, int idleMs,
                             QObject *parent)
    : QObject(parent)
    , m_pictures(pictures)
    , m_recognizer(recognizer)
    , m_available(recognizer.available())
    , m_worker(new Worker(recognizer)) {
    if (!m_available)
        return;
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    connect(static_cast<Worker *>(m_worker), &Worker::done, this, &PictureReader::read);
    m_idle.setSingleShot(true);
    m_idle.setInterval(idleMs);
    connect(&m_idle, &QTimer::timeout, m_worker,
            [worker = static_cast<Worker *>(m_worker)] { worker->release(); });
    m_thread.start(QThread::IdlePriority);

    connect(&pictures, &PictureEntries::rowsInserted, this,
            [this](auto, int first, int last) { enqueue(first, last); });
    connect(&pictures, &PictureEntries::dataChanged, this,
            [this](const QModelIndex &from, const QModelIndex &to, const QList<int> &roles) {
                if (roles.isEmpty()) // a capture in the place of another
                    enqueue(from.row(), to.row());
            });
    connect(&pictures, &PictureEntries::modelReset, this, [this] {
        m_tickets.clear();
        m_waiting.clear();
        enqueue(0, m_pictures.count() - 1);
    });
}

PictureReader::~PictureReader() {
    if (!m_available) {
        delete m_worker;
        return;
    }
    m_recognizer.interrupt(); // a picture being read is not waited for
    m_thread.quit();
    m_thread.wait();
}

void PictureReader::enqueue(int first, int last) {
    for (int row = first; row <= last; ++row) {
        m_tickets[row] = ++m_issued;
        m_waiting.removeAll(row);
        m_waiting.append(row);
    }
    readNext();
    told();
}

void PictureReader::readNext() {
    if (m_reading || m_waiting.isEmpty())
        return;
    // The newest first: the one most likely looked for.
    const auto newest =
        std::max_element(m_waiting.cbegin(), m_waiting.cend(),
                         [this](int a, int b) { return m_tickets.value(a) < m_tickets.value(b); });
    const int row = *newest;
    m_waiting.erase(newest);
    m_reading = true;
    m_idle.stop();
    QMetaObject::invokeMethod(
        m_worker,
        [worker = static_cast<Worker *>(m_worker), ticket = m_tickets.value(row), row,
         file = m_pictures.file(row)] { worker->read(ticket, row, file); },
        Qt::QueuedConnection);
}

void PictureReader::read(quint64 ticket, int row, const QString &words) {
    m_reading = false;
    // The picture read is still the one in its row.
    if (m_tickets.value(row) == ticket)
        m_pictures.setWords(row, words);
    readNext();
    if (!m_reading)
        m_idle.start();
    told();
}

void PictureReader::told() {
    emit waitingChanged(waiting());
}

#include "picturereader.moc"

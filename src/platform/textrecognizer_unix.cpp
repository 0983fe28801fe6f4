// SPDX-License-Identifier: MIT
// The words in pictures, read by a process of the program's own (see
// tesseract_unix.cpp), started at the first picture and ended when released.
#include "platform/logging.h"
#include "platform/ocrprotocol_p.h"
#include "platform/pipeio.h"
#include "platform/textrecognizer.h"

#include <QFile>
#include <QImage>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

/// A picture the engine takes longer on is given up: it hangs.
constexpr int ReadBoundMs = 120'000;

class ProcessRecognizer final : public TextRecognizer {
public:
    explicit ProcessRecognizer(QString program)
        : m_program(QFile::encodeName(program)) {}
    ~ProcessRecognizer() override { end(false); }

    bool available() const override { return !m_missing; }

    QString read(QImage picture) override {
        if (picture.isNull() || m_missing || m_stopped || (m_pid < 0 && !start()))
            return {};
        picture = std::move(picture).convertToFormat(QImage::Format_Grayscale8);
        const quint32 size[2] = {quint32(picture.width()), quint32(picture.height())};
        bool sent = writeAllNoSignal(m_input, reinterpret_cast<const char *>(size), sizeof size);
        for (int y = 0; sent && y < picture.height(); ++y)
            sent =
                writeAllNoSignal(m_input, reinterpret_cast<const char *>(picture.constScanLine(y)),
                                 size_t(picture.width()));
        picture = QImage(); // not held while the engine reads it
        const QDeadlineTimer bound(ReadBoundMs);
        quint32 length = 0;
        if (sent && readAll(m_output, &length, sizeof length, bound) && length <= ocr::MaxWords) {
            QByteArray words(qsizetype(length), Qt::Uninitialized);
            if (readAll(m_output, words.data(), length, bound))
                return QString::fromUtf8(words);
        }
        if (bound.hasExpired())
            qCWarning(lcCapture) << "the words of a picture took over" << ReadBoundMs
                                 << "ms: given up";
        // It ended, failed or hangs: this picture goes without its words,
        // the next one is read by a new process.
        end(true);
        return {};
    }

    void release() override { end(false); }

    void interrupt() override {
        const std::lock_guard lock(m_lock);
        m_stopped = true;
        if (m_pid > 0)
            ::kill(m_pid, SIGKILL);
    }

private:
    bool start() {
        int input[2], output[2];
        if (::pipe2(input, O_CLOEXEC) != 0)
            return false;
        if (::pipe2(output, O_CLOEXEC) != 0) {
            ::close(input[0]);
            ::close(input[1]);
            return false;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
        // The engine's complaints about pictures are no one's business.
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        char argument[sizeof ReadWordsArgument];
        std::copy_n(ReadWordsArgument, sizeof argument, argument);
        char *const argv[] = {m_program.data(), argument, nullptr};
        pid_t pid = -1;
        const int error =
            ::posix_spawn(&pid, m_program.constData(), &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(input[0]);
        ::close(output[1]);
        if (error != 0) {
            ::close(input[1]);
            ::close(output[0]);
            qCWarning(lcCapture) << "the reader of words in pictures did not start:"
                                 << std::strerror(error);
            m_missing = true;
            return false;
        }
        const std::lock_guard lock(m_lock);
        if (m_stopped)
            ::kill(pid, SIGKILL);
        m_pid = pid;
        m_input = input[1];
        m_output = output[0];
        return true;
    }

    /// Ends the process: at once, or once it has read its end of input.
    void end(bool kill) {
        if (m_pid < 0)
            return;
        ::close(m_input); // it ends at the end of its input
        if (kill)
            ::kill(m_pid, SIGKILL);
        // Waited for without reaping it: until it is reaped under the lock,
        // its number cannot go to another process that interrupt() would kill.
        siginfo_t ended{};
        while (::waitid(P_PID, id_t(m_pid), &ended, WEXITED | WNOWAIT) < 0 && errno == EINTR) {
        }
        ::close(m_output);
        const std::lock_guard lock(m_lock);
        int status = 0;
        while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
        }
        m_pid = -1;
        if (WIFEXITED(status) && WEXITSTATUS(status) == ocr::NoEngine) {
            qCWarning(lcCapture)
                << "no OCR engine (libtesseract): the words in pictures are not read";
            m_missing = true;
        } else if (WIFEXITED(status) && WEXITSTATUS(status) == ocr::NoModels) {
            qCWarning(lcCapture) << "no OCR models found: the words in pictures are not read";
            m_missing = true;
        } else if (WIFSIGNALED(status) && WTERMSIG(status) != SIGKILL) {
            qCWarning(lcCapture) << "the reader of words in pictures ended by signal"
                                 << WTERMSIG(status) << "on a picture";
        } else if (WIFEXITED(status) && WEXITSTATUS(status) != ocr::Done) {
            qCWarning(lcCapture) << "the reader of words in pictures ended with code"
                                 << WEXITSTATUS(status);
        }
    }

    QByteArray m_program;
    std::mutex m_lock; ///< m_pid and m_stopped, which interrupt() sets
    pid_t m_pid = -1;
    std::atomic<bool> m_stopped = false;
    int m_input = -1;  ///< its standard input
    int m_output = -1; ///< its standard output
    std::atomic<bool> m_missing = false;
};

} // namespace

std::unique_ptr<TextRecognizer> makeTextRecognizer(const QString &program) {
    return std::make_unique<ProcessRecognizer>(program);
}

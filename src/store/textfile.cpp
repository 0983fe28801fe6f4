// SPDX-License-Identifier: MIT
#include "store/textfile.h"

#include "app/module1.h"
#include "platform/clock.h"
#include "store/entries.h"

#include <QHash>
#include <QSaveFile>
#include <QStringEncoder>
#include <algorithm>
#include <bitset>

namespace {

constexpr char Codec[] = "GBK";

constexpr char16_t Head[] =
    u"<html><head><meta http-equiv=\"Content-Language\" content=\"zh-cn\">"
    u"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"
    u"<title>Orlo粘贴板数据文件</title></head><body><p><font size=\"3\" face=\"宋体\">\r\n";
constexpr char EntryEnd[] = "<br><br>\r\n";
constexpr char Tail[] = "</font></p></body></html>\r\n";

/// Bytes gathered before they go to the file.
constexpr qsizetype ChunkSize = qsizetype(1) << 20;

/// Appends `text` in code page 936 to `out`, without any check.
void appendEncoded(QStringEncoder &encoder, QStringView text, QByteArray &out) {
    const qsizetype start = out.size();
    out.resize(start + encoder.requiredSpace(text.size()));
    const char *end = encoder.appendToBuffer(out.data() + start, text);
    out.resize(end - out.constData());
}

/// "&#x1F600;"
void appendReference(char32_t c, QByteArray &out) {
    char digits[8];
    int n = 0;
    do {
        digits[n++] = "0123456789ABCDEF"[c & 0xF];
        c >>= 4;
    } while (c != 0);
    out.append("&#x", 3);
    while (n > 0)
        out.append(digits[--n]);
    out.append(';');
}

/// Turns entry text into the bytes of an HTML page in code page 936: the
/// markup characters are escaped, and a character the code page lacks becomes
/// a numeric character reference, so nothing is lost and no byte is foreign.
class PageEncoder {
public:
    PageEncoder()
        : m_runs(Codec) {}
    bool valid() const { return m_runs.isValid(); }

    void append(QStringView text, QByteArray &out) {
        // Most entries hold neither markup nor characters outside the code
        // page: those are encoded in one piece and checked afterwards.
        // Written so that the compiler can vectorise it.
        const char16_t *units = text.utf16();
        qsizetype questionMarks = 0;
        unsigned special = 0;
        for (qsizetype i = 0, n = text.size(); i < n; ++i) {
            const char16_t c = units[i];
            questionMarks += c == u'?';
            special |= (c == u'&') | (c == u'<') | (c == u'>') | ((c & 0xF800) == 0xD800);
        }
        if (special == 0 && appendChecked(text, questionMarks, out))
            return;
        appendPiecewise(text, out);
    }

private:
    /// Encodes `text` with a fresh converter; keeps the bytes only when every
    /// character came through as itself (the converter writes "?" for the
    /// others, so a real question mark is told apart by counting).
    static bool appendChecked(QStringView text, qsizetype questionMarks, QByteArray &out) {
        QStringEncoder encoder(Codec);
        const qsizetype start = out.size();
        appendEncoded(encoder, text, out);
        const auto written = std::count(out.cbegin() + start, out.cend(), '?');
        if (!encoder.hasError() && written == questionMarks)
            return true;
        out.resize(start);
        return false;
    }

    /// Whether the code page has the character; asked once per character.
    bool encodable(char32_t c) {
        if (c < 0x10000) {
            if (!m_known.test(c)) {
                m_known.set(c);
                m_encodable.set(c, probe(c));
            }
            return m_encodable.test(c);
        }
        auto found = m_wide.constFind(c);
        if (found == m_wide.cend())
            found = m_wide.insert(c, probe(c));
        return *found;
    }

    static bool probe(char32_t c) {
        const char32_t one[] = {c};
        QByteArray bytes;
        return appendChecked(QString::fromUcs4(one, 1), c == U'?', bytes) && !bytes.isEmpty();
    }

    /// Character by character: runs of encodable characters go to the
    /// converter in one call, everything else is spelled out.
    void appendPiecewise(QStringView text, QByteArray &out) {
        qsizetype run = 0;
        const auto flush = [&](qsizetype end) {
            if (end > run)
                appendEncoded(m_runs, text.sliced(run, end - run), out);
        };
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t c = text[i].unicode();
            const char *entity = c == u'&'   ? "&amp;"
                                 : c == u'<' ? "&lt;"
                                 : c == u'>' ? "&gt;"
                                             : nullptr;
            char32_t point = c;
            qsizetype width = 1;
            if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                point = QChar::surrogateToUcs4(c, text[i + 1].unicode());
                width = 2;
            } else if (QChar::isSurrogate(c)) {
                point = QChar::ReplacementCharacter; // half a pair stands for nothing
            }
            if (!entity && point == c && encodable(point))
                continue;
            flush(i);
            if (entity)
                out.append(entity);
            else if (point != QChar::ReplacementCharacter && encodable(point))
                appendEncoded(m_runs, text.sliced(i, width), out);
            else
                appendReference(point, out);
            i += width - 1;
            run = i + 1;
        }
        flush(text.size());
    }

    /// Only ever given characters known to be encodable.
    QStringEncoder m_runs;
    std::bitset<0x10000> m_known;
    std::bitset<0x10000> m_encodable;
    QHash<char32_t, bool> m_wide;
};

SaveResult failed(QString reason) {
    return {false, std::move(reason), {}};
}

} // namespace

SaveResult SaveTextFile(const Module1 &m, int first, int last, const QString &folder) {
    const QDateTime now = m.platform.clock.now();
    if (QString problem = FolderProblem(folder); !problem.isEmpty())
        return failed(problem);
    PageEncoder encoder;
    if (!encoder.valid())
        return failed(QString::fromUtf16(SaveReason::NoCodec));

    const QString path = FreeDataFileName(folder, now.toString(u"yyyyMMddHHmmss"), u".htm");
    if (path.isEmpty())
        return failed(OpenProblem(folder));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failed(OpenProblem(folder));

    QByteArray chunk;
    chunk.reserve(ChunkSize * 2);
    const auto write = [&] {
        const bool ok = file.write(chunk) == chunk.size();
        chunk.resize(0);
        return ok;
    };
    QStringEncoder head(Codec);
    appendEncoded(head, Head, chunk);
    bool ok = true;
    const qsizetype from = std::max(first, 0);
    const qsizetype to = std::min<qsizetype>(last, m.TextPages.size() - 1);
    for (qsizetype i = from; ok && i <= to; ++i) {
        encoder.append(m.TextPages.at(i), chunk);
        chunk.append(EntryEnd);
        if (chunk.size() >= ChunkSize)
            ok = write();
    }
    chunk.append(Tail);
    ok = ok && write() && file.commit();
    if (!ok) {
        file.cancelWriting();
        return failed(QString::fromUtf16(SaveReason::WriteFailed));
    }
    return {true, {}, path};
}

// SPDX-License-Identifier: MIT
// Any text, encoded for a data file, gives pure code page 936 bytes without
// raw markup, from which the program reads every character back.
#include "core/archivepage.h"
#include "core/pageencoding.h"

#include <QString>
#include <QStringEncoder>
#include <cstdlib>

namespace {

/// The entry read back from a page holding it, as saved pages are read.
QString readBack(const QByteArray &bytes) {
    static const QByteArray head = QStringEncoder("GBK").encode(
        u"<html><head><meta http-equiv=\"Content-Language\" content=\"zh-cn\"><meta "
        u"http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\"><title>"
        u"Orlo粘贴板数据文件</title></head><body><p><font size=\"3\" face=\"宋体\">\r\n");
    const TextPage page = readTextPage(head + bytes + "<br><br>\r\n</font></p></body></html>\r\n");
    if (page.entries.size() != 1)
        std::abort();
    return page.entries.first();
}

/// The text as the page must give it back: half surrogate pairs and NULs stand for nothing.
QString expected(QStringView text) {
    QString result;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            result.append(c);
            result.append(text.at(++i));
        } else {
            result.append(c.isSurrogate() || c.isNull() ? QChar(QChar::ReplacementCharacter) : c);
        }
    }
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // Taken as they come: QString::fromUtf16() would drop a leading byte-order mark.
    const QString text(reinterpret_cast<const QChar *>(data), qsizetype(size / 2));
    PageEncoder encoder;
    QByteArray bytes;
    encoder.append(text, bytes);
    if (bytes.contains('<') || bytes.contains('>'))
        std::abort();
    if (readBack(bytes) != expected(text))
        std::abort();
    return 0;
}

// SPDX-License-Identifier: MIT
#include "core/textfile.h"

#include "core/pageencoding.h"
#include "core/savefile.h"

#include <QSaveFile>
#include <algorithm>

namespace {

constexpr char16_t Head[] =
    u"<html><head><meta http-equiv=\"Content-Language\" content=\"zh-cn\">"
    u"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"
    u"<title>Orlo粘贴板数据文件</title></head><body><p><font size=\"3\" face=\"宋体\">\r\n";
constexpr char EntryEnd[] = "<br><br>\r\n";
constexpr char Tail[] = "</font></p></body></html>\r\n";

/// Bytes gathered before they go to the file.
constexpr qsizetype ChunkSize = qsizetype(1) << 20;

} // namespace

Result saveTextFile(const QList<QString> &texts, int first, int last, const QString &folder,
                    const QDateTime &now,
                    const std::function<void(const QString &)> &beforeCommit) {
    PageEncoder encoder;
    if (!encoder.valid())
        return {Reason::NoCodec, folder, {}};
    const auto writeBody = [&](QSaveFile &file) {
        QByteArray chunk;
        chunk.reserve(ChunkSize * 2);
        const auto write = [&] {
            const bool ok = file.write(chunk) == chunk.size();
            chunk.resize(0);
            return ok;
        };
        encoder.appendPlain(Head, chunk);
        const qsizetype from = std::max(first, 0);
        const qsizetype to = std::min<qsizetype>(last, texts.size() - 1);
        for (qsizetype i = from; i <= to; ++i) {
            encoder.append(texts.at(i), chunk);
            chunk.append(EntryEnd);
            if (chunk.size() >= ChunkSize && !write())
                return Reason::WriteFailed;
        }
        chunk.append(Tail);
        return write() ? Reason::None : Reason::WriteFailed;
    };
    return writeNewDataFile(folder, now.toString(u"yyyyMMddHHmmss"), u".htm", writeBody,
                            beforeCommit);
}

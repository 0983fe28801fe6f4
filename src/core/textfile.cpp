// SPDX-License-Identifier: MIT
#include "core/textfile.h"

#include "core/pageencoding.h"

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

SaveResult failed(QString reason) {
    return {false, std::move(reason), {}};
}

} // namespace

SaveResult SaveTextFile(const QList<QString> &texts, int first, int last, const QString &folder,
                        const QDateTime &now) {
    if (QString problem = folderProblem(folder); !problem.isEmpty())
        return failed(problem);
    PageEncoder encoder;
    if (!encoder.valid())
        return failed(QString::fromUtf16(SaveReason::NoCodec));

    const QString path = freeDataFileName(folder, now.toString(u"yyyyMMddHHmmss"), u".htm");
    if (path.isEmpty())
        return failed(openProblem(folder));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failed(openProblem(folder));

    QByteArray chunk;
    chunk.reserve(ChunkSize * 2);
    const auto write = [&] {
        const bool ok = file.write(chunk) == chunk.size();
        chunk.resize(0);
        return ok;
    };
    encoder.appendPlain(Head, chunk);
    bool ok = true;
    const qsizetype from = std::max(first, 0);
    const qsizetype to = std::min<qsizetype>(last, texts.size() - 1);
    for (qsizetype i = from; ok && i <= to; ++i) {
        encoder.append(texts.at(i), chunk);
        chunk.append(EntryEnd);
        if (chunk.size() >= ChunkSize)
            ok = write();
    }
    chunk.append(Tail);
    ok = ok && write() && commitWhole(file);
    if (!ok) {
        file.cancelWriting();
        return failed(QString::fromUtf16(SaveReason::WriteFailed));
    }
    return {true, {}, path};
}

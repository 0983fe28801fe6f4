// SPDX-License-Identifier: MIT
#include "store/textfile.h"

#include "app/module1.h"
#include "platform/clock.h"
#include "store/entries.h"
#include "store/pageencoding.h"

#include <QSaveFile>
#include <QStringEncoder>
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
    QStringEncoder head(DataFileCodec);
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
    ok = ok && write() && CommitWhole(file);
    if (!ok) {
        file.cancelWriting();
        return failed(QString::fromUtf16(SaveReason::WriteFailed));
    }
    return {true, {}, path};
}

// SPDX-License-Identifier: MIT
#include "report.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

using namespace Qt::StringLiterals;

namespace e2e {

QList<QJsonObject> ProgramReport::lines() const {
    QFile file(m_path);
    QList<QJsonObject> lines;
    if (file.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : file.readAll().split('\n'))
            lines.append(QJsonDocument::fromJson(line).object());
    }
    return lines;
}

QList<Entry> ProgramReport::entries() const {
    QList<Entry> found;
    for (const QJsonObject &line : lines()) {
        if (line.contains(u"entry"_s))
            found.append({line[u"entry"_s].toString(), line[u"text"_s].toString()});
    }
    return found;
}

int ProgramReport::changes() const {
    const QList<QJsonObject> all = lines();
    return int(std::count_if(all.cbegin(), all.cend(),
                             [](const QJsonObject &line) { return line.contains(u"change"_s); }));
}

QJsonObject ProgramReport::atStart() const {
    return lines().value(0);
}

QSize ProgramReport::textViewSize() const {
    QSize size;
    for (const QJsonObject &line : lines()) {
        if (line.contains(u"textView"_s))
            size = {line[u"textView"_s][0].toInt(), line[u"textView"_s][1].toInt()};
    }
    return size;
}

QList<Entry> ProgramReport::take(const std::function<bool()> &copy) const {
    const int before = changes();
    const qsizetype known = entries().size();
    if (!copy())
        return {{u"copy failed"_s, {}}};
    if (!QTest::qWaitFor([&] { return changes() > before; }, 10000))
        return {{u"not handled"_s, {}}};
    return entries().mid(known);
}

} // namespace e2e

// SPDX-License-Identifier: MIT
#include "core/entrylist.h"

#include <limits>

namespace {

QString numbered(const char16_t *word, int n) {
    return QString::fromUtf16(word) + QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

} // namespace

QString textCaption(int n) {
    return numbered(u"文本", n);
}

QString imageCaption(int n) {
    return numbered(u"图像", n);
}

EntryList::EntryList(QString (*captionOf)(int), QObject *parent)
    : QAbstractListModel(parent)
    , m_caption(captionOf) {}

int EntryList::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : m_count;
}

QVariant EntryList::data(const QModelIndex &index, int role) const {
    if (index.parent().isValid() || !exists(index.row()))
        return {};
    if (role == SearchTextRole)
        return searchText(index.row());
    if (role == Qt::ToolTipRole)
        return preview(index.row());
    return role == Qt::DisplayRole ? QVariant(caption(index.row())) : QVariant();
}

QString EntryList::caption(int row) const {
    return m_caption(row);
}

int EntryList::newest() const {
    if (m_next > 0)
        return m_next - 1;
    return m_count >= EntryBound ? EntryBound - 1 : -1;
}

void EntryList::select(int row) {
    if ((!exists(row) && row != -1) || row == m_current)
        return;
    m_current = row;
    emit currentChanged(row);
}

bool EntryList::full() const {
    return m_next >= EntryBound;
}

void EntryList::startAgain() {
    m_next = qint16(m_next % EntryBound);
}

int EntryList::beginPlace() {
    const int row = m_next;
    m_appending = row >= m_count;
    if (m_appending)
        beginInsertRows({}, m_count, m_count);
    return m_appending ? m_count : row;
}

void EntryList::endPlace(int row) {
    if (m_appending) {
        ++m_count;
        endInsertRows();
    } else {
        emit dataChanged(index(row), index(row));
    }
    // Entry numbers are 16-bit: at 32767 the next entry takes that place again.
    if (m_next < std::numeric_limits<qint16>::max())
        ++m_next;
    m_current = row;
    emit currentChanged(row);
}

void EntryList::beginReset() {
    beginResetModel();
}

void EntryList::endReset(int count, int next) {
    m_count = count;
    m_next = qint16(next);
    m_current = newest();
    endResetModel();
    if (m_current >= 0)
        emit currentChanged(m_current);
}

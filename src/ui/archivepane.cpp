// SPDX-License-Identifier: MIT
#include "ui/archivepane.h"

#include "core/archive.h"
#include "platform/clipboard.h"
#include "platform/launcher.h"
#include "ui/pictureframe.h"

#include <QHBoxLayout>
#include <QImageReader>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QString caption(const ArchiveMatch &match) {
    const QString saved = match.saved.toString(u"yyyy-MM-dd HH:mm"_qs);
    return match.picture() ? saved + u" 图片"_qs : saved + u" 第%1条"_qs.arg(match.number + 1);
}

} // namespace

ArchivePane::ArchivePane(Archive &archive, Clipboard &clipboard, Launcher &launcher,
                         QWidget *parent)
    : QGroupBox(u"已保存"_qs, parent)
    , m_archive(archive)
    , m_clipboard(clipboard)
    , m_launcher(launcher)
    , m_list(new QListWidget)
    , m_views(new QStackedWidget)
    , m_text(new QPlainTextEdit)
    , m_picture(new PictureFrame)
    , m_open(new QPushButton(u"打开所在文件夹"_qs)) {
    setObjectName(u"fmSaved"_qs);
    m_list->setObjectName(u"lstSaved"_qs);
    m_text->setObjectName(u"txtSaved"_qs);
    m_open->setObjectName(u"cmdOpenFolder"_qs);
    m_list->setFixedWidth(160);
    m_list->setAccessibleName(title());
    m_text->setAccessibleName(title());
    m_text->setReadOnly(true);
    m_views->addWidget(m_text);
    m_views->addWidget(m_picture);
    auto *side = new QVBoxLayout;
    side->addWidget(m_list, 1);
    side->addWidget(m_open);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(side);
    layout->addWidget(m_views, 1);
    m_open->setEnabled(false);
    connect(m_list, &QListWidget::currentRowChanged, this, &ArchivePane::present);
    connect(m_open, &QPushButton::clicked, this, &ArchivePane::openFolder);
    connect(&archive, &Archive::found, this, &ArchivePane::take);
}

void ArchivePane::take(const QList<ArchiveMatch> &matches, bool appended, bool more) {
    const QSignalBlocker quiet(m_list);
    // The match on show stays chosen, and shown, when a new list still has it.
    const int row = m_list->currentRow();
    const ArchiveMatch shown =
        row >= 0 && row < m_matches.size() ? m_matches.at(row) : ArchiveMatch();
    const auto same = [&shown](const ArchiveMatch &match) {
        return match.file == shown.file && match.number == shown.number;
    };
    const qsizetype kept =
        appended ? -1 : std::find_if(matches.begin(), matches.end(), same) - matches.begin();
    if (!appended) {
        m_list->clear();
        m_matches.clear();
        if (kept == matches.size()) {
            m_text->clear();
            m_picture->setPicture({});
            m_open->setEnabled(false);
        }
    }
    if (m_more) // the "更多" row
        delete m_list->takeItem(m_list->count() - 1);
    for (const ArchiveMatch &match : matches)
        m_list->addItem(caption(match));
    m_matches += matches;
    m_more = more;
    if (more)
        m_list->addItem(u"更多"_qs);
    if (kept >= 0 && kept < matches.size())
        m_list->setCurrentRow(int(kept));
    emit listedChanged();
}

void ArchivePane::present(int row) {
    if (row < 0)
        return;
    if (row >= m_matches.size()) { // 更多
        m_archive.more();
        return;
    }
    const ArchiveMatch &match = m_matches.at(row);
    m_open->setEnabled(true);
    if (match.picture()) {
        m_picture->setPicture(QImageReader(match.file).read());
        m_views->setCurrentWidget(m_picture);
    } else {
        m_shownText = Archive::textOf(match);
        m_text->setPlainText(m_shownText);
        m_views->setCurrentWidget(m_text);
    }
}

bool ArchivePane::chooseNext() {
    if (m_matches.isEmpty())
        return false;
    const int row = m_list->currentRow();
    m_list->setCurrentRow(row + 1 < m_matches.size() ? row + 1 : 0);
    return true;
}

void ArchivePane::copyShown() {
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_matches.size())
        return;
    if (m_matches.at(row).picture()) {
        if (!m_picture->picture().isNull())
            m_clipboard.setImage(m_picture->picture());
    } else {
        m_clipboard.setText(m_shownText);
    }
}

void ArchivePane::openFolder() {
    const int row = m_list->currentRow();
    if (row >= 0 && row < m_matches.size())
        m_launcher.showFile(m_matches.at(row).file);
}

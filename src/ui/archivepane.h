// SPDX-License-Identifier: MIT
#pragma once

#include "core/archivequery.h"

#include <QGroupBox>

class Archive;
class Clipboard;
class Launcher;
class PictureFrame;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;

/// The archive's matches (fmSaved, "已保存"): the list of what a search
/// found among the saved pages and pictures (lstSaved), named by save time
/// and place, newest first, and the one chosen beside it, read-only: its
/// text (txtSaved) or picture. Only copying it and opening its folder
/// (cmdOpenFolder) are offered. The list holds nothing while nothing is
/// searched for; a "更多" row at its end asks for the next matches.
class ArchivePane final : public QGroupBox {
    Q_OBJECT
public:
    ArchivePane(Archive &archive, Clipboard &clipboard, Launcher &launcher,
                QWidget *parent = nullptr);

    /// Matches listed, and whether there are more.
    int listed() const { return int(m_matches.size()); }
    bool hasMore() const { return m_more; }
    /// Chooses the match after the one chosen, or the first; false when
    /// none is listed.
    bool chooseNext();
    /// The match shown, to the clipboard.
    void copyShown();

signals:
    void listedChanged();

private:
    void take(const QList<ArchiveMatch> &matches, bool appended, bool more);
    void present(int row);
    void openFolder();

    Archive &m_archive;
    Clipboard &m_clipboard;
    Launcher &m_launcher;
    QListWidget *m_list;
    QStackedWidget *m_views;
    QPlainTextEdit *m_text;
    PictureFrame *m_picture;
    QPushButton *m_open;
    QList<ArchiveMatch> m_matches;
    bool m_more = false;
    /// The text shown, as saved.
    QString m_shownText;
};

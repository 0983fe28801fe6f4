// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

class Dialogs;
class Launcher;
struct Result;

/// The product forum.
inline constexpr char16_t ForumAddress[] = u"https://bbs.orlo-clipboard.cn/";

/// The help menu: the manual and the forum in the default browser, and the
/// About box.
class HelpCommands final : public QObject {
    Q_OBJECT
public:
    HelpCommands(Launcher &launcher, Dialogs &dialogs, QString programFolder,
                 QObject *parent = nullptr);

public slots:
    void openManual();
    void openForum();
    void showAbout();

private:
    void tell(const Result &failure);

    Launcher &m_launcher;
    Dialogs &m_dialogs;
    QString m_programFolder;
};

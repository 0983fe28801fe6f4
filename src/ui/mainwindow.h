// SPDX-License-Identifier: MIT
#pragma once

#include "platform/platform.h"
#include "ui/mainmenus.h"

#include <QMainWindow>

class Archive;
class ArchivePane;
class EntryStore;
class HelpCommands;
class PickMode;
class PictureView;
class SearchField;
class SettingsStore;
class StatusLine;
class TextView;
class TrayIcon;
struct UserMessage;

/// The main window (frmMain): menus, toolbar, the text and picture views,
/// the status line. It shows the entries of the store and runs the commands
/// of its menus on them; what exists is the store's to say.
class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(EntryStore &store, SettingsStore &settings, Platform platform,
               QWidget *parent = nullptr);
    ~MainWindow() override;

    /// Minimising hides the window while this icon is up to bring it back.
    void setTray(TrayIcon *tray) { m_tray = tray; }
    /// Searches reach what is saved in the data folders too (已保存).
    void setArchive(Archive *archive);
    /// The items the tray menu shares: monitoring on or off, and 退出.
    QAction *monitoringAction() const { return m_menus.menuDetectClpBd; }
    QAction *exitAction() const { return m_menus.menuExit; }

public slots:
    /// A click on the tray icon: a hidden or minimised window comes back as
    /// it was left, where it was, with the dialog open in it in front; one
    /// that is up stays as it is where the window system tells of minimising
    /// (on Wayland it is brought to the front).
    void showFromTray();
    /// A later start: the window comes up and to the front, whatever state
    /// the program believes it is in.
    void bringToFront();
    /// The shortcut or `--show`: the window comes to the front, on this
    /// desktop, with the search field focused, its words selected, to pick
    /// an entry from the keyboard; with the dialog open in front of it, if
    /// one is.
    void summon();
    /// A clipboard change is being taken, and is taken.
    void showCapturing();
    void showReady();
    /// Pictures whose words are still being read, for the search's count.
    void setPicturesWaiting(int waiting);
    /// Keeps in the lists the entries that hold the words typed.
    void search(const QString &typed);
    /// Enter in the search field: the next entry the search keeps, in the
    /// view on show, or in the other when this one keeps none.
    void showNextMatch();
    /// A box telling the user what failed.
    void tell(const UserMessage &message);
    /// The status line's tip: how the clipboard is watched.
    void setWatchTip(const QString &tip);
    /// A notice in the status line, until the next command.
    void showNotice(const QString &notice);

    // The commands of the menus and the toolbar.
    void saveThisText();
    void saveAllTexts();
    void saveThisPicture();
    /// Whether every picture was saved.
    bool saveAllPictures();
    /// Texts and pictures; the temp pictures go once every one is saved.
    void saveAll();
    /// The text or the picture of the view on show, to the clipboard.
    void copyShownEntry();
    void deleteAllTexts();
    void deleteAllPictures();
    void deleteAll();
    void clearClipboard();
    void showTexts();
    void showPictures();
    void editAppearance();
    /// Asks for a signature and removes it from the shown text.
    void removeSignature();
    void editOptions();
    void copyShownPicture();

    /// The close box, 退出 or Ctrl+Q: with entries not saved, asks whether to
    /// save them first; emits quitRequested() unless the user cancels or a
    /// save fails.
    void requestQuit();

signals:
    /// The program is to end the orderly way: what is not saved goes.
    void quitRequested();
    /// Monitoring the clipboard switched on or off.
    void monitoringToggled(bool on);
    /// 选项 changed the shortcut that summons the window (portable text;
    /// empty for none).
    void shortcutChosen(const QString &keys);

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void connectMenus();
    /// What the search keeps, in the status line while it is on.
    void showFound();
    /// Whether the program may end: nothing unsaved, or the user said so.
    bool mayQuit();
    /// Hidden to the tray: where the window was is kept for its return.
    void hideToTray();

    MainMenus m_menus;
    TextView *m_texts;
    PictureView *m_pictures;
    StatusLine *m_status;
    EntryStore &m_store;
    SettingsStore &m_settings;
    Platform m_platform;
    HelpCommands *m_help;
    TrayIcon *m_tray = nullptr;
    SearchField *m_search = nullptr;
    PickMode *m_pick = nullptr;
    int m_picturesWaiting = 0;
    Archive *m_archive = nullptr;
    ArchivePane *m_saved = nullptr;
    /// Where the window was when it went to the tray, and on which screen.
    QPoint m_place;
    QString m_placeScreen;
};

// SPDX-License-Identifier: MIT
// The Debian package made from this build: lintian's word on it, that dpkg
// installs it into an empty root, and that the program runs from there as
// installed.
#include "harness.h"

#include <QDir>
#include <QImage>
#include <QSettings>
#include <QStandardPaths>

using namespace e2e;
using namespace Qt::StringLiterals;

class tst_E2eInstall : public QObject {
    Q_OBJECT

    QTemporaryDir m_work;
    QString m_deb, m_root, m_entry; ///< the package, where it is installed, its desktop entry

    QString desktopKey(const QString &key) const {
        return QSettings(m_entry, QSettings::IniFormat).value(u"Desktop Entry/"_s + key).toString();
    }

private slots:
    void initTestCase() {
        for (const QString &name :
             u"dpkg dpkg-deb dpkg-shlibdeps desktop-file-validate lintian"_s.split(u' '))
            if (QStandardPaths::findExecutable(name).isEmpty())
                QSKIP(qPrintable(u"missing: "_s + name));
        const QString build = qEnvironmentVariable("ORLO_BUILD_DIR");
        const ToolResult packed = runTool(qEnvironmentVariable("ORLO_CPACK"),
                                          {u"--config"_s, build + u"/CPackConfig.cmake"_s, u"-G"_s,
                                           u"DEB"_s, u"-B"_s, m_work.filePath(u"package"_s)},
                                          180000);
        QVERIFY2(packed.ok, qPrintable(packed.output));
        const QStringList debs = QDir(m_work.filePath(u"package"_s)).entryList({u"*.deb"_s});
        QCOMPARE(debs.size(), 1);
        m_deb = m_work.filePath(u"package/"_s + debs.first());

        // An empty root with an empty package database of its own.
        m_root = m_work.filePath(u"root"_s);
        m_entry = m_root + u"/usr/share/applications/orlo-clipboard.desktop"_s;
        QVERIFY(QDir().mkpath(m_root + u"/var/lib/dpkg/info"_s) &&
                QDir().mkpath(m_root + u"/var/lib/dpkg/updates"_s) &&
                QFile(m_root + u"/var/lib/dpkg/status"_s).open(QIODevice::WriteOnly));
        // The libraries are this machine's, not the empty root's.
        const QString install = u"dpkg --root=%1 --force-depends --force-script-chrootless -i %2"_s;
        QVERIFY(run(install.arg(m_root, m_deb), 60000).ok);
    }

    void packageIsNamedAndFilledAsDebianExpects() {
        const QString arch = tool(u"dpkg --print-architecture"_s);
        QCOMPARE(QFileInfo(m_deb).fileName(),
                 u"orlo-clipboard_%1_%2.deb"_s.arg(QStringLiteral(ORLO_VERSION), arch));
        const QString query =
            u"dpkg-query --admindir=%1/var/lib/dpkg -W -f=${Status} orlo-clipboard"_s;
        QCOMPARE(tool(query.arg(m_root)), u"install ok installed"_s);
        // Qt loads its platform plugins and its Chinese words at run time, where no link shows
        // them.
        const QString depends = tool(u"dpkg-deb -f %1 Depends"_s.arg(m_deb));
        QVERIFY(depends.contains(u"qt6-qpa-plugins"_s) &&
                depends.contains(u"qt6-translations-l10n"_s));
    }

    void debianToolsFindNoFault() {
        const ToolResult checked = run(u"lintian --fail-on error,warning "_s + m_deb, 120000);
        QVERIFY2(checked.ok, qPrintable(checked.output));
    }

    void desktopEntryValidatesAndNamesWhatWasInstalled() {
        const ToolResult validated = runTool(u"desktop-file-validate"_s, {m_entry});
        QVERIFY2(validated.ok && validated.output.isEmpty(), qPrintable(validated.output));
        QVERIFY(QFileInfo(m_root + u"/usr/bin/"_s + desktopKey(u"Exec"_s)).isExecutable());
        const QImage icon(
            m_root + u"/usr/share/icons/hicolor/256x256/apps/%1.png"_s.arg(desktopKey(u"Icon"_s)));
        QVERIFY(icon.size() == QSize(256, 256) && icon.hasAlphaChannel());
    }

    void installedProgramRunsWithItsDataInTheUsersFolder() {
        if (const QString why = unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
        Desktop desktop;
        QVERIFY(desktop.startTrayHost());
        Orlo orlo(m_root + u"/usr/bin/orlo-clipboard"_s);
        QVERIFY2(orlo.start(), "no icon in the tray");
        Copier copier;
        QVERIFY(copier.copyText(u"从安装处运行"_s));
        // Nothing beside the installed executable; data in the user's folder.
        QCOMPARE(QDir(m_root + u"/usr/bin"_s).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{u"orlo-clipboard"_s});
        const QString data = orlo.folder() + u"/.local/share/orlo-clipboard/data"_s;
        for (const QString &sub : {u"text"_s, u"image"_s, u"other"_s, u"image/temp"_s})
            QVERIFY2(QFileInfo(data + u'/' + sub).isDir(), qPrintable(sub));
        // The copy was taken: saved with Ctrl+S, it is in the text data file.
        QVERIFY(orlo.showWindow() && orlo.pressKeys(u"ctrl+s"_s));
        QVERIFY(savedPage(data + u"/text"_s)
                    .contains("\xb4\xd3\xb0\xb2\xd7\xb0\xb4\xa6\xd4\xcb\xd0\xd0<br><br>"));
        // Task bars find the desktop entry by the window's class.
        QVERIFY(tool(u"xprop WM_CLASS -id "_s + orlo.window())
                    .endsWith(u'"' + desktopKey(u"StartupWMClass"_s) + u'"'));
    }
};

QTEST_MAIN(tst_E2eInstall)
#include "tst_e2e_install.moc"

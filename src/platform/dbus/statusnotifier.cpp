// SPDX-License-Identifier: MIT
#include "platform/dbus/statusnotifier.h"

#include "platform/apptitle.h"
#include "platform/dbus/dbusmenu.h"
#include "platform/dbus/structure.h"
#include "platform/logging.h"

#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QIcon>
#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QtEndian>

namespace {

const QString WatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString WatcherPath = QStringLiteral("/StatusNotifierWatcher");
const QString ItemPath = QStringLiteral("/StatusNotifierItem");
const QString MenuPath = QStringLiteral("/MenuBar");
/// A watcher that has not answered by then is taken to be gone.
constexpr int AnswerMs = 1000;

/// One size of the icon: width, height and the ARGB pixels in network
/// byte order, (iiay).
struct IconPixmap {
    int width = 0;
    int height = 0;
    QByteArray argb;
};
using IconPixmaps = QList<IconPixmap>;
/// The tip: an icon of its own (none here), a title and more words,
/// (sa(iiay)ss).
struct ToolTip {
    QString iconName;
    IconPixmaps pixmaps;
    QString title;
    QString text;
};

} // namespace

Q_DECLARE_METATYPE(IconPixmap)
Q_DECLARE_METATYPE(ToolTip)

namespace {

QDBusArgument &operator<<(QDBusArgument &out, const IconPixmap &pixmap) {
    return dbus::writeStructure(out, pixmap.width, pixmap.height, pixmap.argb);
}
const QDBusArgument &operator>>(const QDBusArgument &in, IconPixmap &pixmap) {
    return dbus::readStructure(in, pixmap.width, pixmap.height, pixmap.argb);
}
QDBusArgument &operator<<(QDBusArgument &out, const ToolTip &tip) {
    return dbus::writeStructure(out, tip.iconName, tip.pixmaps, tip.title, tip.text);
}
const QDBusArgument &operator>>(const QDBusArgument &in, ToolTip &tip) {
    return dbus::readStructure(in, tip.iconName, tip.pixmaps, tip.title, tip.text);
}

/// The sizes areas draw icons at, so that none has to scale much.
IconPixmaps pixmapsOf(const QIcon &icon) {
    IconPixmaps pixmaps;
    for (const int size : {16, 22, 32, 48, 64}) {
        const QImage image =
            icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
        if (image.isNull())
            continue;
        QByteArray argb(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes());
        auto *pixel = reinterpret_cast<quint32 *>(argb.data());
        for (qsizetype i = 0; i < argb.size() / 4; ++i)
            pixel[i] = qToBigEndian(pixel[i]);
        pixmaps.append({image.width(), image.height(), argb});
    }
    return pixmaps;
}

} // namespace

class StatusNotifierIcon final : public StatusIcon {
    Q_OBJECT
public:
    StatusNotifierIcon(const QDBusConnection &bus, const QIcon &icon, QMenu *menu);
    ~StatusNotifierIcon() override { hide(); }

    void show() override;
    void hide() override;
    bool isVisible() const override { return m_visible; }
    bool isShown() const override { return m_visible && m_registered && m_hosted; }
    bool hearsOfLateAreas() const override { return true; }
    void setToolTip(const QString &tip) override;
    QString toolTip() const override { return m_tip; }

    const IconPixmaps &pixmaps() const { return m_pixmaps; }
    /// Opens the menu at `at` (the screen's coordinates) where the window
    /// system lets a menu of no window be placed; on Wayland the compositor
    /// puts it where it will.
    void popUpMenu(QPoint at) {
        if (m_menu)
            m_menu->popup(at);
    }
    /// The token an area hands over before it asks for the window (GNOME's
    /// AppIndicator extension, KDE's panel), kept for that request.
    void keepActivationToken(const QString &token) { m_activationToken = token; }

signals:
    void toolTipChanged();

private slots:
    void hostRegistered() {
        m_hosted = true;
        tellShown();
    }

private:
    /// Tells a change of isShown().
    void tellShown() {
        if (isShown() != m_toldShown)
            emit shownChanged(m_toldShown = isShown());
    }
    void registerWithWatcher();
    QDBusMessage callWatcher(const QString &interface, const QString &method,
                             const QVariantList &arguments);

    QDBusConnection m_bus;
    const QString m_service;
    const IconPixmaps m_pixmaps;
    QString m_tip;
    QObject m_menuObject;
    QPointer<QMenu> m_menu;
    QString m_activationToken;
    QDBusServiceWatcher m_watcher;
    bool m_visible = false;
    bool m_registered = false;
    bool m_hosted = false;
    bool m_toldShown = false;
};

/// What the notification area reads and calls: org.kde.StatusNotifierItem.
class ItemAdaptor final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString Category READ category)
    Q_PROPERTY(QString Id READ id)
    Q_PROPERTY(QString Title READ title)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(int WindowId READ windowId)
    Q_PROPERTY(QString IconName READ none)
    Q_PROPERTY(IconPixmaps IconPixmap READ pixmaps)
    Q_PROPERTY(QString OverlayIconName READ none)
    Q_PROPERTY(IconPixmaps OverlayIconPixmap READ noPixmaps)
    Q_PROPERTY(QString AttentionIconName READ none)
    Q_PROPERTY(IconPixmaps AttentionIconPixmap READ noPixmaps)
    Q_PROPERTY(QString AttentionMovieName READ none)
    Q_PROPERTY(ToolTip ToolTip READ toolTip)
    Q_PROPERTY(bool ItemIsMenu READ itemIsMenu)
    Q_PROPERTY(QDBusObjectPath Menu READ menu)

public:
    explicit ItemAdaptor(StatusNotifierIcon *icon)
        : QDBusAbstractAdaptor(icon)
        , m_icon(*icon) {
        connect(icon, &StatusNotifierIcon::toolTipChanged, this, &ItemAdaptor::NewToolTip);
    }

    QString category() const { return QStringLiteral("ApplicationStatus"); }
    QString id() const { return QCoreApplication::applicationName(); }
    QString title() const { return QString::fromUtf16(AppTitle); }
    QString status() const { return QStringLiteral("Active"); }
    int windowId() const { return 0; }
    QString none() const { return {}; }
    IconPixmaps pixmaps() const { return m_icon.pixmaps(); }
    IconPixmaps noPixmaps() const { return {}; }
    ToolTip toolTip() const {
        const QString tip = m_icon.toolTip();
        const qsizetype end = tip.indexOf(u'\n');
        return {{}, {}, tip.left(end), end < 0 ? QString() : tip.mid(end + 1)};
    }
    bool itemIsMenu() const { return false; }
    QDBusObjectPath menu() const { return QDBusObjectPath(MenuPath); }

public slots:
    void Activate(int, int) { emit m_icon.activated(); }
    // The middle button and the wheel do nothing.
    void SecondaryActivate(int, int) {}
    void Scroll(int, const QString &orientation, const QDBusMessage &call) {
        if (orientation.compare(u"vertical", Qt::CaseInsensitive) != 0 &&
            orientation.compare(u"horizontal", Qt::CaseInsensitive) != 0)
            dbus::refuse(call, QStringLiteral("no orientation ") + orientation);
    }
    /// The menu, for areas that do not read it from MenuPath themselves.
    void ContextMenu(int x, int y) {
        // Once the area has its answer.
        QMetaObject::invokeMethod(
            &m_icon,
            [icon = &m_icon, x, y] {
                icon->popUpMenu({x, y});
            },
            Qt::QueuedConnection);
    }
    // Qt has no public way to hand the token to a window: the window is
    // mapped anew instead (MainWindow::bringToFront), which brings it in
    // front on sway and KWin.
    void ProvideXdgActivationToken(const QString &token) { m_icon.keepActivationToken(token); }

signals:
    // What areas listen to. The title, icons and status never change here;
    // declared all the same, as areas look for them.
    void NewTitle();
    void NewIcon();
    void NewAttentionIcon();
    void NewOverlayIcon();
    void NewStatus(const QString &status);
    void NewToolTip();

private:
    StatusNotifierIcon &m_icon;
};

StatusNotifierIcon::StatusNotifierIcon(const QDBusConnection &bus, const QIcon &icon, QMenu *menu)
    : m_bus(bus)
    , m_service(
          QStringLiteral("org.kde.StatusNotifierItem-%1-1").arg(QCoreApplication::applicationPid()))
    , m_pixmaps(pixmapsOf(icon))
    , m_menu(menu)
    , m_watcher(WatcherService, bus,
                QDBusServiceWatcher::WatchForRegistration |
                    QDBusServiceWatcher::WatchForUnregistration) {
    qDBusRegisterMetaType<IconPixmap>();
    qDBusRegisterMetaType<IconPixmaps>();
    qDBusRegisterMetaType<ToolTip>();
    new ItemAdaptor(this);
    dbus::offerMenu(m_menuObject, menu);
    if (!m_bus.registerObject(ItemPath, this, QDBusConnection::ExportAdaptors) ||
        !m_bus.registerObject(MenuPath, &m_menuObject, QDBusConnection::ExportAdaptors))
        qCWarning(lcTray) << "cannot offer the icon on the session bus:" << m_bus.lastError();
    // A notification area that comes later (a panel started after the
    // program), or comes back after it ended, gets the icon too.
    connect(&m_watcher, &QDBusServiceWatcher::serviceRegistered, this, [this] {
        if (m_visible)
            registerWithWatcher();
    });
    connect(&m_watcher, &QDBusServiceWatcher::serviceUnregistered, this, [this] {
        if (m_visible && m_registered)
            qCWarning(lcTray) << "the notification area went away: the icon waits for another";
        m_registered = m_hosted = false;
        tellShown();
    });
    m_bus.connect(WatcherService, WatcherPath, WatcherService,
                  QStringLiteral("StatusNotifierHostRegistered"), this, SLOT(hostRegistered()));
}

void StatusNotifierIcon::show() {
    if (m_visible)
        return;
    m_visible = true;
    if (!m_bus.registerService(m_service))
        qCWarning(lcTray) << "cannot take the name" << m_service << m_bus.lastError();
    if (m_bus.interface()->isServiceRegistered(WatcherService))
        registerWithWatcher();
    else
        qCInfo(lcTray) << "no notification area: the icon waits for one";
}

void StatusNotifierIcon::hide() {
    if (!m_visible)
        return;
    // The area drops an item whose name is gone.
    m_visible = m_registered = m_hosted = false;
    m_bus.unregisterService(m_service);
    tellShown();
}

void StatusNotifierIcon::setToolTip(const QString &tip) {
    if (tip == m_tip)
        return;
    m_tip = tip;
    emit toolTipChanged();
}

QDBusMessage StatusNotifierIcon::callWatcher(const QString &interface, const QString &method,
                                             const QVariantList &arguments) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(WatcherService, WatcherPath, interface, method);
    call.setArguments(arguments);
    return m_bus.call(call, QDBus::Block, AnswerMs);
}

void StatusNotifierIcon::registerWithWatcher() {
    // Both waited for: at start the program decides by them whether to hide
    // the window. The host first: once the icon is registered, the area may
    // well ask it things before it answers anything else.
    const QDBusMessage hosted =
        callWatcher(QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
                    {WatcherService, QStringLiteral("IsStatusNotifierHostRegistered")});
    m_hosted = m_hosted || hosted.arguments().value(0).value<QDBusVariant>().variant().toBool();
    const QDBusMessage registered =
        callWatcher(WatcherService, QStringLiteral("RegisterStatusNotifierItem"), {m_service});
    m_registered = registered.type() == QDBusMessage::ReplyMessage;
    if (!m_registered)
        qCWarning(lcTray) << "the notification area did not take the icon:"
                          << registered.errorMessage();
    else if (!m_hosted)
        // A watcher without a host (the panel has not started yet) shows nothing.
        qCInfo(lcTray) << "a notification area without a host: the icon waits for one";
    tellShown();
}

namespace dbus {

std::unique_ptr<StatusIcon> makeStatusNotifierIcon(const QIcon &icon, QMenu *menu,
                                                   bool onlyWithArea) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qCInfo(lcTray) << "no session bus:" << bus.lastError().message();
        return nullptr;
    }
    if (onlyWithArea && !bus.interface()->isServiceRegistered(WatcherService))
        return nullptr;
    return std::make_unique<StatusNotifierIcon>(bus, icon, menu);
}

} // namespace dbus

#include "statusnotifier.moc"

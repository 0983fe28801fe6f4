// SPDX-License-Identifier: MIT
#include "platform/dbus/dbusmenu.h"

#include "platform/dbus/structure.h"
#include "platform/logging.h"

#include <QAction>
#include <QDBusAbstractAdaptor>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QMenu>
#include <QPointer>

// Named, not anonymous: QtDBus finds the types of a method's arguments by
// their names.
namespace dbusmenu {

/// An item and what is under it: (ia{sv}av).
struct MenuItem {
    int id = 0;
    QVariantMap properties;
    QList<MenuItem> children;
};
/// An item's properties alone: (ia{sv}).
struct ItemProperties {
    int id = 0;
    QVariantMap properties;
};
/// One of the events of a group: (isvu).
struct MenuEvent {
    int id = 0;
    QString name;
    QDBusVariant data;
    uint timestamp = 0;
};

} // namespace dbusmenu

Q_DECLARE_METATYPE(dbusmenu::MenuItem)
Q_DECLARE_METATYPE(dbusmenu::ItemProperties)
Q_DECLARE_METATYPE(dbusmenu::MenuEvent)

namespace dbusmenu {

QDBusArgument &operator<<(QDBusArgument &out, const MenuItem &item) {
    out.beginStructure();
    out << item.id << item.properties;
    out.beginArray(qMetaTypeId<QDBusVariant>());
    for (const MenuItem &child : item.children)
        out << QDBusVariant(QVariant::fromValue(child));
    out.endArray();
    out.endStructure();
    return out;
}
const QDBusArgument &operator>>(const QDBusArgument &in, MenuItem &item) {
    in.beginStructure();
    in >> item.id >> item.properties;
    in.beginArray();
    while (!in.atEnd()) {
        QDBusVariant child;
        in >> child;
        item.children.append(qdbus_cast<MenuItem>(child.variant()));
    }
    in.endArray();
    in.endStructure();
    return in;
}
QDBusArgument &operator<<(QDBusArgument &out, const ItemProperties &item) {
    return dbus::writeStructure(out, item.id, item.properties);
}
const QDBusArgument &operator>>(const QDBusArgument &in, ItemProperties &item) {
    return dbus::readStructure(in, item.id, item.properties);
}
QDBusArgument &operator<<(QDBusArgument &out, const MenuEvent &event) {
    return dbus::writeStructure(out, event.id, event.name, event.data, event.timestamp);
}
const QDBusArgument &operator>>(const QDBusArgument &in, MenuEvent &event) {
    return dbus::readStructure(in, event.id, event.name, event.data, event.timestamp);
}

} // namespace dbusmenu

namespace {

/// The item's text as the areas write it: their mark of the key to press is
/// "_" where Qt's is "&", and an underscore meant as itself is doubled.
QString labelOf(const QAction *action) {
    const QString text = action->text();
    QString label;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size() && text[++i] != u'&')
            label += u'_';
        label += text[i] == u'_' ? QStringLiteral("__") : QString(text[i]);
    }
    return label;
}

} // namespace

/// Asked for an item or a property that is not there, it answers with
/// org.freedesktop.DBus.Error.InvalidArgs at once: an area that waits for
/// the answer would otherwise wait out its whole timeout.
class MenuAdaptor final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
    Q_PROPERTY(uint Version READ version)
    Q_PROPERTY(QString TextDirection READ textDirection)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(QStringList IconThemePath READ iconThemePath)

public:
    MenuAdaptor(QObject *object, QMenu *menu)
        : QDBusAbstractAdaptor(object)
        , m_menu(menu) {
        static const bool registered = [] {
            using namespace dbusmenu;
            qDBusRegisterMetaType<MenuItem>();
            qDBusRegisterMetaType<ItemProperties>();
            qDBusRegisterMetaType<QList<ItemProperties>>();
            qDBusRegisterMetaType<MenuEvent>();
            qDBusRegisterMetaType<QList<MenuEvent>>();
            return true;
        }();
        Q_UNUSED(registered)
        // A new text or tick: the areas read the menu again.
        for (QAction *action : menu->actions()) {
            connect(action, &QAction::changed, this,
                    [this] { emit LayoutUpdated(++m_revision, 0); });
        }
    }

    uint version() const { return 3; }
    QString textDirection() const { return QStringLiteral("ltr"); }
    QString status() const { return QStringLiteral("normal"); }
    QStringList iconThemePath() const { return {}; }

public slots:
    uint GetLayout(int parentId, int depth, const QStringList &names, const QDBusMessage &call,
                   dbusmenu::MenuItem &layout) {
        if (!has(parentId)) {
            refuse(call, parentId);
            return 0;
        }
        layout = item(parentId, names);
        if (parentId == 0 && depth != 0) {
            for (int id = 1; id <= actions().size(); ++id)
                layout.children.append(item(id, names));
        }
        return m_revision;
    }
    QList<dbusmenu::ItemProperties> GetGroupProperties(const QList<int> &ids,
                                                       const QStringList &names) {
        QList<dbusmenu::ItemProperties> found;
        for (int id : ids) {
            if (has(id))
                found.append({id, item(id, names).properties});
        }
        return found;
    }
    QDBusVariant GetProperty(int id, const QString &name, const QDBusMessage &call) {
        const QVariant value = item(id, {name}).properties.value(name);
        if (!value.isValid()) {
            dbus::refuse(call, QStringLiteral("item %1 has no property \"%2\"").arg(id).arg(name));
            return QDBusVariant(0); // not sent
        }
        return QDBusVariant(value);
    }
    void Event(int id, const QString &name, const QDBusVariant &, uint, const QDBusMessage &call) {
        if (!has(id))
            return refuse(call, id);
        clicked(id, name);
    }
    QList<int> EventGroup(const QList<dbusmenu::MenuEvent> &events, const QDBusMessage &call) {
        QList<int> unknown;
        for (const dbusmenu::MenuEvent &event : events) {
            if (!has(event.id))
                unknown.append(event.id);
            else
                clicked(event.id, event.name);
        }
        if (!events.isEmpty() && unknown.size() == events.size())
            refuse(call, unknown.first());
        return unknown;
    }
    bool AboutToShow(int id, const QDBusMessage &call) {
        if (!has(id))
            refuse(call, id);
        return false;
    }
    QList<int> AboutToShowGroup(const QList<int> &ids, QList<int> &unknown) {
        unknown.clear();
        for (int id : ids) {
            if (!has(id))
                unknown.append(id);
        }
        return {};
    }

signals:
    void LayoutUpdated(uint revision, int parent);

private:
    /// Event `name` on item `id`, which is there: a click triggers the item.
    void clicked(int id, const QString &name) {
        QAction *action = actions().value(id - 1);
        if (name != u"clicked" || !action)
            return;
        if (action->isSeparator()) {
            qCWarning(lcTray) << "the notification area clicked the line, item" << id;
            return;
        }
        // After the area has its answer: the item may take its time.
        QMetaObject::invokeMethod(action, &QAction::trigger, Qt::QueuedConnection);
    }
    bool has(int id) const { return id >= 0 && id <= actions().size(); }
    /// Answers `call` with an error, for the item `id` that is not there.
    static void refuse(const QDBusMessage &call, int id) {
        dbus::refuse(call, QStringLiteral("no menu item %1").arg(id));
    }
    QList<QAction *> actions() const { return m_menu ? m_menu->actions() : QList<QAction *>(); }

    /// Item `id` (0: the menu itself) with the properties `names` asks for,
    /// all of them when it asks for none.
    dbusmenu::MenuItem item(int id, const QStringList &names) const {
        QVariantMap properties;
        if (id == 0) {
            properties[QStringLiteral("children-display")] = QStringLiteral("submenu");
        } else if (const QAction *action = actions().value(id - 1); action) {
            if (action->isSeparator()) {
                properties[QStringLiteral("type")] = QStringLiteral("separator");
            } else {
                properties[QStringLiteral("label")] = labelOf(action);
                properties[QStringLiteral("enabled")] = action->isEnabled();
            }
            properties[QStringLiteral("visible")] = action->isVisible();
            if (action->isCheckable()) {
                properties[QStringLiteral("toggle-type")] = QStringLiteral("checkmark");
                properties[QStringLiteral("toggle-state")] = action->isChecked() ? 1 : 0;
            }
        }
        if (!names.isEmpty()) {
            for (auto it = properties.begin(); it != properties.end();)
                it = names.contains(it.key()) ? std::next(it) : properties.erase(it);
        }
        return {id, properties, {}};
    }

    QPointer<QMenu> m_menu;
    uint m_revision = 1;
};

namespace dbus {

void offerMenu(QObject &object, QMenu *menu) {
    new MenuAdaptor(&object, menu);
}

} // namespace dbus

#include "dbusmenu.moc"

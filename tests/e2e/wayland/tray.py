#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# A notification area (an org.kde.StatusNotifierWatcher that is its own host):
# for each item registered, it reads the item as a panel does and prints one
# JSON line: its bus name, title, tip (title, text), how many icon sizes it
# offers and its menu's labels ("" for a line).
import json, signal, subprocess, sys

import dbus, dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

WATCHER = "org.kde.StatusNotifierWatcher"
ITEM = "org.kde.StatusNotifierItem"


def describe(bus, service):
    item = bus.get_object(service, "/StatusNotifierItem")
    read = lambda name: item.Get(ITEM, name, dbus_interface=dbus.PROPERTIES_IFACE)
    menu = bus.get_object(service, read("Menu"))
    _, (_, _, entries) = menu.GetLayout(0, -1, [], dbus_interface="com.canonical.dbusmenu")
    print(json.dumps({"item": service, "title": read("Title"), "tip": list(read("ToolTip")[2:4]),
                      "icons": len(read("IconPixmap")),
                      "menu": [e[1].get("label", "") for e in entries]}, ensure_ascii=False), flush=True)


class Watcher(dbus.service.Object):
    @dbus.service.method(WATCHER, in_signature="s")
    def RegisterStatusNotifierItem(self, service):
        # Read once the item has had its answer, and by another process, as
        # panels read without waiting: meanwhile the item may ask this watcher.
        subprocess.Popen([sys.executable, __file__, service])

    # Declared too, as a panel's watcher does: toolkits read only what is.
    @dbus.service.method(dbus.INTROSPECTABLE_IFACE, out_signature="s", path_keyword="path",
                         connection_keyword="connection")
    def Introspect(self, path, connection):
        interface = f'<interface name="{WATCHER}">'
        return super().Introspect(path, connection).replace(interface, interface +
            '<property name="IsStatusNotifierHostRegistered" type="b" access="read"/>')

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return {"IsStatusNotifierHostRegistered": True, "ProtocolVersion": 0}[name]


# ---- tray.py --portal: the desktop's GlobalShortcuts portal instead. ----
# It binds whatever it is asked to and prints {"bind": the preferred trigger};
# SIGUSR1 presses the shortcut (its Activated signal).
PORTAL = "org.freedesktop.portal.GlobalShortcuts"
DESKTOP = "/org/freedesktop/portal/desktop"


class Request(dbus.service.Object):
    @dbus.service.signal("org.freedesktop.portal.Request", signature="ua{sv}")
    def Response(self, response, results):
        pass


class Portal(dbus.service.Object):
    session = None

    def answer(self, sender, token, results):
        request = Request(self.connection, f"{DESKTOP}/request/{sender[1:].replace('.', '_')}/{token}")
        GLib.idle_add(lambda: request.Response(0, results) and False)
        return request.__dbus_object_path__

    @dbus.service.method(PORTAL, in_signature="a{sv}", out_signature="o", sender_keyword="sender")
    def CreateSession(self, options, sender):
        self.session = dbus.ObjectPath(f"{DESKTOP}/session/x/{options['session_handle_token']}")
        return self.answer(sender, options["handle_token"], {"session_handle": self.session})

    @dbus.service.method(PORTAL, in_signature="oa(sa{sv})sa{sv}", out_signature="o",
                         sender_keyword="sender")
    def BindShortcuts(self, session, shortcuts, parent, options, sender):
        print(json.dumps({"bind": str(shortcuts[0][1]["preferred_trigger"])}), flush=True)
        return self.answer(sender, options["handle_token"], {"shortcuts": shortcuts})

    @dbus.service.signal(PORTAL, signature="osta{sv}")
    def Activated(self, session, shortcut, timestamp, options):
        pass


DBusGMainLoop(set_as_default=True)
session = dbus.SessionBus()
if sys.argv[1:] == ["--portal"]:
    portal = Portal(session, DESKTOP)
    GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGUSR1,
                         lambda: portal.Activated(portal.session, "show", 0, {}) or True)
    name = dbus.service.BusName("org.freedesktop.portal.Desktop", session)
elif len(sys.argv) > 1:
    sys.exit(describe(session, sys.argv[1]))
else:
    watcher = Watcher(session, "/StatusNotifierWatcher")
    name = dbus.service.BusName(WATCHER, session)
GLib.MainLoop().run()

#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# A notification area as a panel brings it, started before or after the program:
# an org.kde.StatusNotifierWatcher on the session bus that is its own host.
# For each item registered, it reads the item as a panel does and prints one
# JSON line: its bus name, its tip (title, text), how many icon sizes it
# offers and the labels of its menu ("" for a line).
import json
import subprocess
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

WATCHER = "org.kde.StatusNotifierWatcher"
ITEM = "org.kde.StatusNotifierItem"


def describe(bus, service):
    item = bus.get_object(service, "/StatusNotifierItem")
    read = lambda name: item.Get(ITEM, name, dbus_interface=dbus.PROPERTIES_IFACE)
    menu = bus.get_object(service, read("Menu"))
    _, (_, _, entries) = menu.GetLayout(0, -1, [], dbus_interface="com.canonical.dbusmenu")
    tip = read("ToolTip")
    print(json.dumps({"item": service, "tip": [tip[2], tip[3]], "icons": len(read("IconPixmap")),
                      "menu": [entry[1].get("label", "") for entry in entries]},
                     ensure_ascii=False), flush=True)


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


if len(sys.argv) > 1:
    sys.exit(describe(dbus.SessionBus(), sys.argv[1]))
DBusGMainLoop(set_as_default=True)
session = dbus.SessionBus()
watcher = Watcher(session, "/StatusNotifierWatcher")
name = dbus.service.BusName(WATCHER, session)
GLib.MainLoop().run()

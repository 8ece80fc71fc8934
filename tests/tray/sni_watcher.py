#!/usr/bin/python3
"""A StatusNotifierWatcher with a host, as a KDE Plasma or GNOME AppIndicator panel provides it.

Owns org.kde.StatusNotifierWatcher on the session bus, says a host is there, and writes the
bus name and object path of every item that registers to the file given, one line each.
"""
import sys

from gi.repository import Gio, GLib

WATCHER = "org.kde.StatusNotifierWatcher"
INTERFACE = """
<node>
  <interface name="org.kde.StatusNotifierWatcher">
    <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
    <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
    <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
    <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
    <property name="ProtocolVersion" type="i" access="read"/>
    <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
    <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
    <signal name="StatusNotifierHostRegistered"/>
  </interface>
</node>
"""

items_file = sys.argv[1]
items = []


def on_call(connection, sender, path, interface, method, parameters, invocation):
    if method == "RegisterStatusNotifierItem":
        service = parameters.unpack()[0]
        # An item names either its bus name or only its object path on the caller's connection.
        if service.startswith("/"):
            name, item_path = sender, service
        else:
            name, item_path = service, "/StatusNotifierItem"
        items.append(name + item_path)
        with open(items_file, "a") as f:
            f.write(f"{name} {item_path}\n")
        connection.emit_signal(None, path, WATCHER, "StatusNotifierItemRegistered",
                               GLib.Variant("(s)", (name + item_path,)))
    invocation.return_value(None)


def on_get(connection, sender, path, interface, name):
    if name == "RegisteredStatusNotifierItems":
        return GLib.Variant("as", items)
    if name == "IsStatusNotifierHostRegistered":
        return GLib.Variant("b", True)
    return GLib.Variant("i", 0)


def on_bus(connection, name):
    node = Gio.DBusNodeInfo.new_for_xml(INTERFACE)
    connection.register_object("/StatusNotifierWatcher", node.interfaces[0], on_call, on_get, None)


def on_name(connection, name):
    print("watcher ready", flush=True)


loop = GLib.MainLoop()
Gio.bus_own_name(Gio.BusType.SESSION, WATCHER, Gio.BusNameOwnerFlags.NONE, on_bus, on_name,
                 lambda *args: loop.quit())
loop.run()

#!/usr/bin/python3
"""Drops files on whatever X window lies under a screen point, the way X
programs do it, with one of two protocols:

  xdnd   a Linux file manager today: an XDND drag source offering
         "text/uri-list" (XdndEnter, XdndPosition, XdndStatus, XdndDrop);
  offix  older X programs (OffiX): the file list in the root window's
         "DndSelection" property and a "DndProtocol" message of type DndFiles.

    x_file_drop.py RESULT PROTOCOL X Y PATH...

PATH is a Unix path. The pointer is moved to (X, Y) first. Exit codes: 0 the
drop was taken (OffiX has no answer: 0 once it is sent), 2 the target
refused it, 3 no suitable window there, 4 the target never answered, 5 (OffiX)
a window manager's frame holds the window: Wine looks for the window under
the pointer among the root window's children and takes OffiX drops only on a
display without a window manager.
The code and a line saying what happened are written to the file RESULT at
the end: Wine starts Unix programs without a process handle to wait on.
"""
import os
import sys
import time
import urllib.parse

from Xlib import X, Xatom, display
from Xlib.protocol import event

XDND_VERSION = 5
TIMEOUT_S = 10.0


def file_uri(path):
    return "file://" + urllib.parse.quote(path, safe="/")


def find_target(d, root, x, y, aware):
    """The XdndAware window under (x, y): a top-level window or a frame's child."""
    window = root.translate_coords(root, x, y).child
    while window:
        prop = window.get_full_property(aware, X.AnyPropertyType)
        if prop is not None:
            return window
        window = window.translate_coords(root, x, y).child
    return None


def client_window(d, root, x, y):
    """The program's own top-level window under (x, y), as xprop and OffiX
    programs find it: the one with WM_STATE below a window manager's frame,
    or the top-level window itself on a display without a window manager."""
    top = root.translate_coords(root, x, y).child
    wm_state = d.intern_atom("WM_STATE")
    window = top
    while window:
        if window.get_full_property(wm_state, X.AnyPropertyType) is not None:
            return window
        window = window.translate_coords(root, x, y).child
    return top


def offix_drop(d, root, x, y, paths):
    dnd_files = 3
    window = client_window(d, root, x, y)
    if not window:
        return 3, "no window at %d,%d" % (x, y)
    if window != root.translate_coords(root, x, y).child:
        return 5, "window 0x%x is in a window manager's frame" % window.id
    files = b"".join(os.fsencode(p) + b"\0" for p in paths)
    root.change_property(d.intern_atom("DndSelection"), Xatom.STRING, 8, files)
    message = event.ClientMessage(window=window, client_type=d.intern_atom("DndProtocol"),
                                  data=(32, [dnd_files, 0, 0, 0, 0]))
    window.send_event(message)
    d.sync()
    return 0, "sent the files to window 0x%x (OffiX)" % window.id


def drop(protocol, argv):
    x, y = int(argv[0]), int(argv[1])
    d = display.Display()
    root = d.screen().root
    root.warp_pointer(x, y)
    d.sync()
    if protocol == "offix":
        return offix_drop(d, root, x, y, argv[2:])
    uris = "".join(file_uri(p) + "\r\n" for p in argv[2:]).encode("utf-8")
    atom = lambda name: d.intern_atom(name)
    aware, enter, position, status, drop_now, finished, leave = (
        atom("XdndAware"), atom("XdndEnter"), atom("XdndPosition"), atom("XdndStatus"),
        atom("XdndDrop"), atom("XdndFinished"), atom("XdndLeave"))
    selection, action_copy = atom("XdndSelection"), atom("XdndActionCopy")
    uri_list, targets = atom("text/uri-list"), atom("TARGETS")

    target = find_target(d, root, x, y, aware)
    if target is None:
        return 3, "no XdndAware window at %d,%d" % (x, y)

    source = root.create_window(-10, -10, 1, 1, 0, X.CopyFromParent)
    source.set_selection_owner(selection, X.CurrentTime)

    def send(kind, data):
        message = event.ClientMessage(window=target, client_type=kind, data=(32, data + [0] * (5 - len(data))))
        target.send_event(message)
        d.flush()

    def answer(request):
        # Serve the data; anything but the file list is refused.
        prop = request.property or request.target
        if request.target == uri_list:
            request.requestor.change_property(prop, uri_list, 8, uris)
        elif request.target == targets:
            request.requestor.change_property(prop, Xatom.ATOM, 32, [targets, uri_list])
        else:
            prop = X.NONE
        reply = event.SelectionNotify(time=request.time, requestor=request.requestor,
                                      selection=request.selection, target=request.target, property=prop)
        request.requestor.send_event(reply)
        d.flush()

    def wait_for(kind):
        end = time.monotonic() + TIMEOUT_S
        while time.monotonic() < end:
            while d.pending_events():
                e = d.next_event()
                if e.type == X.SelectionRequest:
                    answer(e)
                elif e.type == X.ClientMessage and e.client_type == kind:
                    return e.data[1]
            time.sleep(0.005)
        return None

    send(enter, [source.id, XDND_VERSION << 24, uri_list])
    send(position, [source.id, 0, (x << 16) | y, X.CurrentTime, action_copy])
    reply = wait_for(status)
    if reply is None:
        return 4, "no XdndStatus from window 0x%x" % target.id
    if not reply[1] & 1:
        send(leave, [source.id])
        return 2, "window 0x%x refused the drop" % target.id
    send(drop_now, [source.id, 0, X.CurrentTime])
    done = wait_for(finished)
    if done is None:
        return 4, "no XdndFinished from window 0x%x" % target.id
    taken = bool(done[1] & 1)
    action = d.get_atom_name(done[2]) if done[2] else "none"
    return (0 if taken else 2), "window 0x%x %s the drop (%s)" % (target.id, "took" if taken else "refused", action)


def main(argv):
    if len(argv) < 6 or argv[2] not in ("xdnd", "offix"):
        print(__doc__.strip(), file=sys.stderr)
        return 64
    try:
        code, what = drop(argv[2], argv[3:])
    except Exception as e:  # reported to the test rather than lost
        code, what = 5, "failed: %r" % e
    with open(argv[1] + ".part", "w", encoding="utf-8") as f:
        f.write("%d %s: %s\n" % (code, argv[2], what))
    # The test waits for the final name: it never reads half a file.
    os.replace(argv[1] + ".part", argv[1])
    return code


if __name__ == "__main__":
    sys.exit(main(sys.argv))

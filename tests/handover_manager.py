# SPDX-License-Identifier: MIT
"""A clipboard manager that keeps a copy only through the hand-over a program makes as it
ends (the CLIPBOARD_MANAGER / SAVE_TARGETS convention), never by copying on every change.
It then serves the saved text (UTF8_STRING) itself. Prints "ready" once it owns
CLIPBOARD_MANAGER and "saved N bytes" after a hand-over; runs until killed.
Small texts only: a transfer in increments is not supported, and the test copies little."""
import sys

from Xlib import X, Xatom, display
from Xlib.protocol import event

screen_display = display.Display()
window = screen_display.screen().root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
atom = screen_display.intern_atom
CLIPBOARD, MANAGER = atom("CLIPBOARD"), atom("CLIPBOARD_MANAGER")
SAVE_TARGETS, TARGETS, UTF8 = atom("SAVE_TARGETS"), atom("TARGETS"), atom("UTF8_STRING")
HOLD = atom("HAOMA_TEST_HOLD")

window.set_selection_owner(MANAGER, X.CurrentTime)
screen_display.flush()
if screen_display.get_selection_owner(MANAGER) != window:
    print("could not own CLIPBOARD_MANAGER", flush=True)
    sys.exit(1)
print("ready", flush=True)

saved = None


def reply(request, property_atom):
    notify = event.SelectionNotify(time=request.time, requestor=request.requestor,
                                   selection=request.selection, target=request.target,
                                   property=property_atom)
    request.requestor.send_event(notify)
    screen_display.flush()


def fetch_clipboard_text():
    window.convert_selection(CLIPBOARD, UTF8, HOLD, X.CurrentTime)
    screen_display.flush()
    while True:
        answer = screen_display.next_event()
        if answer.type == X.SelectionNotify and answer.selection == CLIPBOARD:
            if answer.property == X.NONE:
                return None
            value = window.get_full_property(HOLD, X.AnyPropertyType)
            return bytes(value.value) if value is not None else None


while True:
    request = screen_display.next_event()
    if request.type != X.SelectionRequest:
        continue
    if request.selection == MANAGER and request.target == SAVE_TARGETS:
        saved = fetch_clipboard_text()
        if saved is not None:
            window.set_selection_owner(CLIPBOARD, X.CurrentTime)
            print(f"saved {len(saved)} bytes", flush=True)
        reply(request, request.property if saved is not None else X.NONE)
    elif request.selection == CLIPBOARD and saved is not None:
        if request.target == TARGETS:
            request.requestor.change_property(request.property, Xatom.ATOM, 32, [TARGETS, UTF8])
        elif request.target in (UTF8, Xatom.STRING):
            request.requestor.change_property(request.property, request.target, 8, saved)
        else:
            reply(request, X.NONE)
            continue
        reply(request, request.property)
    else:
        reply(request, X.NONE)

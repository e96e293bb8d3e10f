# SPDX-License-Identifier: MIT
"""An assistive client: listens to every text and state change, as a screen reader does (the
program then sends them, which it does not while no one listens). Runs until killed."""
import pyatspi


def heard(event):
    pass


for kind in ("object:text-changed", "object:text-caret-moved", "object:state-changed",
             "object:property-change", "object:children-changed"):
    pyatspi.Registry.registerEventListener(heard, kind)
pyatspi.Registry.start()

# SPDX-License-Identifier: MIT
"""After a big run with an assistive client listening: the named text of haoma's main window
holds the expected number of characters, read through AT-SPI as a screen reader reads it.

Usage: read_length.py NAME CHARACTERS"""
import sys
import time

import pyatspi


def find(node, name):
    if node.name == name:
        return node
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        found = find(child, name) if child is not None else None
        if found is not None:
            return found
    return None


def main():
    name, wanted = sys.argv[1], int(sys.argv[2])
    for _ in range(100):
        for application in pyatspi.Registry.getDesktop(0):
            if application is not None and (application.name or "").lower() == "haoma":
                node = find(application, name)
                if node is not None:
                    text = node.queryText()
                    count = text.characterCount
                    tail = text.getText(max(0, count - 13), count)
                    print(f"{name}: {count} characters, ending {tail!r}")
                    return 0 if count == wanted and tail.endswith("\r\n") else 1
        time.sleep(0.1)
    print(f"{name} is not on the accessibility bus")
    return 1


sys.exit(main())

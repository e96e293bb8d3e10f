# SPDX-License-Identifier: MIT
"""Reads the haoma window through AT-SPI, as a screen reader would, and checks that the
boxes and the list carry their names and that the boxes' text is readable."""
import sys
import time

import pyatspi

EXPECTED = {  # name: (role, text or None)
    "城市名": ("text", ""),
    "手机号码段": ("text", "1380000\r\n1380001\r\n"),
    "生成的手机号码": ("text", "13800000000\r\n13800000001\r\n"),
    "计划生成": ("text", "2"),
    "查号段": ("push button", None),
    "AAAA型": ("check box", None),
    "全顺序数": ("push button", None),
}


def find_application():
    for _ in range(100):
        for application in pyatspi.Registry.getDesktop(0):
            if application is not None and (application.name or "").lower() == "haoma":
                return application
        time.sleep(0.1)
    return None


def named_nodes(node, found):
    if node.name:  # a label may carry the same name as the box beside it
        found.setdefault((node.name, node.getRoleName()), node)
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is not None:
            named_nodes(child, found)
    return found


def main():
    application = find_application()
    if application is None:
        print("haoma is not on the accessibility bus")
        return 1
    found = named_nodes(application, {})
    failures = 0
    for name, (role, text) in EXPECTED.items():
        node = found.get((name, role))
        if node is None:
            roles = [r for (n, r) in found if n == name]
            print(f"{name}: no {role} of this name (roles seen: {roles})")
            failures += 1
            continue
        seen = node.getRoleName()
        content = None
        if text is not None:
            reader = node.queryText()
            content = reader.getText(0, reader.characterCount)
        ok = seen == role and (text is None or content == text)
        failures += 0 if ok else 1
        print(f"{name}: role {seen}" + (f", text {content!r}" if text is not None else "")
              + ("" if ok else f"  (expected {role}" + (f", {text!r})" if text else ")")))
    return 1 if failures else 0


sys.exit(main())

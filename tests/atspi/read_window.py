# SPDX-License-Identifier: MIT
"""Reads the haoma window or one of its dialogs through AT-SPI, as a screen reader would, and
checks that the controls carry their names and roles and that their text is readable.

Usage: read_window.py [TITLE]   the main window, or the dialog of that title"""
import sys
import time

import pyatspi

EXPECTED = {  # window title: {name: (role, text or None)}
    "": {
        "城市名": ("text", ""),
        "手机号码段": ("text", "1380000\r\n1380001\r\n"),
        "生成的手机号码": ("text", "13800000000\r\n13800000001\r\n"),
        "计划生成": ("text", "2"),
        "查号段": ("push button", None),
        "复制号段": ("push button", None),
        "粘贴结果": ("push button", None),
        "数据说明": ("image", None),
        "关于": ("label", None),
        "AAAA型": ("check box", None),
        "全顺序数": ("push button", None),
    },
    "按规则选号": {
        "规则": ("text", "AAAA"),
        "预设": ("combo box", None),
        "含数字": ("text", ""),
        "不含数字": ("text", "4"),
        "无4": ("check box", None),
        "全号": ("check box", None),
        "共计": ("label", "共 18 个号码，本次生成 2 个"),
        "随机抽取": ("check box", None),
        "抽取个数": ("spin button", None),
        "随机种子": ("text", None),
        "换一批": ("push button", None),
        "打乱顺序": ("check box", None),
        "生成": ("push button", None),
        "关闭": ("push button", None),
    },
    "号码归属地": {
        "待查号码": ("text", "13800000000 19999999999\r\n"),
        "查询结果": ("table", None),
        "统计": ("label", "找到 1 个，未找到 1 个：号段库中没有这个号段 1 个"),
        "查询": ("push button", None),
        "复制": ("push button", None),
        "保存到文件": ("push button", None),
        "关闭": ("push button", None),
    },
    "按省份或区号查号段": {
        "省份": ("combo box", None),
        "区号": ("text", ""),
        "查询": ("push button", None),
        "关闭": ("push button", None),
    },
}


def find_window(title):
    for _ in range(100):
        for application in pyatspi.Registry.getDesktop(0):
            if application is None or (application.name or "").lower() != "haoma":
                continue
            if not title:
                return application
            for index in range(application.childCount):
                window = application.getChildAtIndex(index)
                if window is not None and window.name == title:
                    return window
        time.sleep(0.1)
    return None


def named_nodes(node, found):
    name = node.name
    if node.getRoleName() == "combo box":
        # Named, on Linux, by the label it is labelled by; its own name is its current text.
        for relation in node.getRelationSet():
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
                name = relation.getTarget(0).name
    if name:  # a label may carry the same name as the box beside it
        found.setdefault((name, node.getRoleName()), node)
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is not None:
            named_nodes(child, found)
    return found


def read_text(node):
    """The text a screen reader reads: the text itself, or a label's description."""
    try:
        reader = node.queryText()
        return reader.getText(0, reader.characterCount)
    except NotImplementedError:
        return node.description


def main():
    title = sys.argv[1] if len(sys.argv) > 1 else ""
    window = find_window(title)
    if window is None:
        print(f"haoma's window {title!r} is not on the accessibility bus")
        return 1
    found = named_nodes(window, {})
    failures = 0
    for name, (role, text) in EXPECTED[title].items():
        node = found.get((name, role))
        if node is None:
            roles = [r for (n, r) in found if n == name]
            print(f"{title} {name}: no {role} of this name (roles seen: {roles})")
            failures += 1
            continue
        content = read_text(node) if text is not None else None
        ok = text is None or content == text
        failures += 0 if ok else 1
        print(f"{title} {name}: role {role}" + (f", text {content!r}" if text is not None else "")
              + ("" if ok else f"  (expected {text!r})"))
    return 1 if failures else 0


sys.exit(main())

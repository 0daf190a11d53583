#!/usr/bin/python3
"""What a screen reader learns of a program's window over the accessibility bus.

Prints one line per button, position box and label of the application named on the command
line: role|name|states|description. A box is named by the label it is labelled by, as a screen
reader names it; states are "on" (checked or pressed), "focused" and "disabled"; line breaks
in a description show as \\n. Waits up to 15 s for the application to appear.
"""
import sys
import time

import pyatspi

ROLES = {"push button", "toggle button", "check box", "combo box", "label"}


def spoken_name(node):
    if node.getRoleName() == "combo box":
        for relation in node.getRelationSet():
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
                return relation.getTarget(0).name
        return ""
    return node.name


def focused(node):
    # A box has the focus in its edit field.
    if node.getState().contains(pyatspi.STATE_FOCUSED):
        return True
    return node.getRoleName() == "combo box" and any(
        focused(node.getChildAtIndex(i)) for i in range(node.childCount))


def states(node):
    state = node.getState()
    said = []
    if state.contains(pyatspi.STATE_CHECKED) or state.contains(pyatspi.STATE_PRESSED):
        said.append("on")
    if focused(node):
        said.append("focused")
    if not state.contains(pyatspi.STATE_SENSITIVE):
        said.append("disabled")
    return ",".join(said)


def walk(node, lines):
    if node.getRoleName() in ROLES:
        description = (node.description or "").replace("\n", "\\n")
        lines.append(f"{node.getRoleName()}|{spoken_name(node)}|{states(node)}|{description}")
    if node.getRoleName() == "combo box":
        return  # its list and edit field are parts of the box
    for i in range(node.childCount):
        walk(node.getChildAtIndex(i), lines)


def main():
    deadline = time.monotonic() + 15
    while True:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name == sys.argv[1] and app.childCount > 0:
                lines = []
                walk(app, lines)
                print("\n".join(lines))
                return 0
        if time.monotonic() > deadline:
            print(f"no application {sys.argv[1]} on the accessibility bus", file=sys.stderr)
            return 1
        time.sleep(0.2)


sys.exit(main())

#!/usr/bin/python3
"""What a screen reader learns over AT-SPI about the running updater.

  accessible_tree.py tree      prints the updater's accessible tree; fails while it is not there
  accessible_tree.py listen    prints, line by line, the events a screen reader hears
"""
import sys

import pyatspi


def updater():
    for application in pyatspi.Registry.getDesktop(0):
        if application is not None and application.name.startswith("BrenvothUpdater"):
            return application
    return None


def print_tree(node, depth=0):
    notes = []
    if node.description:
        notes.append(f"description: {node.description}")
    try:
        value = node.queryValue()
        notes.append(f"value {value.currentValue:g} of {value.minimumValue:g}..{value.maximumValue:g}")
    except NotImplementedError:
        pass
    if node.getState().contains(pyatspi.STATE_FOCUSED):
        notes.append("focused")
    print("  " * depth + f'{node.getRoleName()} "{node.name}"' + "".join(f"  [{n}]" for n in notes))
    for child in node:
        print_tree(child, depth + 1)


def heard(event):
    detail = event.any_data if isinstance(event.any_data, str) else ""
    if event.type.startswith("object:property-change:accessible-value"):
        detail = f"{event.source.queryValue().currentValue:g}"
    print(f'{event.type} on {event.source.getRoleName()} "{event.source.name}": {detail}', flush=True)


if sys.argv[1:] == ["tree"]:
    application = updater()
    if application is None:
        sys.exit(1)
    print_tree(application)
elif sys.argv[1:] == ["listen"]:
    for kind in ("object:property-change:accessible-value", "object:text-changed:insert",
                 "object:state-changed:focused", "object:property-change:accessible-description"):
        pyatspi.Registry.registerEventListener(heard, kind)
    print("listening", flush=True)
    pyatspi.Registry.start()
else:
    sys.exit(__doc__)

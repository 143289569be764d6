#!/usr/bin/env python3
"""Checks the user guide: one self-contained HTML file whose pictures all
exist in guide/images/, with no script, no web fonts and no outside
resources, and with a section for every part of the program.

    python3 guide/check_guide.py    (exit status 1 and a list of faults)
"""

import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
SECTIONS = ["install", "tray", "window", "pages", "storage", "find", "drag", "calendar",
            "clock", "tools", "autostart", "transparency", "ini", "trouble"]


def main():
    with open(os.path.join(HERE, "Jotstack.htm"), "rb") as f:
        raw = f.read()
    faults = []
    try:
        html = raw.decode("utf-8")
    except UnicodeDecodeError as e:
        print("Jotstack.htm is not UTF-8:", e)
        return 1
    if '<meta charset="utf-8">' not in html:
        faults.append("no <meta charset=\"utf-8\">")
    if re.search(r"<script|javascript:|@font-face|@import", html, re.I):
        faults.append("script, web font or import found")
    # Pictures kept in "<!--shot ...-->" comments wait for their screenshot.
    shown = re.sub(r"<!--.*?-->", "", html, flags=re.S)
    for src in re.findall(r'\ssrc="([^"]*)"', shown):
        if re.match(r"[a-z]+:|//|/", src, re.I):
            faults.append("outside resource: " + src)
        elif not os.path.isfile(os.path.join(HERE, src)):
            faults.append("missing picture: " + src)
    for href in re.findall(r'<link[^>]*href="([^"]*)"', html):
        faults.append("linked resource: " + href)
    for anchor in re.findall(r'href="#([^"]*)"', html):
        if 'id="%s"' % anchor not in html:
            faults.append("broken anchor: #" + anchor)
    for section in SECTIONS:
        if 'id="%s"' % section not in html:
            faults.append("no section: " + section)
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())

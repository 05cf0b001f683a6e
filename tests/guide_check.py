#!/usr/bin/env python3
"""The user guide against what it describes: every link and picture of each
page resolves (files beside it, anchors within the page it names), and every
text of the main window that a language file gives (buttons, menu, tabs and
the controls of [MONITOR]) is named on the guide page of that language, as
the window shows it (accelerator marks removed).

    guide_check.py GUIDE_DIR LANG_DIR
"""
import html.parser
import os
import re
import sys
import urllib.parse

PAGES = {"guide_en.html": "001.lng", "guide_fr.html": "033.lng"}
SECTIONS = ("BUTTONS", "MENU1", "TAB1", "TAB2", "MONITOR")


class Page(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.ids = set()
        self.links = []  # (tag, attribute value)
        self.text = []

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if "id" in attrs:
            self.ids.add(attrs["id"])
        if tag == "a" and "name" in attrs:
            self.ids.add(attrs["name"])
        for name in ("href", "src"):
            if name in attrs and tag in ("a", "img", "link", "script"):
                self.links.append((tag, attrs[name]))
        if tag == "img" and "alt" in attrs:
            self.text.append(" ")

    def handle_data(self, data):
        self.text.append(data)


def read_page(path):
    page = Page()
    with open(path, encoding="utf-8") as f:
        page.feed(f.read())
    return page


def flat(text):
    return re.sub(r"\s+", " ", text.replace("\u00a0", " ").replace("\u202f", " ")).strip()


def window_text(caption):
    # "&&" shows one ampersand; a single "&" marks the next letter.
    return caption.replace("&&", "\0").replace("&", "").replace("\0", "&")


def captions(lang_path):
    found = []
    section = None
    with open(lang_path, encoding="cp1252") as f:
        for line in f:
            line = line.strip()
            if not line or line.startswith(";"):
                continue
            if line.startswith("[") and line.endswith("]"):
                section = line[1:-1]
                continue
            if section in SECTIONS and "=" in line:
                key, value = line.split("=", 1)
                text = flat(window_text(value))
                if text and text != "...":
                    found.append((section, key, text))
    return found


def main():
    guide, langs = sys.argv[1], sys.argv[2]
    problems = []
    pages = {}
    for name in PAGES:
        path = os.path.join(guide, name)
        if not os.path.isfile(path):
            problems.append(f"{name} is missing")
            continue
        pages[name] = read_page(path)
    for html_name in sorted(f for f in os.listdir(guide) if f.endswith(".html")):
        if html_name not in pages:
            pages[html_name] = read_page(os.path.join(guide, html_name))

    for name, page in pages.items():
        for tag, target in page.links:
            parts = urllib.parse.urlsplit(target)
            if parts.scheme in ("http", "https", "mailto"):
                problems.append(f"{name}: <{tag}> leaves the guide: {target}")
                continue
            if parts.scheme or parts.netloc:
                problems.append(f"{name}: <{tag}> names no file of the guide: {target}")
                continue
            file_name = urllib.parse.unquote(parts.path) or name
            root = os.path.abspath(guide)
            file_path = os.path.abspath(os.path.join(guide, file_name))
            if os.path.commonpath([root, file_path]) != root:
                problems.append(f"{name}: <{tag}> points outside the guide: {target}")
                continue
            if not os.path.isfile(file_path):
                problems.append(f"{name}: <{tag}> names a missing file: {target}")
                continue
            if parts.fragment:
                other = pages.get(os.path.relpath(file_path, root).replace(os.sep, "/"))
                if other is None or parts.fragment not in other.ids:
                    problems.append(f"{name}: <{tag}> names a missing anchor: {target}")

    for name, lang in PAGES.items():
        if name not in pages:
            continue
        text = flat("".join(pages[name].text))
        for section, key, caption in captions(os.path.join(langs, lang)):
            if caption not in text:
                problems.append(f"{name}: [{section}] {key} \"{caption}\" is not named")

    for problem in problems:
        print(problem)
    if problems:
        print(f"guide check: {len(problems)} problem(s)")
        return 1
    print("guide check: ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Checks the user guide's pages as a browser and a reader meet them.

Usage: guide_pages_test.py VERSION TRANSLATIONS_FOLDER PAGE...

Each page (named LANGUAGE.html) must be well-formed UTF-8 HTML that declares
its language and needs nothing from outside (no script, no remote address),
name the version, tell of F1, hold the same sections and entries as the
English page (the same ids, in the same order), and have every link lead to
a file or an id that is there. A page quotes the window's texts as the window
shows them in its language: the English ones, or their translations in the
language's Linguist file where it has one.
"""
import html.parser
import os
import re
import sys

sys.path.insert(0, sys.argv[2] if len(sys.argv) > 2 else ".")
from translations import messages  # noqa: E402

VOID_ELEMENTS = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta",
                 "source", "track", "wbr"}
FORBIDDEN_ELEMENTS = {"script", "iframe", "object", "embed", "link", "img", "base", "form"}
WINDOW_TEXTS = ["Choose ZRM...", "Number of collision volumes:", "Save ZRM...", "Quit", "Cancel",
                "Help", "&About morvane..."]


class Page(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.problems = []
        self.open = []
        self.ids = []
        self.links = []
        self.window_texts = []
        self.language = None
        self.charset = None
        self.doctype = None
        self.text = []
        self.in_ui = 0
        self.ui_text = ""

    def complain(self, problem):
        line, _ = self.getpos()
        self.problems.append(f"line {line}: {problem}")

    def handle_decl(self, decl):
        self.doctype = decl

    def handle_starttag(self, tag, attrs):
        attributes = dict(attrs)
        if tag in FORBIDDEN_ELEMENTS:
            self.complain(f"<{tag}> has no place in a self-contained page")
        for name, value in attrs:
            if name.startswith("on"):
                self.complain(f"<{tag}> runs a script ({name})")
            if value and re.match(r"\s*([a-z][a-z0-9+.-]*:|//)", value, re.I) and name in (
                    "href", "src", "action"):
                self.complain(f"<{tag}> reaches outside the page: {value}")
        if tag == "html":
            self.language = attributes.get("lang")
        if tag == "meta" and "charset" in attributes:
            self.charset = attributes["charset"]
        if "id" in attributes:
            self.ids.append(attributes["id"])
        if tag == "a" and "href" in attributes:
            self.links.append(attributes["href"])
        if tag not in VOID_ELEMENTS:
            self.open.append(tag)
            if self.in_ui or "ui" in attributes.get("class", "").split():
                self.in_ui += 1

    def handle_startendtag(self, tag, attrs):
        self.handle_starttag(tag, attrs)
        if tag not in VOID_ELEMENTS:
            self.handle_endtag(tag)

    def handle_endtag(self, tag):
        if tag in VOID_ELEMENTS:
            self.complain(f"</{tag}> closes an element that has no end")
            return
        if not self.open or self.open[-1] != tag:
            expected = f"</{self.open[-1]}>" if self.open else "nothing"
            self.complain(f"</{tag}> where {expected} was due")
            return
        self.open.pop()
        if self.in_ui:
            self.in_ui -= 1
            if not self.in_ui:
                self.window_texts.append(self.ui_text)
                self.ui_text = ""

    def handle_data(self, data):
        self.text.append(data)
        if self.in_ui:
            self.ui_text += data

    def close(self):
        super().close()
        if self.open:
            self.complain("never closed: " + ", ".join(f"<{tag}>" for tag in self.open))


def read_page(path):
    page = Page()
    try:
        with open(path, encoding="utf-8", errors="strict") as source:
            content = source.read()
    except UnicodeDecodeError as error:
        page.problems.append(f"not UTF-8: {error}")
        return page
    page.feed(content)
    page.close()
    return page


def shown_text(text):
    """A text as the window shows it: without its '&' mnemonic."""
    text = re.sub(r"\(&[^&]\)", "", text)
    return re.sub(r"&(.)", r"\1", text)


def window_texts(language, translations_folder):
    if language == "en":
        return [shown_text(text) for text in WINDOW_TEXTS]
    ts_file = os.path.join(translations_folder, f"morvane_{language}.ts")
    if not os.path.exists(ts_file):
        return []
    translated = {source: text for _, source, text in messages(ts_file) if text}
    return [shown_text(translated[text]) for text in WINDOW_TEXTS if text in translated]


def page_problems(path, page, version, translations_folder, english_ids):
    language = os.path.splitext(os.path.basename(path))[0]
    problems = list(page.problems)
    if (page.doctype or "").lower() != "doctype html":
        problems.append("does not begin with <!DOCTYPE html>")
    if page.language != language.replace("_", "-"):
        problems.append(f"declares the language {page.language!r}, not {language!r}")
    if (page.charset or "").lower() != "utf-8":
        problems.append("does not declare its encoding as UTF-8")
    text = "".join(page.text)
    if version not in text:
        problems.append(f"does not name version {version}")
    if "F1" not in text:
        problems.append("does not tell of F1")
    duplicates = sorted({name for name in page.ids if page.ids.count(name) > 1})
    if duplicates:
        problems.append(f"has the ids {duplicates} more than once")
    if english_ids is not None and page.ids != english_ids:
        problems.append(f"has the ids {page.ids}, where the English page has {english_ids}")
    folder = os.path.dirname(path)
    for link in page.links:
        target, _, fragment = link.partition("#")
        if target and not os.path.isfile(os.path.join(folder, target)):
            problems.append(f"links to {link}, which is not there")
        if not target and fragment not in page.ids:
            problems.append(f"links to {link}, which the page does not hold")
    for expected in window_texts(language, translations_folder):
        if expected not in page.window_texts:
            problems.append(f"does not quote the window's text {expected!r}")
    return [f"{path}: {problem}" for problem in problems]


def main(arguments):
    if len(arguments) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    version, translations_folder, paths = arguments[0], arguments[1], arguments[2:]
    pages = {path: read_page(path) for path in paths}
    english = [path for path in paths if os.path.basename(path) == "en.html"]
    if not english:
        print("guide pages: no English page (en.html) among them", file=sys.stderr)
        return 1
    english_ids = pages[english[0]].ids
    problems = []
    for path, page in pages.items():
        problems += page_problems(path, page, version, translations_folder,
                                  None if path == english[0] else english_ids)
    for problem in problems:
        print(f"guide pages: {problem}", file=sys.stderr)
    if not problems:
        print(f"guide pages: {len(pages)} pages, each with the {len(english_ids)} ids of the "
              "English one")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

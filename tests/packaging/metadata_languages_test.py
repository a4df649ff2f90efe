#!/usr/bin/env python3
"""Checks that the desktop sees morvane in each of the window's languages.

Usage: metadata_languages_test.py DESKTOP_ENTRY METAINFO MIME_TYPE LANGUAGE...

In each language, the launcher has its own name, generic name, comment and
keywords; the software centre's description its own summary and each of its
paragraphs; the model type its own comment. A translation must say something
other than the English text where the English is more than a name.
"""
import sys
import xml.etree.ElementTree as ElementTree

XML_LANG = "{http://www.w3.org/XML/1998/namespace}lang"
MIME = "{http://www.freedesktop.org/standards/shared-mime-info}"
DESKTOP_KEYS = ["Name", "GenericName", "Comment", "Keywords"]
# Keys whose English text is a name that stays as it is.
NAMES = {"Name"}


def desktop_entry(path):
    entries = {}
    with open(path, encoding="utf-8") as source:
        for line in source:
            line = line.rstrip("\n")
            if line.startswith("#") or "=" not in line:
                continue
            key, value = line.split("=", 1)
            entries[key] = value
    return entries


def desktop_problems(path, languages):
    entries = desktop_entry(path)
    problems = []
    for key in DESKTOP_KEYS:
        for language in languages:
            translated = entries.get(f"{key}[{language}]")
            if not translated:
                problems.append(f"{path}: no {key}[{language}]")
            elif key not in NAMES and translated == entries.get(key):
                problems.append(f"{path}: {key}[{language}] is the English text")
    return problems


def translated_elements(path, english_elements, language):
    """The problems of one language among elements whose English ones are given."""
    problems = []
    for english in english_elements:
        parent, tag, index = english
        versions = [element for element in parent if element.tag == tag]
        # Each English element is followed by its translations, up to the next English one.
        start = versions.index(index)
        translations = []
        for element in versions[start + 1:]:
            if XML_LANG not in element.attrib:
                break
            translations.append(element)
        match = [element for element in translations if element.get(XML_LANG) == language]
        label = tag.replace(MIME, "")
        if len(match) != 1:
            problems.append(f"{path}: <{label}> {index.text.strip()[:40]!r} has "
                            f"{len(match)} translations into {language}")
        elif not (match[0].text or "").strip() or match[0].text == index.text:
            problems.append(f"{path}: <{label} xml:lang=\"{language}\"> is empty or English")
    return problems


def english_elements_of(parent, tag):
    return [(parent, tag, element) for element in parent
            if element.tag == tag and XML_LANG not in element.attrib]


def metainfo_problems(path, languages):
    component = ElementTree.parse(path).getroot()
    english = english_elements_of(component, "summary")
    english += english_elements_of(component.find("description"), "p")
    problems = []
    for language in languages:
        problems += translated_elements(path, english, language)
    return problems


def mime_problems(path, languages):
    mime_type = ElementTree.parse(path).getroot().find(f"{MIME}mime-type")
    english = english_elements_of(mime_type, f"{MIME}comment")
    problems = []
    for language in languages:
        problems += translated_elements(path, english, language)
    return problems


def main(arguments):
    if len(arguments) < 4:
        print(__doc__, file=sys.stderr)
        return 2
    desktop, metainfo, mime, languages = arguments[0], arguments[1], arguments[2], arguments[3:]
    problems = desktop_problems(desktop, languages)
    problems += metainfo_problems(metainfo, languages)
    problems += mime_problems(mime, languages)
    for problem in problems:
        print(f"metadata languages: {problem}", file=sys.stderr)
    if not problems:
        print(f"metadata languages: the launcher, the description and the model type in "
              f"{' '.join(languages)}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

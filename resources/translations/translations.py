#!/usr/bin/env python3
"""Checks the window's translations and turns them into a C++ table.

check TS...      fails, naming each, on a text that is not translated, or
                 whose translation lost a %1-style value or has a second
                 '&' mnemonic.
table OUT TS...  writes the translations as C++ data for the Windows build.
"""
import os
import re
import sys
import xml.etree.ElementTree as ElementTree


def messages(ts_file):
    """(context, english, translation or None) for each text of a TS file."""
    root = ElementTree.parse(ts_file).getroot()
    for context in root.iter("context"):
        name = context.findtext("name", "")
        for message in context.iter("message"):
            source = message.findtext("source", "")
            translation = message.find("translation")
            text = None
            if translation is not None and translation.get("type") not in (
                    "unfinished", "vanished", "obsolete"):
                text = "".join(translation.itertext())
            yield name, source, text


def language_of(ts_file):
    return ElementTree.parse(ts_file).getroot().get("language", "")


def mnemonics(text):
    return len(re.findall(r"&[^&]", text.replace("&&", "")))


def problems(ts_file):
    found = []
    for context, source, text in messages(ts_file):
        where = f"{os.path.basename(ts_file)}: {context}: \"{source}\""
        if not text:
            found.append(f"{where} is not translated")
            continue
        for value in sorted(set(re.findall(r"%[1-9]", source))):
            if value not in text:
                found.append(f"{where}: the translation lacks {value}")
        if mnemonics(text) > max(1, mnemonics(source)):
            found.append(f"{where}: the translation has more than one '&' mnemonic")
    return found


def check(ts_files):
    found = [problem for ts_file in ts_files for problem in problems(ts_file)]
    for problem in found:
        print(f"translations: {problem}", file=sys.stderr)
    if found:
        print("translations: translate the texts named above in "
              "resources/translations (Qt Linguist reads the files)", file=sys.stderr)
    return 1 if found else 0


def cpp_string(text):
    escaped = "".join(
        c if 0x20 <= ord(c) < 0x7F and c not in '"\\?' else
        "".join(f"\\{b:03o}" for b in c.encode("utf-8")) for c in text)
    return f'"{escaped}"'


def table(output, ts_files):
    lines = ["// Made by the build from resources/translations; not to be edited.",
             '#include "resources/translation_table.h"', "", "#include <array>", "",
             "namespace morvane::res {", "namespace {", ""]
    languages = []
    for index, ts_file in enumerate(ts_files):
        rows = [f"    TranslatedText{{{cpp_string(c)}, {cpp_string(s)}, {cpp_string(t)}}},"
                for c, s, t in messages(ts_file) if t]
        lines += [f"constexpr std::array<TranslatedText, {len(rows)}> kTexts{index}{{{{", *rows,
                  "}};", ""]
        languages.append(f"    Translation{{{cpp_string(language_of(ts_file))}, kTexts{index}}},")
    lines += [f"constexpr std::array<Translation, {len(languages)}> kTranslations{{{{",
              *languages, "}};", "", "}  // namespace", "",
              "std::span<const Translation> Translations() {", "    return kTranslations;", "}",
              "", "}  // namespace morvane::res", ""]
    with open(output, "w", encoding="utf-8") as out:
        out.write("\n".join(lines))
    return 0


def main(arguments):
    if len(arguments) >= 2 and arguments[0] == "check":
        return check(arguments[1:])
    if len(arguments) >= 3 and arguments[0] == "table":
        return table(arguments[1], arguments[2:])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

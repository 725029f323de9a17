#!/usr/bin/env python3
"""The generated vrellix-cli.1 says everything the program's help says, word
for word and in the same order, for the overview and for every command.

  manpage_test.py VRELLIX_CLI MANPAGE.gz
"""
import gzip
import re
import subprocess
import sys


def words_of_help(text):
    words = []
    for line in text.split("\n"):
        line = line.removeprefix("usage: ")
        if re.fullmatch(r"[a-z ]+:", line):  # a list's title becomes a heading
            line = line[:-1].upper()
        words += line.split()
    return words


def words_of_roff(lines):
    words = []
    for line in lines:
        if line.startswith(".") and not line.startswith(".SS"):
            continue
        line = line.removeprefix(".SS ").strip('"') if line.startswith(".SS") else line
        line = re.sub(r"\\f[BRI]", "", line).replace("\\-", "-").replace("\\&", "").replace("\\e", "\\")
        words += line.split()
    return words


def sections(page):
    """The page's lines by .SH heading."""
    result, name = {}, None
    for line in page.split("\n"):
        if line.startswith(".SH "):
            name = line[4:].strip('"')
            result[name] = []
        elif name:
            result[name].append(line)
    return result


def main(cli, page_path):
    page = gzip.decompress(open(page_path, "rb").read()).decode("utf-8")
    by_section = sections(page)
    help_of = lambda *args: subprocess.run([cli, *args], capture_output=True, check=True, text=True).stdout
    overview = help_of("--help")
    expected = {"SYNOPSIS + DESCRIPTION": words_of_help(overview)}
    actual = {"SYNOPSIS + DESCRIPTION": words_of_roff(by_section.pop("SYNOPSIS") + by_section.pop("DESCRIPTION"))}
    commands = re.search(r"^commands:\n((?:  .*\n)+)", overview, re.M).group(1).split("\n")
    for name in (line.split()[0] for line in commands if line.strip()):
        if name in ("help", "version"):
            continue
        section = f"COMMAND {name.upper()}"
        expected[section] = words_of_help(help_of("help", name))
        actual[section] = words_of_roff(by_section.pop(section, []))
    faults = []
    for section, words in expected.items():
        if actual[section] != words:
            at = next((i for i, pair in enumerate(zip(words, actual[section])) if pair[0] != pair[1]),
                      min(len(words), len(actual[section])))
            faults.append(f"{section}: differs from the help at word {at}: "
                          f"help {words[at:at + 6]}, page {actual[section][at:at + 6]}")
    if set(by_section) != {"NAME", "FILES", "SEE ALSO"}:
        faults.append(f"sections beyond the help's: {sorted(by_section)}")
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2]))

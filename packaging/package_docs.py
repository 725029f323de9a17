#!/usr/bin/env python3
"""Writes the package's generated documents.

  package_docs.py manpage VRELLIX_CLI OUT.gz   vrellix-cli.1 from the program's own help
  package_docs.py gzip IN OUT.gz               a page written by hand, compressed the same way
  package_docs.py changelog CHANGELOG.md VERSION MAINTAINER OUT.gz
                                               the Debian changelog from CHANGELOG.md; fails
                                               unless its newest entry is VERSION

Compressed as Debian wants it (gzip -9n): no name and no time in the header, so
the same input always gives the same bytes.
"""
import datetime
import gzip
import re
import subprocess
import sys
import textwrap

PROGRAM = "vrellix-cli"
# Commands that only describe the program itself, not worth a section.
META_COMMANDS = {"help", "version"}


def write_gzip(path, text):
    with open(path, "wb") as out:
        out.write(gzip.compress(text.encode("utf-8"), compresslevel=9, mtime=0))


def run(cli, *args):
    result = subprocess.run([cli, *args], capture_output=True, check=True)
    return result.stdout.decode("utf-8")


def roff(text):
    text = text.replace("\\", "\\e").replace("-", "\\-")
    if text.startswith((".", "'")):
        text = "\\&" + text
    return text


def blocks(text):
    """Splits help text into blocks of lines separated by blank lines."""
    result, current = [], []
    for line in text.rstrip("\n").split("\n"):
        if line.strip():
            current.append(line)
        elif current:
            result.append(current)
            current = []
    if current:
        result.append(current)
    return result


def table_rows(lines):
    """Two-column rows ("  left  help", help continued further down at the same
    column) as (left, help) pairs."""
    rows = []
    for line in lines:
        match = re.match(r"^  (\S.*?)(?:  +(\S.*))?$", line)
        continued = rows and re.match(r"^ {4,}\S", line)
        if continued:
            rows[-1] = (rows[-1][0], rows[-1][1] + " " + line.strip())
        elif match:
            rows.append((match.group(1), match.group(2) or ""))
        else:
            raise SystemExit(f"unexpected line in a list of the help: {line!r}")
    return rows


def preformatted(lines):
    return [".nf"] + [roff(line) for line in lines] + [".fi"]


def help_section(text, heading_macro):
    """Roff for one help text: usage lines, paragraphs, and the titled lists."""
    out = []
    for block in blocks(text):
        first = block[0]
        if first.startswith("usage: "):
            out += preformatted([first[len("usage: "):]] + [line.strip() for line in block[1:]])
        elif re.match(r"^[a-z ]+:$", first):
            title = first[:-1]
            out += [f'{heading_macro} "{title.upper()}"']
            if title.startswith("example"):
                out += [".RS"] + preformatted([line.strip() for line in block[1:]]) + [".RE"]
            else:
                for left, help_text in table_rows(block[1:]):
                    out += [".TP", "\\fB" + roff(left) + "\\fR", roff(help_text)]
        else:
            out += [".PP"] + [roff(line) for line in block]
    return out


def command_names(overview):
    for block in blocks(overview):
        if block[0] == "commands:":
            return [left for left, _ in table_rows(block[1:])]
    raise SystemExit("the overview lists no commands")


def manpage(cli, out_path):
    version = run(cli, "--version").split()[-1]
    overview = run(cli, "--help")
    lines = [
        f'.TH VRELLIX\\-CLI 1 "" "vrellix {version}" "User Commands"',
        ".SH NAME",
        "vrellix\\-cli \\- types an album's titles into the RZT music device from the command line",
        ".SH SYNOPSIS",
    ]
    overview_blocks = blocks(overview)
    usage, rest = overview_blocks[0], overview_blocks[1:]
    lines += help_section("\n".join(usage), ".SS")
    lines += [".SH DESCRIPTION"]
    lines += help_section("\n\n".join("\n".join(block) for block in rest), ".SS")
    for name in command_names(overview):
        if name in META_COMMANDS:
            continue
        lines += [f'.SH "COMMAND {name.upper()}"']
        lines += help_section(run(cli, "help", name), ".SS")
    lines += [
        ".SH FILES",
        ".TP",
        "\\fIrzt_input.ini\\fR",
        "The serial port and the delay after each key, read from the current directory.",
        ".SH \"SEE ALSO\"",
        "\\fBvrellix\\fR(1)",
    ]
    write_gzip(out_path, "\n".join(lines) + "\n")


def changelog(markdown_path, version, maintainer, out_path):
    """CHANGELOG.md holds "## VERSION (YYYY-MM-DD)" headings, each followed by
    "- " items (continued on indented lines); newest first."""
    entries = []
    with open(markdown_path, encoding="utf-8") as markdown:
        for line in markdown:
            line = line.rstrip("\n")
            heading = re.match(r"^## (\S+) \((\d{4}-\d{2}-\d{2})\)$", line)
            if heading:
                entries.append((heading.group(1), heading.group(2), []))
            elif entries and line.startswith("- "):
                entries[-1][2].append(line[2:].strip())
            elif entries and line.startswith("  ") and entries[-1][2]:
                entries[-1][2][-1] += " " + line.strip()
    if not entries or entries[0][0] != version:
        newest = entries[0][0] if entries else "none"
        raise SystemExit(f"{markdown_path}: the newest entry is {newest}, the project's version is {version}")
    text = []
    for entry_version, date, items in entries:
        if not items:
            raise SystemExit(f"{markdown_path}: entry {entry_version} lists no changes")
        text += [f"vrellix ({entry_version}) unstable; urgency=medium", ""]
        for item in items:
            item = item.replace("`", "")
            text += textwrap.wrap(item, width=78, initial_indent="  * ", subsequent_indent="    ")
        day = datetime.datetime.strptime(date, "%Y-%m-%d").replace(hour=12, tzinfo=datetime.timezone.utc)
        text += ["", f" -- {maintainer}  {day.strftime('%a, %d %b %Y %H:%M:%S +0000')}", ""]
    write_gzip(out_path, "\n".join(text))


def main(argv):
    if len(argv) == 4 and argv[1] == "manpage":
        manpage(argv[2], argv[3])
    elif len(argv) == 4 and argv[1] == "gzip":
        with open(argv[2], encoding="utf-8") as page:
            write_gzip(argv[3], page.read())
    elif len(argv) == 6 and argv[1] == "changelog":
        changelog(*argv[2:])
    else:
        raise SystemExit(__doc__)


if __name__ == "__main__":
    main(sys.argv)

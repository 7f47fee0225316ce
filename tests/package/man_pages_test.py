#!/usr/bin/python3
"""The manual pages: man renders them without a warning (nor hangs) at the usual widths, mandb
finds their NAME line, they carry the programs' version, and drovik-cli(1) documents every
command and option that drovik-cli declares, as its --help and each `drovik-cli COMMAND --help`
show them, and none other (and drovik(1) the options of `drovik --help`).

    man_pages_test.py PAGE_DIR DROVIK_CLI [DROVIK]
Exit status 77 (skipped) when the pages were not built (no scdoc) or man is missing."""

import os
import re
import shutil
import subprocess
import sys

SKIP = 77


def render(page, width=80):
    """The page as man shows it on a terminal of `width` columns, and groff's warnings."""
    env = dict(os.environ, MANWIDTH=str(width), MAN_KEEP_FORMATTING="", LC_ALL="C.UTF-8")
    try:
        run = subprocess.run(["man", "--warnings", "-l", page], env=env, capture_output=True,
                             text=True, timeout=30)
    except subprocess.TimeoutExpired:
        # groff 1.22's Japanese line breaking loops for good on a run it may not break that is
        # wider than the line (a parenthesis, then ASCII words joined by "、", a long path).
        return -1, "", "man did not finish: a run of text too wide to break?"
    return run.returncode, run.stdout, run.stderr


def help_text(program, *words):
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    env["QT_QPA_PLATFORM"] = ""
    run = subprocess.run([program, *words, "--help"], env=env, capture_output=True, text=True)
    return run.stdout if run.returncode == 0 else None


def documented(help_output):
    """Command words and options of a usage text."""
    words = set(re.findall(r"(?<![\w-])--?[a-z][a-z-]*", help_output))
    for line in help_output.splitlines():
        m = re.match(r"\s+drovik-cli(?:\s+\[--data-dir DIR\])?\s+([a-z][a-z-]+)", line)
        if m:
            words.add(m.group(1))
    return words


OPTION = re.compile(r"(?<![\w-])--?[a-z][a-z-]*")


def options_section(help_output):
    """The option names of the "オプション:" section of a --help."""
    names, inside = set(), False
    for line in help_output.splitlines():
        if line == "オプション:":
            inside = True
        elif not line.strip():
            inside = False
        elif inside:
            names.update(OPTION.findall(re.split(r"\s{2,}", line.strip(), maxsplit=1)[0]))
    return names


def declared(cli):
    """What drovik-cli's declarations say, through its usage texts: each command's options
    ("" for the global ones before any command), the commands in the overview's order."""
    overview = help_text(cli)
    if overview is None:
        return None
    commands = []
    for line in overview.splitlines():
        m = re.match(r"  drovik-cli (?:\[--data-dir DIR\] )?([a-z][a-z-]*)", line)
        if m and m.group(1) not in commands:
            commands.append(m.group(1))
    options = {"": options_section(overview)}
    for command in commands:
        options[command] = options_section(help_text(cli, command))
    return options


def entries(text, heading):
    """The entry lines (indented by 7) of a section of a rendered page."""
    lines, inside = [], False
    for line in text.splitlines():
        if line and not line[0].isspace():
            inside = line.strip() == heading
        elif inside and re.match(r" {7}\S", line):
            lines.append(line.strip())
    return lines


def check_against_declarations(page_text, options):
    """drovik-cli(1) has an entry for every command, whose synopsis names exactly the options
    the command declares (those of every command, --data-dir and --help, aside), and lists in
    its options section every option there is and none that is not."""
    failures = []
    shown = {}
    for line in entries(page_text, "コマンド"):
        command = line.split()[0]
        shown.setdefault(command, set()).update(OPTION.findall(line[len(command):]))
    common = {"--data-dir", "-h", "--help"}
    for command in sorted(set(options) - {""} - set(shown)):
        failures.append(f"drovik-cli(1) has no entry for the command {command}")
    for command in sorted(set(shown) - set(options)):
        failures.append(f"drovik-cli(1) describes {command}, which drovik-cli does not have")
    for command in sorted(set(shown) & set(options)):
        want, got = options[command] - common, shown[command] - common
        if want != got:
            failures.append(f"drovik-cli(1) gives {command} the options {sorted(got)}, "
                            f"drovik-cli {command} --help {sorted(want)}")
    listed = {name for line in entries(page_text, "オプション") for name in OPTION.findall(line)}
    every = set().union(*options.values())
    for name in sorted(every - listed):
        failures.append(f"drovik-cli(1) does not list the option {name}")
    for name in sorted(listed - every):
        failures.append(f"drovik-cli(1) lists the option {name}, which no command takes")
    return failures


def version_of(program):
    out = subprocess.run([program, "--version"], capture_output=True, text=True,
                         env={"PATH": os.environ.get("PATH", "")}).stdout
    return out.split()[-1] if out.strip() else None


def main():
    page_dir, cli = sys.argv[1], sys.argv[2]
    gui = sys.argv[3] if len(sys.argv) > 3 else None
    if not shutil.which("man"):
        print("SKIP: man is not installed (Debian package man-db)")
        return SKIP
    pages = {"drovik-cli": cli}
    if gui:
        pages["drovik"] = gui
    missing = [p for p in pages if not os.path.exists(os.path.join(page_dir, p + ".1"))]
    if missing:
        print("SKIP: manual pages not built (scdoc missing at configure time):", missing)
        return SKIP

    failures = []
    for name, program in pages.items():
        page = os.path.join(page_dir, name + ".1")
        # The usual terminal, a narrow one, a wide one.
        for width in (80, 40, 60, 120):
            status, text, warnings = render(page, width)
            if status != 0 or warnings:
                failures.append(f"{name}(1) at {width} columns: status {status}\n{warnings}")
        _, text, _ = render(page)
        # The footer names the version the programs print.
        version = version_of(program)
        if not version or f"Drovik {version}" not in text.splitlines()[-1]:
            failures.append(f"{name}(1) footer {text.splitlines()[-1]!r} lacks version {version}")
        if shutil.which("lexgrog"):
            whatis = subprocess.run(["lexgrog", page], capture_output=True, text=True).stdout
            if f'"{name} - ' not in whatis:
                failures.append(f"{name}(1) has no NAME line mandb can read: {whatis!r}")
        if name == "drovik-cli":
            options = declared(program)
            if options is None:
                print("drovik-cli --help did not succeed here: its options are not checked")
                continue
            # Wide enough that no synopsis of an entry wraps.
            failures += check_against_declarations(render(page, 250)[1], options)
            continue
        usage = help_text(program)
        if usage is None:
            print(f"{name} --help did not succeed here: its options are not checked")
            continue
        for word in sorted(documented(usage)):
            if not re.search(r"(?<![\w-])" + re.escape(word) + r"(?![\w-])", text):
                failures.append(f"{name}(1) does not mention {word}, which {name} --help lists")

    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

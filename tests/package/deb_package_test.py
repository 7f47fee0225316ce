#!/usr/bin/python3
"""The Debian package that scripts/package built: what it holds, that its programs run from
it and print its version, that its manual pages, desktop entry and AppStream metadata are
valid, and that lintian finds no error and no warning the README does not accept.

    deb_package_test.py VERSION README [COMPLETION]
The package is $DROVIK_DEB (scripts/test sets it). COMPLETION is the bash completion's source
file, which the package must carry when it exists. Exit status 77 (skipped) without the package
or the Debian tools."""

import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

SKIP = 77
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
TOOLS = {"dpkg-deb": "dpkg", "lintian": "lintian", "appstreamcli": "appstream",
         "desktop-file-validate": "desktop-file-utils", "man": "man-db"}


def run(*command, env=None):
    return subprocess.run(command, capture_output=True, text=True, env=env)


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", head[16:24])


def accepted_lintian_tags(readme):
    """Tags named in the README's list of accepted lintian warnings: `- \\`tag\\`: why`."""
    text = open(readme, encoding="utf-8").read()
    section = re.search(r"^### lintian\n(.*?)(?=^#)", text + "\n#", re.M | re.S)
    return set(re.findall(r"^- `([a-z0-9-]+)`", section.group(1), re.M)) if section else set()


class Checks:
    def __init__(self):
        self.failures = []

    def expect(self, condition, message):
        if not condition:
            self.failures.append(message)
        return condition


def check_contents(c, root, completion):
    usr = os.path.join(root, "usr")
    expected = ["bin/drovik", "bin/drovik-cli", "share/applications/drovik.desktop",
                "share/icons/hicolor/scalable/apps/drovik.svg",
                "share/man/man1/drovik.1.gz", "share/man/man1/drovik-cli.1.gz",
                "share/doc/drovik/README.md", "share/doc/drovik/copyright",
                "share/doc/drovik/changelog.gz"]
    expected += [f"share/icons/hicolor/{s}x{s}/apps/drovik.png" for s in ICON_SIZES]
    if completion and os.path.exists(completion):
        expected.append("share/bash-completion/completions/drovik-cli")
    for path in expected:
        c.expect(os.path.isfile(os.path.join(usr, path)), f"missing /usr/{path}")
    for size in ICON_SIZES:
        path = os.path.join(usr, f"share/icons/hicolor/{size}x{size}/apps/drovik.png")
        if os.path.exists(path):
            c.expect(png_size(path) == (size, size),
                     f"icon {size}x{size} is a picture of {png_size(path)}")
    for program in ("drovik", "drovik-cli"):
        path = os.path.join(usr, "bin", program)
        c.expect(os.path.exists(path) and os.access(path, os.X_OK), f"{program} not executable")
    metainfo = [f for f in os.listdir(os.path.join(usr, "share/metainfo"))
                if f.endswith(".metainfo.xml")] if os.path.isdir(
        os.path.join(usr, "share/metainfo")) else []
    c.expect(len(metainfo) == 1, f"expected one AppStream metainfo file, found {metainfo}")
    return [os.path.join(usr, "share/metainfo", f) for f in metainfo]


def check_programs(c, root, version):
    env = {"PATH": "/usr/bin:/bin", "HOME": root}  # no display: drovik must not need one
    for program in ("drovik-cli", "drovik"):
        result = run(os.path.join(root, "usr/bin", program), "--version", env=env)
        c.expect(result.returncode == 0 and result.stdout == f"{program} {version}\n",
                 f"{program} --version: status {result.returncode}, {result.stdout!r} "
                 f"{result.stderr!r}")


def check_metadata(c, root, version, metainfo):
    desktop = os.path.join(root, "usr/share/applications/drovik.desktop")
    result = run("desktop-file-validate", desktop)
    c.expect(result.returncode == 0 and not result.stdout.strip(),
             f"desktop-file-validate: {result.stdout}{result.stderr}")
    entry = open(desktop, encoding="utf-8").read()
    c.expect(re.search(r"^Exec=drovik(\s|$)", entry, re.M), "desktop entry does not start drovik")
    c.expect(re.search(r"^Icon=drovik$", entry, re.M), "desktop entry names another icon")
    for path in metainfo:
        result = run("appstreamcli", "validate", "--no-net", "--pedantic", path)
        c.expect(result.returncode == 0, f"appstreamcli validate: {result.stdout}{result.stderr}")
        text = open(path, encoding="utf-8").read()
        c.expect(f'<release version="{version}"' in text, "AppStream release is not " + version)
        c.expect("<launchable type=\"desktop-id\">drovik.desktop</launchable>" in text,
                 "AppStream metadata does not launch drovik.desktop")


def check_documents(c, root, version):
    for page in ("drovik", "drovik-cli"):
        path = os.path.join(root, f"usr/share/man/man1/{page}.1.gz")
        env = dict(os.environ, MANWIDTH="80", LC_ALL="C.UTF-8")
        result = run("man", "--warnings", "-l", path, env=env)
        c.expect(result.returncode == 0 and not result.stderr and f"Drovik {version}" in
                 result.stdout, f"{page}(1) renders with: {result.stderr[:400]}")
    copyright_text = open(os.path.join(root, "usr/share/doc/drovik/copyright"),
                          encoding="utf-8").read()
    paragraphs = [p for p in copyright_text.split("\n\n") if p.strip()]
    c.expect(paragraphs[0].startswith(
        "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"),
        "copyright is not in the machine-readable format")
    files = [p for p in paragraphs if p.startswith("Files:")]
    c.expect(files and all(re.search(r"^Copyright: \S", p, re.M) and
                           re.search(r"^License: \S+\n \S", p, re.M) for p in files),
             "a Files paragraph lacks its copyright or its license text")
    if shutil.which("dpkg-parsechangelog"):
        changelog = run("dpkg-parsechangelog", "-l",
                        os.path.join(root, "usr/share/doc/drovik/changelog.gz"), "-S", "Version")
        c.expect(changelog.stdout.strip() == version,
                 f"changelog's version {changelog.stdout.strip()!r} {changelog.stderr}")


def check_control(c, deb, version):
    fields = {name: run("dpkg-deb", "-f", deb, name).stdout.strip()
              for name in ("Package", "Version", "Architecture", "Depends", "Recommends")}
    arch = run("dpkg", "--print-architecture").stdout.strip()
    c.expect(fields["Package"] == "drovik", f"package name {fields['Package']}")
    c.expect(fields["Version"] == version, f"package version {fields['Version']} != {version}")
    c.expect(fields["Architecture"] == arch, f"architecture {fields['Architecture']}")
    depends = {d.split()[0] for d in fields["Depends"].split(", ")}
    # Found by dpkg-shlibdeps in the programs, and the libraries they open at run time.
    for needed in ("libc6", "libqt6widgets6", "libssl3", "libcurl4", "libcups2"):
        c.expect(needed in depends, f"Depends lacks {needed}: {fields['Depends']}")
    # Only discover's SNMP questions need net-snmp, opened at run time.
    c.expect("libsnmp40" in fields["Recommends"], f"Recommends lacks libsnmp40: {fields['Recommends']}")


def check_lintian(c, deb, readme):
    result = run("lintian", "--fail-on", "error", deb)
    tags = re.findall(r"^([EW]): drovik[^:]*: (\S+)", result.stdout, re.M)
    errors = sorted({tag for kind, tag in tags if kind == "E"})
    c.expect(result.returncode == 0 and not errors,
             f"lintian errors {errors}: {result.stdout}{result.stderr}")
    unexplained = sorted({tag for kind, tag in tags if kind == "W"} -
                         accepted_lintian_tags(readme))
    c.expect(not unexplained,
             f"lintian warnings the README does not accept: {unexplained}\n{result.stdout}")


def main():
    version, readme = sys.argv[1], sys.argv[2]
    completion = sys.argv[3] if len(sys.argv) > 3 else None
    deb = os.environ.get("DROVIK_DEB")
    if not deb:
        print("SKIP: no package to check: run scripts/package and set DROVIK_DEB to the .deb "
              "it prints (scripts/test does both)")
        return SKIP
    if not os.path.isfile(deb):
        print(f"FAIL: DROVIK_DEB={deb} is no file")
        return 1
    missing = [f"{tool} (Debian {package})" for tool, package in TOOLS.items()
               if not shutil.which(tool)]
    if missing:
        print("SKIP: missing", ", ".join(missing))
        return SKIP

    c = Checks()
    check_control(c, deb, version)
    with tempfile.TemporaryDirectory(prefix="drovik-deb-") as root:
        extracted = run("dpkg-deb", "-x", deb, root)
        if not c.expect(extracted.returncode == 0, f"dpkg-deb -x: {extracted.stderr}"):
            print("FAIL:", c.failures[0])
            return 1
        metainfo = check_contents(c, root, completion)
        check_programs(c, root, version)
        check_metadata(c, root, version, metainfo)
        check_documents(c, root, version)
    check_lintian(c, deb, readme)
    for failure in c.failures:
        print("FAIL:", failure)
    return 1 if c.failures else 0


if __name__ == "__main__":
    sys.exit(main())

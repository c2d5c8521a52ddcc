#!/usr/bin/env python3
"""Puts the suite's package together: a folder that sepria installs, and a zip
of it beside the folder.

    make_package.py --version V --inf TEMPLATE --settings TABLE --strip STRIP --out FOLDER FILE...

FOLDER is made anew and gets every FILE (programs, .exe and .scr, stripped
of symbols and debug information, their time stamp 0) and the INF file,
astrelle.inf, written from TEMPLATE with @VERSION@, @SIZE@ and @SETTINGS@
filled in. SIZE is what DefaultInstall copies, in kilobytes rounded up;
SETTINGS a registry line for each setting of the saver's table (the C++
source TABLE) at its default. FOLDER.zip
holds the folder; its entries carry no time and no owner. So the same
programs give the same bytes, whenever they are packaged.
"""
import argparse
import math
import os
import re
import shutil
import subprocess
import sys
import zipfile

INF_NAME = "astrelle.inf"
PROGRAM_SUFFIXES = (".exe", ".scr")
ZIP_TIME = (1980, 1, 1, 0, 0, 0)  # the earliest a zip entry can say
# strip stamps a Windows image with the time it runs unless it is given one.
STRIP_ENVIRONMENT = {**os.environ, "SOURCE_DATE_EPOCH": "0"}


def inf_sections(text):
    """Section name (lower case) -> its lines, without comments or blanks."""
    sections = {}
    lines = None
    for line in text.splitlines():
        line = line.split(";", 1)[0].strip()
        if line.startswith("[") and line.endswith("]"):
            lines = sections.setdefault(line[1:-1].lower(), [])
        elif line and lines is not None:
            lines.append(line)
    return sections


def installed_files(inf_text):
    """The files DefaultInstall copies: those of its CopyFiles sections."""
    sections = inf_sections(inf_text)
    files = []
    for line in sections.get("defaultinstall", []):
        key, _, value = line.partition("=")
        if key.strip().lower() == "copyfiles":
            for section in value.split(","):
                files += [entry.split(",")[0].strip() for entry in sections[section.strip().lower()]]
    return files


def size_text(folder, names):
    missing = [name for name in names if not os.path.isfile(os.path.join(folder, name))]
    if missing:
        sys.exit(f"the INF file installs {', '.join(missing)}, which the package does not hold")
    total = sum(os.path.getsize(os.path.join(folder, name)) for name in names)
    return f"{math.ceil(total / 1024)} KB"


def copy_into(folder, path, strip):
    target = os.path.join(folder, os.path.basename(path))
    if path.lower().endswith(PROGRAM_SUFFIXES):
        subprocess.run([strip, "-o", target, path], check=True, env=STRIP_ENVIRONMENT)
    else:
        shutil.copyfile(path, target)


def settings_lines(table):
    """Each setting a REG_DWORD (0x00010001) written only where the user has
    no value yet (0x00000002)."""
    with open(table, encoding="ascii") as file:
        entries = re.findall(r'^ *\{"(\w+)", (-?\d+), ', file.read(), re.M)
    if len(entries) != 7:
        sys.exit(f"{table}: {len(entries)} entries of the settings table read, not 7")
    return "\n".join(f'HKCU,"Software\\Brightloom\\Astrelle","{name}",0x00010003,{value}' for name, value in entries)


def write_inf(folder, template, version, settings):
    with open(template, encoding="ascii") as file:
        text = file.read().replace("@VERSION@", version).replace("@SETTINGS@", settings_lines(settings))
    text = text.replace("@SIZE@", size_text(folder, installed_files(text)))
    # The system's INF installer reads lines ended the Windows way.
    with open(os.path.join(folder, INF_NAME), "w", encoding="ascii", newline="\r\n") as file:
        file.write(text)


def write_zip(folder):
    base = os.path.basename(folder)
    with zipfile.ZipFile(folder + ".zip", "w") as archive:
        for name in sorted(os.listdir(folder)):
            entry = zipfile.ZipInfo(f"{base}/{name}", ZIP_TIME)
            entry.create_system = 0  # MS-DOS: no owner or Unix mode
            entry.compress_type = zipfile.ZIP_DEFLATED
            with open(os.path.join(folder, name), "rb") as file:
                archive.writestr(entry, file.read(), compresslevel=9)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--version", required=True)
    parser.add_argument("--inf", required=True, help="the INF file's template")
    parser.add_argument("--settings", required=True, help="the saver's table of settings and their defaults")
    parser.add_argument("--strip", required=True, help="the strip program of the programs' target")
    parser.add_argument("--out", required=True, help="the package folder to make")
    parser.add_argument("files", nargs="+")
    args = parser.parse_args()

    folder = os.path.abspath(args.out)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    for path in args.files:
        copy_into(folder, path, args.strip)
    write_inf(folder, args.inf, args.version, args.settings)
    write_zip(folder)


if __name__ == "__main__":
    sys.exit(main())

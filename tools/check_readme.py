#!/usr/bin/env python3
"""check_readme.py [README.md]: every path of the checkout or its build that
the README tells a user to type, and every file it links, exists; every
`make TARGET` it shows is a target of the Makefile. Run after the build, from
the checkout. Prints what is missing and exits with 1."""
import os
import re
import sys

# Folders of the checkout and of what the build makes; a path written under
# one of them must exist. Placeholders (<preset>) and patterns are skipped.
ROOTS = ("build", "tools", "docs", "examples", "astr", "bench", "tests", "package",
         "cmake", "vantor", "sepria", "debian")
PATH = re.compile(r"(?<![\w/.~-])((?:%s)/[^\s`'\"()\[\]<>,;:]*)" % "|".join(ROOTS))
MAKE = re.compile(r"\bmake ((?:[a-z][\w-]*)(?: [a-z][\w-]*)*)")
LINK = re.compile(r"\]\(([^)#\s]+)")


def typed_text(readme):
    """What the README shows as code: fenced blocks and `spans`."""
    blocks = re.findall(r"^```[^\n]*\n(.*?)^```", readme, re.M | re.S)
    rest = re.sub(r"^```[^\n]*\n.*?^```", "", readme, flags=re.M | re.S)
    return blocks + re.findall(r"`([^`\n]+)`", rest)


def makefile_targets(makefile):
    with open(makefile) as f:
        return set(re.findall(r"^([a-z][\w-]*):", f.read(), re.M))


def main():
    readme_path = sys.argv[1] if len(sys.argv) > 1 else "README.md"
    with open(readme_path) as f:
        readme = f.read()
    targets = makefile_targets("Makefile")
    missing = []
    for text in typed_text(readme):
        for path in PATH.findall(text):
            path = path.rstrip(".")
            if "*" not in path and not os.path.exists(path):
                missing.append(f"no {path}")
        for words in MAKE.findall(text):
            for word in words.split():
                if "=" in word:
                    break
                if word not in targets:
                    missing.append(f"no make target {word}")
    for link in LINK.findall(readme):
        if "://" not in link and not os.path.exists(link):
            missing.append(f"no {link} (linked)")
    for line in sorted(set(missing)):
        print(f"{readme_path}: {line}")
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())

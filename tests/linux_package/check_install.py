"""astrelle installed into a scratch DESTDIR: the files in their places, the
settings description and the desktop entry clean under the hosts' own
checkers, and every switch the description can produce accepted by the
installed program (which then stops at the display it cannot open)."""
import os, subprocess, sys, tempfile
import xml.etree.ElementTree as ET

cmake, build = sys.argv[1:3]
prefix = "/opt/astrelle"  # not the default, so the paths written at install time must follow it
program = prefix + "/libexec/xscreensaver/astrelle"
xml = prefix + "/share/xscreensaver/config/astrelle.xml"
desktop = prefix + "/share/applications/screensavers/astrelle.desktop"
files = {program, xml, desktop, prefix + "/share/man/man6/astrelle.6x", prefix + "/share/astrelle/astr.wav"}
failures = []

def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what)
    ok or failures.append(what)

def run(*command, **kw):
    return subprocess.run(command, capture_output=True, text=True, **kw)

with tempfile.TemporaryDirectory() as destdir:
    installed = run(cmake, "--install", build, "--prefix", prefix, env=dict(os.environ, DESTDIR=destdir))
    check(installed.returncode == 0, "cmake --install " + installed.stderr)
    found = {os.path.join(d, f)[len(destdir):] for d, _, names in os.walk(destdir) for f in names}
    check(found == files, "the installed files: %s" % sorted(found ^ files))
    lint = run("xmllint", "--noout", destdir + xml)
    check(lint.returncode == 0 and not lint.stderr, "xmllint --noout " + lint.stderr)
    entry = run("desktop-file-validate", destdir + desktop)
    check(entry.returncode == 0 and " error: " not in entry.stdout + entry.stderr and " warning: " not in entry.stdout,
          "desktop-file-validate " + entry.stdout)
    lines = open(destdir + desktop).read().splitlines()
    check({"Exec=%s --root" % program, "TryExec=" + program} <= set(lines), "the entry starts " + program)

    switches = []  # (command line, accepted)
    for element in ET.parse(destdir + xml).getroot().iter():
        if element.tag == "number":
            switches += [(element.get("arg").replace("%", element.get(b)), True) for b in ("low", "high", "default")]
        else:
            switches += [(element.get(a), True) for a in ("arg", "arg-set", "arg-unset") if element.get(a)]
    offered = {s.split()[0] for s, _ in switches}
    wanted = {"--root", "--delay", "--fixed-sync", "--sync-frames", "--prec", "--music", "--fps"}
    check(wanted <= offered, "the description offers %s" % sorted(wanted - offered))
    display = ":4711"
    check(not os.path.exists("/tmp/.X11-unix/X4711"), "no display " + display)
    for switch, accepted in switches + [("--no-such-switch", False)]:
        started = run(destdir + program, *switch.split(), env={"DISPLAY": display})
        answer = started.stderr.strip()
        gave = "usage:" not in answer and "Unable to open display" in answer
        check(started.returncode == 1 and gave == accepted, "%s: %s" % (switch, answer.splitlines()[0]))

sys.exit(1 if failures else 0)

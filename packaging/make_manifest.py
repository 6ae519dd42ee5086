#!/usr/bin/env python3
# Writes the uninstall manifest kalvex.dat for a staging folder: one entry per
# top-level file, folder or link of the folder (a folder's tree goes with its
# entry), then the uninstaller and the manifest themselves. It refuses, and
# writes nothing, when an entry would be skipped by the uninstaller or could
# not be placed under that name on Windows.
#
#   make_manifest.py STAGING OUTPUT
#
# Exit code: 0 written; 1 refused (each offending name is printed with its
# reason, and a previous OUTPUT is removed so no stale manifest is shipped);
# 2 bad arguments, an unreadable staging folder or an unwritable OUTPUT.
import json
import os
import sys

# The kit places these two beside the product's files. They close the list, so
# an uninstall that stops half-way leaves the uninstaller able to run again.
KIT_NAMES = ("kalvex.dat", "kalvex.exe")

# Windows opens these as devices in any folder, with or without an extension;
# the uninstaller resolves such a name outside the install directory and skips it.
DEVICE_NAMES = {"CON", "PRN", "AUX", "NUL"} | {
    prefix + digit for prefix in ("COM", "LPT") for digit in "0123456789\u00b9\u00b2\u00b3"}

# Characters a Windows file name cannot hold; ":" would also name a drive or a
# data stream, and "\" and "/" would split the name into a path.
FORBIDDEN_CHARACTERS = set('<>:"/\\|?*')


def refusal(name):
    """Why the uninstaller would skip `name` (a decoded top-level name) or
    Windows would not store it under that name; None when it is fine."""
    if any(ord(c) < 0x20 for c in name):
        return "holds a control character"
    forbidden = sorted(FORBIDDEN_CHARACTERS.intersection(name))
    if forbidden:
        return "holds " + " ".join(forbidden) + ", which a Windows name cannot"
    if name.strip(". ") == "":
        return "is only dots and spaces"
    if name[-1] in ". ":
        return "ends in a dot or space, which Windows drops"
    if name.split(".")[0].rstrip(" ").upper() in DEVICE_NAMES:
        return "is a device name on Windows"
    return None


def windows_key(name):
    """`name` as Windows compares names: letter by letter without case (a
    letter whose capital is longer, such as "\u00df", stays as it is)."""
    return "".join(c.upper() if len(c.upper()) == 1 else c for c in name)


def placeable(path):
    """True when the installer builder can pack what `path` stands for: a file
    or folder, directly or through a link that resolves (the builder packs a
    link's target under the link's name; the name is all the manifest takes)."""
    return os.path.isfile(path) or os.path.isdir(path)


def collect(staging):
    """The manifest's names for `staging`, sorted, with the kit's names last,
    and the list of (name, reason) refusals. Never descends into an entry."""
    names, refused, seen = [], [], {}
    for raw in sorted(os.listdir(os.fsencode(staging))):
        try:
            name = raw.decode("utf-8")
        except UnicodeDecodeError:
            refused.append((raw.decode("utf-8", "backslashreplace"), "is not valid UTF-8"))
            continue
        reason = refusal(name)
        if reason is None and not placeable(os.path.join(staging, name)):
            reason = "is neither a file nor a folder (a broken link or a special file)"
        key = windows_key(name)
        if reason is None and key in seen:
            reason = "differs from %r only in letter case; Windows keeps one" % seen[key]
        if reason is not None:
            refused.append((name, reason))
            continue
        seen[key] = name
        if name.lower() not in KIT_NAMES:
            names.append(name)
    return names + list(KIT_NAMES), refused


def render(names):
    """The manifest text: a JSON array of {"name": ...} objects, one a line,
    UTF-8 without a byte-order mark."""
    lines = ['  {"name": %s}' % json.dumps(name, ensure_ascii=False) for name in names]
    return ("[\n" + ",\n".join(lines) + "\n]\n").encode("utf-8")


def write_atomically(output, data):
    temporary = output + ".part"
    with open(temporary, "wb") as stream:
        stream.write(data)
    os.replace(temporary, output)


def main(argv):
    if len(argv) != 3:
        print("usage: make_manifest.py STAGING OUTPUT", file=sys.stderr)
        return 2
    staging, output = argv[1], argv[2]
    # makensis may hand the script a console or pipe in a legacy code page.
    sys.stderr.reconfigure(errors="backslashreplace")
    try:
        names, refused = collect(staging)
    except OSError as error:
        print("make_manifest: cannot list the staging folder %s: %s" % (staging, error.strerror), file=sys.stderr)
        return 2
    if refused:
        for name, reason in refused:
            print("make_manifest: %r in %s %s" % (name, staging, reason), file=sys.stderr)
        print("make_manifest: refused: rename or remove these, so that the manifest lists exactly what is placed",
              file=sys.stderr)
        if os.path.lexists(output):
            os.remove(output)
        return 1
    try:
        write_atomically(output, render(names))
    except OSError as error:
        print("make_manifest: cannot write %s: %s" % (output, error.strerror), file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

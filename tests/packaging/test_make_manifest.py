#!/usr/bin/env python3
# The manifest generator of the packaging kit on real staging folders: what it
# lists (top-level entries only, links as themselves, UTF-8 names, the kit's
# two files last) and what it refuses (names the uninstaller would skip or
# Windows would not store as written), with no manifest left behind; and a
# refusal stopping makensis when the kit's include runs the generator.
import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

PACKAGING = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "packaging")
GENERATOR = os.path.join(PACKAGING, "make_manifest.py")


def write(path, text="x"):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as stream:
        stream.write(text)


class MakeManifestTest(unittest.TestCase):
    def setUp(self):
        self.scratch = tempfile.TemporaryDirectory()
        self.staging = os.path.join(self.scratch.name, "staging")
        self.output = os.path.join(self.scratch.name, "kalvex.dat")
        os.mkdir(self.staging)

    def tearDown(self):
        self.scratch.cleanup()

    def run_generator(self, staging=None):
        return subprocess.run([sys.executable, GENERATOR, staging or self.staging, self.output],
                              capture_output=True, text=True)

    def link(self, target, name):
        path = os.path.join(self.staging, name)
        os.symlink(target, path)
        self.assertTrue(os.path.islink(path), "the link was not made")

    def test_lists_each_top_level_entry_once_links_as_themselves_and_the_kit_files_last(self):
        outside = os.path.join(self.scratch.name, "outside")
        write(os.path.join(outside, "secret.txt"))
        write(os.path.join(self.staging, "core.dll"))
        write(os.path.join(self.staging, "\u8bf4\u660e.txt"))
        write(os.path.join(self.staging, "bin", "plugins", "a.dll"))
        write(os.path.join(self.staging, "\u6570\u636e", "\u7f13\u5b58", "\u8282\u70b9.json"))
        write(os.path.join(self.staging, ".hidden"))
        write(os.path.join(self.staging, "kalvex.dat"), "[] stale")
        os.mkdir(os.path.join(self.staging, "logs"))
        self.link(outside, "shared")
        self.link(os.path.join("bin", "plugins", "a.dll"), "current.dll")

        result = self.run_generator()
        self.assertEqual(0, result.returncode, result.stderr)
        with open(self.output, "rb") as stream:
            data = stream.read()
        # Sorted by code point (数 U+6570 before 说 U+8BF4); the stale manifest
        # in the folder counts once, as the kit's own, at the end.
        self.assertEqual([".hidden", "bin", "core.dll", "current.dll", "logs", "shared", "\u6570\u636e",
                          "\u8bf4\u660e.txt", "kalvex.dat", "kalvex.exe"],
                         [entry["name"] for entry in json.loads(data.decode("utf-8"))])
        self.assertIn("\u8bf4\u660e.txt".encode("utf-8"), data, "names are written as UTF-8, not escaped")
        self.assertFalse(data.startswith(b"\xef\xbb\xbf"))
        for inner in (b"secret", b"outside", b"a.dll", b"plugins"):
            self.assertNotIn(inner, data)

    def test_refuses_names_the_uninstaller_would_skip_and_leaves_no_manifest(self):
        cases = {
            "colon": "a:b", "dots only": "...", "space only": " ", "trailing dot": "notes.",
            "device": "CON", "device with extension": "nul.txt", "control character": "tab\there",
            "backslash": "a\\b", "wildcard": "*.dll", "letter case twin": "core.dll",
        }
        for what, name in cases.items():
            with self.subTest(what):
                staging = os.path.join(self.scratch.name, what)
                write(os.path.join(staging, "Core.dll"))
                write(os.path.join(staging, name))
                write(self.output, "[] from an earlier build")
                result = self.run_generator(staging)
                self.assertEqual(1, result.returncode)
                self.assertIn(repr(name), result.stderr)
                self.assertNotIn("'Core.dll' in", result.stderr)
                self.assertFalse(os.path.lexists(self.output), "a manifest was left behind")

    def test_refuses_a_name_that_is_not_utf8_and_a_broken_link(self):
        write(os.path.join(self.staging, "core.dll"))
        with open(os.path.join(os.fsencode(self.staging), b"\xff.dat"), "w") as stream:
            stream.write("x")
        self.link("nowhere", "broken")
        result = self.run_generator()
        self.assertEqual(1, result.returncode)
        self.assertIn("not valid UTF-8", result.stderr)
        self.assertIn("'broken'", result.stderr)
        self.assertFalse(os.path.lexists(self.output))

    def test_a_missing_staging_folder_is_an_error_of_its_own(self):
        result = self.run_generator(os.path.join(self.scratch.name, "absent"))
        self.assertEqual(2, result.returncode)
        self.assertFalse(os.path.lexists(self.output))

    def test_a_refused_name_stops_the_installer_build(self):
        makensis = os.environ.get("MAKENSIS") or shutil.which("makensis")
        self.assertIsNotNone(makensis, "makensis not found")
        write(os.path.join(self.staging, "core.dll"))
        write(os.path.join(self.staging, "CON"))
        uninstaller = os.path.join(self.scratch.name, "kalvex.exe")
        write(uninstaller, "MZ")
        setup = os.path.join(self.scratch.name, "setup.exe")
        script = os.path.join(self.scratch.name, "setup.nsi")
        write(script, '!define KALVEX_PYTHON "%s"\nOutFile "%s"\n!include "%s"\nSection\n'
                      '  !insertmacro KalvexInstallFiles "%s" "%s"\nSectionEnd\n'
              % (sys.executable, setup, os.path.join(PACKAGING, "kalvex.nsh"), self.staging, uninstaller))
        result = subprocess.run([makensis, "-V2", script], capture_output=True, text=True)
        self.assertNotEqual(0, result.returncode)
        self.assertIn("'CON'", result.stdout + result.stderr)
        self.assertFalse(os.path.exists(setup), "an installer was written")


if __name__ == "__main__":
    unittest.main()

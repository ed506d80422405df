"""The Debian package as a user gets it: built with CPack, its contents and metadata checked, the
program started from its desktop entry in an unpacked tree and, when the machine allows it, installed
for real, started from a shell and removed again.

usage: test_package.py <build folder>
The real installation needs root and is skipped when korvelan is already installed (someone's own
copy is left alone) or when KORVELAN_PACKAGE_INSTALL=0.
"""
import fcntl
import glob
import os
import shlex
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from harness import ProgramTestCase  # noqa: E402

BUILD = None
SOURCE_DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources", "data")
DESKTOP_ID = "org.example.korvelan"
MAIN_TITLE = "692 KORVELAN"
ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)
RUNTIME_PACKAGES = ("libqt6widgets6", "libqt6gui6", "libqt6core6", "qt6-qpa-plugins",
                    "fonts-liberation2", "fonts-dejavu-core", "fonts-crosextra-carlito")


def run(*args, **kwargs):
    return subprocess.run(args, capture_output=True, text=True, **kwargs)


def png_size(path):
    with open(path, "rb") as f:
        header = f.read(24)
    assert header[:8] == b"\x89PNG\r\n\x1a\n", f"{path} is no PNG"
    return struct.unpack(">II", header[16:24])


def desktop_entry(path):
    entry = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            if "=" in line and not line.startswith("#"):
                key, value = line.rstrip("\n").split("=", 1)
                entry[key] = value
    return entry


class Package:
    """The package built once for all the tests, in a folder of its own."""
    folder = None
    deb = None

    @classmethod
    def build(cls):
        cls.folder = tempfile.mkdtemp(prefix="korvelan-package-")
        result = run("cpack", "-G", "DEB", "--config", os.path.join(BUILD, "CPackConfig.cmake"), "-B", cls.folder)
        if result.returncode != 0:
            raise RuntimeError(f"cpack failed:\n{result.stdout}\n{result.stderr}")
        debs = glob.glob(os.path.join(cls.folder, "*.deb"))
        if len(debs) != 1:
            raise RuntimeError(f"cpack made {debs}")
        cls.deb = debs[0]

    @classmethod
    def remove(cls):
        if cls.folder:
            shutil.rmtree(cls.folder, ignore_errors=True)


class PackageTestCase(ProgramTestCase):
    def windows(self, name=None, pid=None):
        """Visible windows with that title and of that process: both conditions, not either."""
        args = ["search", "--all", "--onlyvisible"]
        if pid is not None:
            args += ["--pid", str(pid)]
        args += ["--name", f"^{name}$" if name is not None else "."]
        return [line for line in self.xdotool(*args, check=False).splitlines() if line]

    def start(self, command, cwd, env):
        process = subprocess.Popen(command, cwd=cwd, env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        self.processes.append(process)
        return process

    def see_main_window_then_quit(self, process, program_folder):
        window = self.wait_for_window(MAIN_TITLE, pid=process.pid, timeout=20)
        # The launcher replaced itself with the program, started in the folder of its documents.
        self.assertEqual(os.path.realpath(f"/proc/{process.pid}/cwd"), os.path.realpath(program_folder))
        self.assertEqual(os.path.realpath(f"/proc/{process.pid}/exe"),
                         os.path.realpath(os.path.join(program_folder, "korvelan")))
        # "Quitter", then "Oui" in the question box (its default button).
        self.xdotool("mousemove", "--window", window, "636", "629", "click", "1")
        box = self.wait_for_window("Les KORVELAN", pid=process.pid)
        self.press(box, "Return")
        self.assertEqual(process.wait(10), 0, process.stdout.read().decode(errors="replace"))


class UnpackedPackage(PackageTestCase):
    root = None

    @classmethod
    def setUpClass(cls):
        cls.root = tempfile.mkdtemp(prefix="korvelan-root-")
        subprocess.run(["dpkg-deb", "-x", Package.deb, cls.root], check=True)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.root, ignore_errors=True)

    def path(self, *parts):
        return os.path.join(self.root, "usr", *parts)

    def test_control_fields(self):
        fields = run("dpkg-deb", "-f", Package.deb, "Package", "Architecture", "Depends").stdout
        self.assertIn("Package: korvelan", fields)
        depends = fields.split("Depends:", 1)[1].replace("\n ", " ")
        names = {item.strip().split()[0] for group in depends.split(",") for item in group.split("|") if item.strip()}
        for package in RUNTIME_PACKAGES:
            self.assertIn(package, names)
        self.assertFalse([n for n in names if "asan" in n or "-dev" in n], names)

    def test_layout(self):
        for name in ("korvelan", "Licence.rtf", "Resume.rtf"):
            self.assertTrue(os.path.isfile(self.path("lib", "korvelan", name)), name)
        for executable in (self.path("bin", "korvelan"), self.path("lib", "korvelan", "korvelan")):
            self.assertTrue(os.access(executable, os.X_OK), executable)
        # Every file lies under /usr, and the package brings nothing of the build (tests, benchmarks).
        everything = run("dpkg-deb", "-c", Package.deb).stdout.splitlines()
        paths = [line.split()[-1] for line in everything]
        self.assertTrue(all(p.startswith("./usr/") or p == "./" for p in paths), paths)
        self.assertFalse([p for p in paths if "bench" in p or "tst_" in p or p.endswith(".a")], paths)
        for name in ("copyright", "changelog.gz"):
            self.assertTrue(os.path.isfile(self.path("share", "doc", "korvelan", name)), name)
        # The registers of forced values and sources, byte for byte those the program carries.
        for name in ("forced-values.tsv", "sources.tsv"):
            with open(self.path("share", "doc", "korvelan", name), "rb") as installed, \
                    open(os.path.join(SOURCE_DATA, name), "rb") as source:
                self.assertEqual(installed.read(), source.read(), name)

    def test_manual_page_reads_cleanly(self):
        page = self.path("share", "man", "man1", "korvelan.1.gz")
        result = run("man", "--warnings", "-E", "UTF-8", "-l", page, env={**os.environ, "MANWIDTH": "80"})
        self.assertEqual((result.returncode, result.stderr), (0, ""))
        for heading in ("NOM", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "--fiche CODE", "--export FORMAT", "--reel",
                        "forced-values.tsv", "sources.tsv"):
            self.assertIn(heading, result.stdout)

    def test_lintian_finds_no_error(self):
        if not shutil.which("lintian"):
            self.skipTest("lintian is not installed")
        result = run("lintian", "--fail-on", "error", Package.deb)
        tags = [line for line in result.stdout.splitlines() if line[:2] in ("E:", "W:", "I:")]
        if tags:
            print("\nlintian:\n" + "\n".join(tags), file=sys.stderr)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertFalse([t for t in tags if t.startswith("E:")], tags)

    def test_answers_on_a_terminal_through_its_launcher(self):
        # The launcher passes the arguments on; no display is needed for them.
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        for args, first_line in ((["--version"], "Les KORVELAN 1.00"), (["--fiche", "e950"], "FICHE DE L'ADDITIF E950")):
            result = run(self.path("bin", "korvelan"), *args, env=env, cwd=self.root)
            self.assertEqual((result.returncode, result.stderr), (0, ""), args)
            self.assertEqual(result.stdout.splitlines()[0], first_line)

    def test_icons_at_their_sizes(self):
        hicolor = self.path("share", "icons", "hicolor")
        self.assertTrue(os.path.isfile(os.path.join(hicolor, "scalable", "apps", "korvelan.svg")))
        for size in ICON_SIZES:
            png = os.path.join(hicolor, f"{size}x{size}", "apps", "korvelan.png")
            self.assertEqual(png_size(png), (size, size), png)

    def test_desktop_entry_and_metainfo_validate(self):
        desktop = self.path("share", "applications", f"{DESKTOP_ID}.desktop")
        metainfo = self.path("share", "metainfo", f"{DESKTOP_ID}.metainfo.xml")
        entry = desktop_entry(desktop)
        self.assertEqual(entry["Name"], "Les KORVELAN")
        self.assertEqual(entry["Icon"], "korvelan")
        self.assertIn("Education", entry["Categories"].split(";"))
        for tool, args in (("desktop-file-validate", [desktop]), ("appstreamcli", ["validate", "--no-net", metainfo])):
            if not shutil.which(tool):
                self.skipTest(f"{tool} is not installed")
            result = run(tool, *args)
            self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
            self.assertNotIn("error", (result.stdout + result.stderr).lower())

    def test_starts_from_its_desktop_entry(self):
        entry = desktop_entry(self.path("share", "applications", f"{DESKTOP_ID}.desktop"))
        env = self.env()
        env["PATH"] = self.path("bin") + os.pathsep + env.get("PATH", "")
        # A menu starts the entry from the user's home folder, not from the program's.
        home = tempfile.mkdtemp(prefix="korvelan-home-")
        self.addCleanup(shutil.rmtree, home, True)
        process = self.start(shlex.split(entry["Exec"]), home, env)
        self.see_main_window_then_quit(process, self.path("lib", "korvelan"))


def may_install():
    if os.environ.get("KORVELAN_PACKAGE_INSTALL") == "0":
        return "KORVELAN_PACKAGE_INSTALL=0"
    if os.geteuid() != 0 or not shutil.which("dpkg"):
        return "installing needs root and dpkg"
    return None


class InstalledPackage(PackageTestCase):
    """dpkg -i, start from a shell, dpkg -r; one run at a time on the machine."""

    def setUp(self):
        reason = may_install()
        if reason:
            self.skipTest(reason)
        self.lock = open("/run/lock/korvelan-package-test.lock", "w")
        fcntl.flock(self.lock, fcntl.LOCK_EX)
        self.addCleanup(self.lock.close)
        if run("dpkg-query", "-W", "-f=${Status}", "korvelan").stdout.endswith("installed"):
            self.skipTest("korvelan is already installed on this machine; left alone")
        super().setUp()

    def dpkg(self, *args):
        # Another package tool may hold the lock for a moment.
        for _ in range(30):
            result = run("dpkg", *args)
            if "lock" not in result.stderr:
                return result
            time.sleep(1)
        return result

    def test_install_start_remove(self):
        installed = self.dpkg("-i", Package.deb)
        self.addCleanup(self.dpkg, "--purge", "korvelan")
        self.assertEqual(installed.returncode, 0, installed.stdout + installed.stderr)
        self.assertEqual(shutil.which("korvelan"), "/usr/bin/korvelan")
        self.assertEqual(run("man", "-w", "korvelan").stdout.strip(), "/usr/share/man/man1/korvelan.1.gz")

        process = self.start(["sh", "-c", "exec korvelan"], "/", self.env())
        self.see_main_window_then_quit(process, "/usr/lib/korvelan")

        removed = self.dpkg("-r", "korvelan")
        self.assertEqual(removed.returncode, 0, removed.stdout + removed.stderr)
        for path in ("/usr/bin/korvelan", "/usr/lib/korvelan", f"/usr/share/applications/{DESKTOP_ID}.desktop",
                     "/usr/share/man/man1/korvelan.1.gz",
                     "/usr/share/icons/hicolor/scalable/apps/korvelan.svg"):
            self.assertFalse(os.path.exists(path), path)


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    BUILD = os.path.abspath(sys.argv.pop(1))
    Package.build()
    try:
        suite = unittest.TestSuite()
        for case in (UnpackedPackage, InstalledPackage):
            suite.addTests(unittest.defaultTestLoader.loadTestsFromTestCase(case))
        result = unittest.TextTestRunner(verbosity=2).run(suite)
    finally:
        Package.remove()
    sys.exit(0 if result.wasSuccessful() else 1)

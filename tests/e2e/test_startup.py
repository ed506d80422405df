"""The program started as a user starts it: twice in a row, and the second start refused; over a lock
file left behind; without a display; on a screen smaller than its window."""
import os
import resource
import subprocess
import tempfile
import time

from harness import ProgramTestCase, main


class SingleInstance(ProgramTestCase):
    def test_second_start_shows_the_warning_and_ends(self):
        first = self.start_program()
        # The first instance has its lock as soon as its splash window appears.
        deadline = time.monotonic() + 10
        while not self.windows(pid=first.pid) and time.monotonic() < deadline:
            time.sleep(0.05)
        self.assertTrue(self.windows(pid=first.pid), "the first instance shows no window")

        second = self.start_program()
        box = self.wait_for_window("Les KORVELAN", pid=second.pid)
        self.screenshot("second-start")
        # Nothing but the box: the second instance creates no other window.
        self.assertEqual(self.windows(pid=second.pid), [box])

        self.press(box, "Return")
        self.assertEqual(second.wait(10), 0)
        self.assertIsNone(first.poll(), "the first instance ended too")
        self.assertTrue(self.windows(pid=first.pid), "the first instance lost its windows")

    def test_an_empty_lock_file_left_behind_does_not_stop_the_start(self):
        # What a full disk or a crash at the wrong moment leaves, with no instance running.
        open(os.path.join(self.runtime, "korvelan.lock"), "wb").close()
        program = self.start_program()
        self.wait_for_window("692 KORVELAN", pid=program.pid)


class HostileStart(ProgramTestCase):
    """Started with its standard streams closed, or over something at the lock path that is not a lock
    file of its own: the window still comes, and nothing of the user's is written over."""

    def lock_path(self):
        return os.path.join(self.runtime, "korvelan.lock")

    def test_window_comes_whatever_stands_at_the_lock_path(self):
        precious = os.path.join(self.runtime, "precious.txt")
        # what stands at the lock path, the descriptors closed, the reason written (None: no message)
        cases = [
            # The message on the lock would go into whatever took the place of standard error.
            ("folder, standard error closed", "folder", (2,), None),
            ("nothing, all three streams closed", None, (0, 1, 2), None),
            ("FIFO readable only by its owner", "fifo", (), "le chemin n'est pas un fichier ordinaire"),
            ("hard link to a file of the user", "hard link", (), "le fichier a un autre nom (lien physique)"),
        ]
        for case, what, closed, reason in cases:
            with self.subTest(case):
                with open(precious, "w") as f:
                    f.write("a file the user cares about\n")
                if what == "folder":
                    os.mkdir(self.lock_path())
                elif what == "fifo":
                    os.mkfifo(self.lock_path(), 0o400)
                elif what == "hard link":
                    os.link(precious, self.lock_path())
                program = self.start_program(closed)
                try:
                    self.wait_for_window("692 KORVELAN", pid=program.pid, timeout=15)
                finally:
                    program.kill()
                    program.wait()
                    if os.path.isdir(self.lock_path()):
                        os.rmdir(self.lock_path())
                    elif os.path.lexists(self.lock_path()):
                        os.unlink(self.lock_path())
                with open(precious) as f:
                    self.assertEqual(f.read(), "a file the user cares about\n")
                if reason:
                    with open(self.program_log(program)) as f:
                        self.assertIn(f"({reason})", f.read())


class HostileDocument(ProgramTestCase):
    def test_a_document_of_the_largest_spacings_leaves_the_window_answering(self):
        # 72 KB: 2,000 paragraphs of one letter, each with the largest spacing a writer may ask for.
        folder = tempfile.mkdtemp(dir=self.runtime)
        with open(os.path.join(folder, "Resume.rtf"), "wb") as f:
            f.write(b"{\\rtf1\\ansi " + b"\\pard\\sb31680\\sa31680\\sl31680 x\\par\n" * 2000 + b"}")
        program = self.start_program(folder=folder)
        window = self.wait_for_window("692 KORVELAN", pid=program.pid)
        x, y, _, _ = self.window_geometry(window)
        # The information page, which shows the document, and back to the list page, whose title
        # tells that both clicks were answered.
        for tab in (270, 54):
            self.click(x + tab, y + 626)
            time.sleep(0.3)
        self.wait_until(lambda: self.window_name(window) == "Les KORVELAN", "the window does not answer", timeout=5)


class NoDisplay(ProgramTestCase):
    def run_without_display(self, **variables):
        """Runs the program from an empty working folder, with core files allowed; returns its exit
        code, what it wrote on standard error and what the folder holds afterwards."""
        folder = tempfile.mkdtemp(dir=self.runtime)
        env = self.env()
        for variable in ("DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "QT_QPA_PLATFORM"):
            env.pop(variable, None)
        env.update(variables)

        def allow_core_files():
            hard = resource.getrlimit(resource.RLIMIT_CORE)[1]
            resource.setrlimit(resource.RLIMIT_CORE, (hard, hard))

        result = subprocess.run([self.executable], cwd=folder, env=env, capture_output=True, timeout=30,
                                preexec_fn=allow_core_files)
        return result.returncode, result.stderr.decode("utf-8", "replace"), os.listdir(folder)

    def test_ends_with_a_french_message_and_no_core_file(self):
        for case, variables in (("no display", {}), ("platform that cannot start", {"QT_QPA_PLATFORM": "nosuch"})):
            with self.subTest(case):
                status, error, files = self.run_without_display(**variables)
                self.assertEqual(status, 1, error)
                self.assertIn("Les KORVELAN ne peut pas démarrer : ", error)
                self.assertEqual(files, [], "the program left files in its working folder")


class SmallScreen(ProgramTestCase):
    screen = (800, 600)

    def test_windows_stay_within_reach(self):
        program = self.start_program()
        splash = self.wait_until(lambda: self.windows(pid=program.pid), "no splash window", timeout=10)[0]
        # The splash window fits: centred, a quarter of the free height from the top.
        self.assertEqual(self.window_geometry(splash)[:2], (218, 78))
        main_window = self.wait_for_window("692 KORVELAN", pid=program.pid)
        # The main window does not: its caption and left edge stay on the screen.
        self.assertEqual(self.window_geometry(main_window)[:2], (0, 0))


class NetbookScreen(ProgramTestCase):
    screen = (1024, 600)

    def test_window_fits_and_its_tab_row_is_reached_by_scrolling(self):
        program = self.start_program()
        window = self.wait_for_window("692 KORVELAN", pid=program.pid)
        x, y, width, height = self.window_geometry(window)
        self.assertLessEqual(x + width, 1024)
        self.assertLessEqual(y + height, 600)
        # The wheel over the scroll bar along the right edge brings the bottom of the window into
        # view; the tab row is then 80 pixels higher than in a window of full height.
        self.xdotool("mousemove", str(x + width - 5), str(y + height // 2))
        self.xdotool("click", "--repeat", "5", "--delay", "50", "5")
        time.sleep(0.3)
        self.screenshot("scrolled")
        content_height = 652
        self.click(x + 54, y + 626 - (content_height - height))
        self.wait_until(lambda: self.window_name(window) == "Les KORVELAN", "the tab Lister was not reached")


if __name__ == "__main__":
    main([SingleInstance, HostileStart, HostileDocument, NoDisplay, SmallScreen, NetbookScreen])

"""The program started as a user starts it: twice in a row, and the second start refused."""
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


if __name__ == "__main__":
    main([SingleInstance])

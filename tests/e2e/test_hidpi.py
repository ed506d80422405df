"""The program on a screen with two device pixels to the logical one (QT_SCALE_FACTOR=2): the same
layout at twice the size, with the pictures drawn from their @2x files rather than blown up."""
import os
import subprocess
import time

from harness import ProgramTestCase, colours_in, different_pixels, main

PICTURES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources", "pictures")


def picture(name):
    return os.path.join(PICTURES, name)


class HighDpi(ProgramTestCase):
    screen = (3840, 2160)
    scale = 2

    def flattened(self, *names, background="#E0E0E0"):
        """Pictures with transparency laid one over the other on the page's background, as the
        window shows them."""
        path = os.path.join(self.runtime, "flat-" + "-".join(names))
        subprocess.run(["convert", "-background", background, *(picture(name) for name in names), "-flatten", path],
                       check=True)
        return path

    def assert_drawn_from(self, screenshot, x, y, sharp, plain, what):
        """The region at (x, y) is the @2x picture `sharp`, and not the 1x `plain` blown up."""
        blown_up = os.path.join(self.runtime, f"blown-{os.path.basename(plain)}")
        subprocess.run(["convert", plain, "-resize", "200%", blown_up], check=True)
        size = subprocess.run(["identify", "-format", "%w %h", sharp], capture_output=True, text=True,
                              check=True).stdout.split()
        pixels = int(size[0]) * int(size[1])
        # A pixel or two of offset is the layout's rounding, not a fault of the picture.
        from_sharp = different_pixels(screenshot, x, y, sharp, slack=3)
        from_blown_up = different_pixels(screenshot, x, y, blown_up, slack=3)
        self.assertLess(from_sharp, pixels // 50, f"the {what} is not the @2x picture ({from_sharp} pixels differ)")
        self.assertGreater(from_blown_up, from_sharp * 3 + pixels // 100, f"the {what} looks blown up")

    def screenshot_showing(self, label, window, dx, dy, reference, what, timeout=8.0):
        """A screenshot taken once `window` has painted the picture `reference` at (dx, dy) inside it;
        returns it with the picture's place on the screen. When that never happens, the last one taken
        is returned and the assertion that follows says how far it is. A busy machine may catch the
        window half painted, or before it is moved to its place, so the window's place is read again
        with each screenshot."""
        width, height = (int(value) for value in subprocess.run(
            ["identify", "-format", "%w %h", reference], capture_output=True, text=True, check=True).stdout.split())
        deadline = time.monotonic() + timeout
        while True:
            x, y, _, _ = self.window_geometry(window)
            x, y = x + dx, y + dy
            path = self.screenshot(label)
            painted = colours_in(path, x, y, width, height) > 16
            if painted and different_pixels(path, x, y, reference, slack=3) < width * height // 50:
                return path, x, y
            if time.monotonic() > deadline:
                if not painted:
                    self.fail(f"the window shows no {what} (after {timeout} s; screen in {path})")
                return path, x, y
            time.sleep(0.05)

    def test_twice_the_size_and_sharp_pictures(self):
        program = self.start_program()
        splash = self.wait_until(lambda: self.windows(pid=program.pid), "no splash window", timeout=10)[0]
        x, y, width, height = self.window_geometry(splash)
        self.assertEqual((width, height), (730, 574), "the splash window is not twice its size")
        # The logo lies 8 by 20 logical pixels into the window; wait until it is painted.
        logo = picture("logo_splash@2x.png")
        shot, x, y = self.screenshot_showing("splash", splash, 16, 40, logo, "splash logo")
        self.assert_drawn_from(shot, x, y, logo, picture("logo_splash.png"), "splash logo")

        main_window = self.wait_for_window("692 KORVELAN", pid=program.pid)
        x, y, width, height = self.window_geometry(main_window)
        self.assertEqual((x, y, width, height), (916, 400, 1992, 1304), "the main window is not twice its size")
        # The mark of the chosen option, bottom left of the list page (16, 548 logical pixels).
        # The mark lies over its ring, which shows through the mark's soft edge.
        mark = self.flattened("option_off@2x.png", "option_on@2x.png")
        shot, mark_x, mark_y = self.screenshot_showing("list-page", main_window, 32, 1096, mark, "option mark")
        self.assert_drawn_from(shot, mark_x, mark_y, mark, self.flattened("option_off.png", "option_on.png"),
                               "option mark")

        # The about page: its logo at 24, 20 logical pixels.
        self.xdotool("windowfocus", "--sync", main_window)
        self.click(x + 2 * 378, y + 2 * 626)
        logo = picture("logo_about@2x.png")
        shot, x, y = self.screenshot_showing("about-page", main_window, 48, 40, logo, "about logo")
        self.assert_drawn_from(shot, x, y, logo, picture("logo_about.png"), "about logo")


if __name__ == "__main__":
    main([HighDpi])

"""A person's session with the program, with the mouse: start, the lists and their options, a row,
the risk legend, the search page, the two documents and the quit question.

What is on the screen is read from the accessibility tree, as a screen reader reads it, and kept as
screenshots in the artefact folder.
"""
import subprocess
import time

from accessibility import Atspi, Tree
from harness import ProgramTestCase, colours_in, main

MAIN_SIZE = (996, 652)
MAIN_PLACE = (458, 200)
SPLASH_SIZE = (365, 287)


class Session(ProgramTestCase):
    """Helpers of a session with the program, read through the accessibility tree."""

    accessible = True

    def start(self):
        """Starts the program and waits for its main window; checks the splash window on the way."""
        self.program = self.start_program()
        splash = self.wait_until(lambda: self.windows(pid=self.program.pid), "no splash window", timeout=10)[0]
        x, y, width, height = self.window_geometry(splash)
        self.assertEqual((width, height), SPLASH_SIZE, "the splash window has not its size")
        # The window is mapped a moment before it is painted; it must not stay empty.
        self.wait_until(lambda: colours_in(self.screenshot("splash"), x, y, width, height) > 20,
                        "the splash window is empty", timeout=3)

        self.main_window = self.wait_for_window("692 KORVELAN", pid=self.program.pid)
        self.assertEqual(self.windows(pid=self.program.pid), [self.main_window], "the splash window stayed")
        self.assertEqual(self.window_geometry(self.main_window), (*MAIN_PLACE, *MAIN_SIZE))
        icon = self.x_client(["xprop", "-id", self.main_window, "-notype", "_NET_WM_ICON"])
        self.assertIn("Icon (32 x 32)", icon, "the main window has no icon for the task bar")
        self.tree = Tree(self.program.pid)
        self.frame = self.tree.window("692 KORVELAN")
        self.xdotool("windowfocus", "--sync", self.main_window)

    def x_client(self, command):
        """The output of another X client run on the test's display."""
        return subprocess.run(command, env=self.env(), capture_output=True, text=True).stdout

    def box_node(self, name):
        """A detail box, found by its accessible name."""
        for node in self.frame.walk():
            if node.role == "text" and node.name == name:
                return node
        self.fail(f"no detail box {name!r}")

    def box(self, name):
        """The text of a detail box, found by its accessible name."""
        return self.box_node(name).text

    def title(self):
        return self.frame.name

    def shown_list(self):
        lists = [node for node in self.frame.find_all("list") if node.name.startswith("Additifs")]
        self.assertEqual(len(lists), 1, f"one list should be shown, not {lists}")
        return lists[0]

    def message_box(self, title="Les KORVELAN"):
        """The message box that is open: its X window and its text."""
        # On the search page the main window is titled "Les KORVELAN" too: the box is the other one.
        window = self.wait_until(lambda: [w for w in self.windows(title, self.program.pid) if w != self.main_window],
                                 f"no message box {title!r}")[0]
        dialog = self.tree.window(title, roles=("dialog", "alert"))
        text = "\n".join(node.name for node in dialog.walk() if node.role == "label" and node.name)
        self.message_dialog = dialog
        return window, text

    def close_message_box(self, window, key="Return"):
        """Closes the open message box with a key, once it has the keyboard as a person sees it."""
        self.xdotool("windowfocus", "--sync", window)
        self.wait_until(lambda: self.message_dialog.has(Atspi.StateType.ACTIVE), "the message box is not active")
        self.keys(key)
        self.wait_until(lambda: window not in self.windows(pid=self.program.pid), "the message box stayed open")
        # The display has no window manager to hand the keyboard back to the main window.
        self.xdotool("windowfocus", "--sync", self.main_window)

    def assert_page_shows_something(self, label, node):
        """The part of the screenshot where `node` lies is not one flat colour."""
        picture = self.screenshot(label)
        x, y, width, height = node.extents()
        self.assertGreater(colours_in(picture, x, y, width, height), 4, f"{node} looks empty on the screen")

    def quit_program(self):
        """Quit answered No, then Yes: the program ends about half a second after Yes."""
        self.click_node(self.frame.find("push button", "Quitter"))
        window, text = self.message_box()
        self.assertIn("Quitter le programme ?", text)
        self.screenshot("quit-question")
        self.close_message_box(window, "Escape")  # Escape answers No
        time.sleep(0.8)  # longer than the end of the program would take
        self.assertIsNone(self.program.poll(), "No ended the program")
        self.assertEqual(self.windows(pid=self.program.pid), [self.main_window])

        self.click_node(self.frame.find("push button", "Quitter"))
        window, _ = self.message_box()
        self.xdotool("windowfocus", "--sync", window)
        self.wait_until(lambda: self.message_dialog.has(Atspi.StateType.ACTIVE), "the message box is not active")
        self.keys("Return")  # Oui is the default button
        answered = time.monotonic()
        self.assertEqual(self.program.wait(5), 0)
        elapsed = time.monotonic() - answered
        self.assertGreater(elapsed, 0.35, "the program ended before its half second")
        self.assertLess(elapsed, 1.5, "the program took too long to end")


class Browsing(Session):
    def test_lists_legend_documents_and_quit(self):
        self.start()
        self.assertEqual(self.box("Numéro"), "E100")
        self.assertEqual(self.box("Nom"), "Curcumine")
        # TxtADD(6) shows the "Interdit" that the database's format forces; a screen reader also hears
        # the real value and its source.
        eu = self.box_node("Autorisé UE")
        self.assertEqual(eu.text, "Interdit")
        self.assertIn("Oui", eu.description)
        self.assertIn("1333/2008", eu.description)
        self.assertEqual(self.shown_list().name, "Additifs par numéro")
        self.assertEqual(self.shown_list().child_count(), 692)
        self.assert_page_shows_something("start", self.shown_list())

        # The alphabetical order, then the additives authorised in the EU.
        self.click_node(self.frame.find("check box", "Ordre alphabét."))
        self.wait_until(lambda: self.box("Numéro") == "E950", "the alphabetical order does not show E950")
        self.assertEqual(self.shown_list().name, "Additifs par ordre alphabétique")
        self.assertTrue(self.shown_list().child(0).name.startswith("E950     Acésulfate de potassi..."))
        self.click_node(self.frame.find("check box", "Autorisé dans l'UE"))
        self.wait_until(lambda: self.title() == "195 additifs autorisés dans l'UE", "no count in the title")
        self.assertEqual(self.window_name(self.main_window), "195 additifs autorisés dans l'UE")
        flags = self.shown_list()
        self.assertEqual(flags.child_count(), 195)
        self.assert_page_shows_something("eu-list", flags)

        # A row clicked: the panel shows that additive.
        row = flags.child(3)
        number = row.name.split()[0]
        self.click_node(row)
        self.wait_until(lambda: self.box("Numéro") == number, f"the panel does not show {number}")
        self.assertEqual(self.box("Autorisé UE"), "Oui")
        self.screenshot("row-chosen")

        # The legend of the risk classes, opened and closed.
        self.click_node(self.frame.find("push button", "Légende des classes de risque"))
        window, text = self.message_box()
        self.assertIn("1 = Additifs considérés à ce jour comme inoffensifs. Sans danger.", text)
        self.assertIn("4 = Additifs dangereux et toxiques pour la santé.", text)
        self.screenshot("risk-legend")
        self.close_message_box(window)

        # The information page and the about page show their documents.
        for tab, document in (("Information", "Informations sur les additifs"), ("A propos", "Licence et crédits")):
            self.click_node(self.frame.find("push button", tab))
            view = self.wait_until(lambda: self.frame.find("label", document), f"the page {tab} is not shown")
            self.assertGreater(len(view.text.strip()), 200, f"the document of the page {tab} is missing")
            self.assert_page_shows_something(f"page-{tab.replace(' ', '-')}", view)
        self.assertEqual(self.box("Numéro"), "", "the detail panel was not emptied")

        self.quit_program()

    def test_search_page(self):
        self.start()
        self.click_node(self.frame.find("push button", "Rechercher"))
        combo = self.wait_until(lambda: self.frame.find("combo box"), "no search page")
        self.wait_until(lambda: combo.focused, "the search field has not the focus")
        self.assertEqual(self.title(), "Les KORVELAN")

        # ac offers nine keywords; acide chosen among them finds 84 additives.
        self.type_text("ac")
        suggestions = self.frame.find("list", "Mots clés proposés")
        self.wait_until(lambda: suggestions.child_count() == 9, "ac does not offer nine keywords")
        self.assertEqual(suggestions.rows()[-1], "acide")
        self.screenshot("suggestions")
        self.click_node(suggestions.child(8))
        results = self.frame.find("list", "Additifs trouvés")
        self.wait_until(lambda: results.child_count() == 84, "acide does not find 84 additives")
        count = self.frame.find("label", "84 additifs trouvés.")
        self.assertIsNotNone(count, "the count of the results is not shown")
        self.assertEqual(suggestions.rows(), ["acide"])
        first = results.child(0).name.split()[0]
        self.assertEqual(self.box("Numéro"), first, "the panel does not show the first additive found")
        self.assert_page_shows_something("acide", results)

        # An é is refused with the information box and taken out of the word.
        self.xdotool("windowfocus", "--sync", self.main_window)
        self.keys("End", "eacute")
        window, text = self.message_box()
        self.assertTrue(text.startswith("Seuls les caractères:"), text)
        self.assertIn("sont autorisés.", text)
        self.screenshot("accent-refused")
        self.close_message_box(window)
        self.wait_until(lambda: combo.child(1).text == "acide" if combo.child_count() > 1 else False,
                        "the é was not taken out of the word")

        # A second search, then the history in the drop-down list, ordered.
        self.xdotool("windowfocus", "--sync", self.main_window)
        self.keys("ctrl+a")
        self.type_text("zinc")
        self.keys("Return")
        self.wait_until(lambda: self.frame.find("label", "Un additif trouvé.") or
                        self.frame.find_all("label") and any(n.name.endswith("additifs trouvés.") and n.name != "84 additifs trouvés." for n in self.frame.find_all("label")),
                        "zinc was not searched")
        self.keys("alt+Down")
        popup = self.wait_until(lambda: [n for n in self.frame.walk(into_composites=True)
                                         if n.role == "list" and n.name == "" and n.showing], "no history list")
        self.screenshot("history")
        self.assertEqual(popup[0].rows(), ["acide", "zinc"])
        self.keys("Escape")

        self.quit_program()


if __name__ == "__main__":
    main([Browsing])

"""The program used from the keyboard alone and read as a screen reader reads it."""
import time

from accessibility import Atspi
from harness import main
from test_browse import Session

# Roles that a person acts on or reads a value from: each must say what it is.
NAMED_ROLES = {"push button", "check box", "radio button", "toggle button", "list", "combo box", "text",
               "image", "frame", "dialog", "page tab"}
# The program's own control names: a screen reader must never read these.
CONTROL_PREFIXES = ("Cmd", "Txt", "Lst", "Cbo", "Img", "Lbl", "Fra", "Rtb", "Foc", "Tim", "Lin")

LIST_PAGE_ORDER = [
    "Fenêtre principale", "Lister", "Rechercher", "Information", "A propos", "Quitter",
    "Numéro d'additif", "Ordre alphabét.", "Autorisé dans l'UE", "Autorisé en France", "Autorisé en bio",
    "Autorisé nourrisson", "D'origine animale", "Considéré halal", "Additifs par numéro",
    "Légende des classes de risque", "Légende de la DJA",
    "Numéro", "Nom", "Catégorie", "Synonymes", "Risque", "DJA", "Naturel ou chimique", "Autorisé UE",
    "Autorisé FR", "Autorisé AB", "Origine AN", "Autorisé BB", "Halal", "Utilisation", "Groupes à risques",
    "Symptômes",
]


class Keyboard(Session):
    def focused(self):
        return self.wait_until(self.frame.focused_descendant, "nothing has the keyboard focus")

    def focus_name(self, expected, role=None):
        """Waits until the control named `expected` (or the only one of that role) has the focus."""
        def reached():
            node = self.frame.focused_descendant()
            return node is not None and (node.role == role if role else node.name == expected)
        self.wait_until(reached, f"the focus did not reach {expected or role!r} (it is on {self.frame.focused_descendant()})")

    def tab_to(self, name, limit=40, key="Tab"):
        """Presses Tab until the control named `name` has the focus."""
        for _ in range(limit):
            node = self.frame.focused_descendant()
            if node is not None and node.name == name:
                return node
            self.keys(key)
        self.fail(f"Tab never reached {name!r}")

    def test_every_control_has_a_french_name(self):
        self.start()
        unnamed, program_names = [], []
        for tab in ("Lister", "Rechercher", "Information", "A propos"):
            self.click_node(self.frame.find("push button", tab))
            self.wait_until(lambda: self.frame.find("frame", f"Page {tab}"), f"the page {tab} is not shown")
            for node in self.frame.walk():
                if node.role in NAMED_ROLES or node.focusable:
                    if not node.name.strip():
                        unnamed.append(f"{tab}: {node.role}")
                    elif node.name.startswith(CONTROL_PREFIXES):
                        program_names.append(f"{tab}: {node}")
        self.assertEqual(unnamed, [], "controls without an accessible name")
        self.assertEqual(program_names, [], "controls named by their internal names")

        # A few exact names and descriptions, as a screen reader says them.
        self.assertEqual(self.frame.role, "frame")
        self.assertEqual(self.frame.name, "Les KORVELAN")
        tab = self.frame.find("push button", "Rechercher")
        self.assertEqual(tab.description, "Outil de recherche")
        self.assertEqual(self.frame.find("push button", "Quitter").description, "Quitter le programme")
        self.assertEqual(self.frame.find("push button", "Fenêtre principale", showing_only=False).role,
                         "push button")
        self.click_node(self.frame.find("push button", "Lister"))
        legend = self.wait_until(lambda: self.frame.find("push button", "Légende des classes de risque"),
                                 "no risk legend")
        self.assertEqual(legend.description, "Plus d'informations")
        ring = self.frame.find("check box", "Numéro d'additif")
        self.assertTrue(ring.has(Atspi.StateType.CHECKED), "the chosen option is not announced as checked")
        self.assertFalse(self.frame.find("check box", "Ordre alphabét.").has(Atspi.StateType.CHECKED))
        self.quit_program()

    def test_keys_only(self):
        self.start()
        self.focus_name("Fenêtre principale")

        # The keyboard order of the list page.
        order = []
        for _ in LIST_PAGE_ORDER:
            order.append(self.focused().name)
            self.keys("Tab")
        self.assertEqual(order, LIST_PAGE_ORDER)

        # An option chosen with the keyboard; the focus goes back to the start of the window.
        self.keys("shift+Tab")
        self.tab_to("Autorisé dans l'UE", key="shift+Tab")
        self.keys("space")
        self.wait_until(lambda: self.title() == "195 additifs autorisés dans l'UE", "no count in the title")
        self.focus_name("Fenêtre principale")

        # Rows chosen with the arrow keys.
        self.tab_to("Additifs choisis par l'option d'affichage")
        flags = self.shown_list()
        # The list takes the focus on its first row: the first Down chooses it, the arrows go from there.
        self.keys("Down")
        first = flags.child(0).name.split()[0]
        self.wait_until(lambda: self.box("Numéro") == first, "Down does not show the first row")
        self.keys("Down", "Down", "Up")
        second = flags.child(1).name.split()[0]
        self.wait_until(lambda: self.box("Numéro") == second, "the arrows do not show the second row")
        self.keys("End")
        last = flags.child(flags.child_count() - 1).name.split()[0]
        self.wait_until(lambda: self.box("Numéro") == last, "End does not show the last row")
        self.keys("Home")
        self.wait_until(lambda: self.box("Numéro") == first, "Home does not show the first row")
        self.screenshot("keys-row")

        # The legend opened with Enter and closed with Escape.
        self.tab_to("Légende des classes de risque")
        self.keys("Return")
        window, text = self.message_box()
        self.assertIn("4 = Additifs dangereux et toxiques pour la santé.", text)
        self.close_message_box(window, "Escape")
        self.focus_name("Légende des classes de risque")

        # The search: a suggestion chosen from the keyboard, then a word searched with Enter.
        self.tab_to("Rechercher")
        self.keys("Return")
        self.focus_name(None, role="combo box")
        self.type_text("acid")
        self.keys("Tab")
        # Tab only brings the focus to the suggestions; Space chooses the current one.
        self.focus_name("Mots clés proposés")
        self.assertIsNone(self.frame.find("label", "84 additifs trouvés."), "Tab alone ran a search")
        self.keys("space")
        results = self.frame.find("list", "Additifs trouvés")
        self.wait_until(lambda: results.child_count() == 84, "acide chosen from the keyboard finds nothing")
        self.assertIsNotNone(self.frame.find("label", "84 additifs trouvés."))
        self.focus_name(None, role="combo box")  # the search gives the focus back to the word
        self.keys("ctrl+a")
        self.type_text("curcumine")
        self.keys("Return")
        self.wait_until(lambda: self.frame.find("label", "2 additifs trouvés."), "Enter does not search")
        # The history, stepped through with the arrow keys, and searched again with Enter.
        self.keys("Up")
        self.wait_until(lambda: self.frame.find("label", "2 additifs trouvés.") is None,
                        "choosing a history word leaves the old count")
        self.keys("Return")
        self.wait_until(lambda: self.frame.find("label", "84 additifs trouvés."), "the history word is not searched")
        self.screenshot("keys-search")

        # A document page, then the quit question answered from the keyboard.
        self.tab_to("Information", key="shift+Tab")
        self.keys("space")
        view = self.wait_until(lambda: self.frame.find("label", "Informations sur les additifs"), "no information")
        self.assertGreater(len(view.text), 200)
        self.tab_to("Quitter")
        self.keys("Return")
        window, text = self.message_box()
        self.assertIn("Quitter le programme ?", text)
        self.close_message_box(window, "Escape")
        self.focus_name("Fenêtre principale")
        self.tab_to("Quitter")
        self.keys("space")
        window, _ = self.message_box()
        self.xdotool("windowfocus", "--sync", window)
        self.wait_until(lambda: self.message_dialog.has(Atspi.StateType.ACTIVE), "the question is not active")
        self.keys("Return")
        self.assertEqual(self.program.wait(5), 0)


if __name__ == "__main__":
    main([Keyboard])

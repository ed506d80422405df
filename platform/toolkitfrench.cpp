#include "toolkitfrench.h"

#include <array>
#include <cstring>

namespace korvelan {
namespace {

// The texts as the toolkit's French catalogue words them (checked against it by the tests).
constexpr std::array kTexts = std::to_array<ToolkitText>({
    // Left to right: the layout direction the toolkit reads from its translation.
    {"QGuiApplication", "QT_LAYOUT_DIRECTION", u"LTR"},
    // The menu of a line edit, editable or read-only.
    {"QLineEdit", "&Undo", u"&Annuler"},
    {"QLineEdit", "&Redo", u"&Rétablir"},
    {"QLineEdit", "Cu&t", u"Co&uper"},
    {"QLineEdit", "&Copy", u"Cop&ier"},
    {"QLineEdit", "&Paste", u"Co&ller"},
    {"QLineEdit", "Delete", u"Supprimer"},
    {"QLineEdit", "Select All", u"Tout sélectionner"},
    // The menu of the text fields and of the documents.
    {"QWidgetTextControl", "&Undo", u"&Annuler"},
    {"QWidgetTextControl", "&Redo", u"&Rétablir"},
    {"QWidgetTextControl", "Cu&t", u"Co&uper"},
    {"QWidgetTextControl", "&Copy", u"Cop&ier"},
    {"QWidgetTextControl", "Copy &Link Location", u"Copier l'adresse du &lien"},
    {"QWidgetTextControl", "&Paste", u"Co&ller"},
    {"QWidgetTextControl", "Delete", u"Supprimer"},
    {"QWidgetTextControl", "Select All", u"Tout sélectionner"},
    // The menu of a scroll bar, vertical or horizontal.
    {"QScrollBar", "Scroll here", u"Défiler jusqu'ici"},
    {"QScrollBar", "Left edge", u"Bord gauche"},
    {"QScrollBar", "Top", u"Haut"},
    {"QScrollBar", "Right edge", u"Bord droit"},
    {"QScrollBar", "Bottom", u"Bas"},
    {"QScrollBar", "Page left", u"Page précédente"},
    {"QScrollBar", "Page up", u"Page précédente"},
    {"QScrollBar", "Page right", u"Page suivante"},
    {"QScrollBar", "Page down", u"Page suivante"},
    {"QScrollBar", "Scroll left", u"Défiler vers la gauche"},
    {"QScrollBar", "Scroll up", u"Défiler vers le haut"},
    {"QScrollBar", "Scroll right", u"Défiler vers la droite"},
    {"QScrollBar", "Scroll down", u"Défiler vers le bas"},
    // The keys of the shortcuts written in those menus.
    {"QShortcut", "Ctrl", u"Ctrl"},
    {"QShortcut", "Shift", u"Maj"},
    {"QShortcut", "Alt", u"Alt"},
    {"QShortcut", "Meta", u"Méta"},
    {"QShortcut", "+", u"+"},
    {"QShortcut", "Del", u"Suppr"},
    {"QShortcut", "Ins", u"Inser"},
    // The buttons of a message box, should the toolkit name them.
    {"QPlatformTheme", "OK", u"OK"},
    {"QPlatformTheme", "&Yes", u"&Oui"},
    {"QPlatformTheme", "&No", u"&Non"},
    // The command line's errors.
    {"QCommandLineParser", "Unknown option '%1'.", u"Option inconnue \"%1\"."},
    {"QCommandLineParser", "Unknown options: %1.", u"Options inconnues : %1."},
    {"QCommandLineParser", "Missing value after '%1'.", u"Valeur manquante après \"%1\"."},
    {"QCommandLineParser", "Unexpected value after '%1'.", u"Valeur inattendue après \"%1\"."},
    // The actions a screen reader names, and their descriptions.
    {"QAccessibleActionInterface", "Press", u"Appuyer"},
    {"QAccessibleActionInterface", "Increase", u"Augmenter"},
    {"QAccessibleActionInterface", "Decrease", u"Diminuer"},
    {"QAccessibleActionInterface", "ShowMenu", u"Afficher le menu"},
    {"QAccessibleActionInterface", "SetFocus", u"Définir le focus"},
    {"QAccessibleActionInterface", "Toggle", u"Basculer"},
    {"QAccessibleActionInterface", "Scroll Left", u"Défiler vers la gauche"},
    {"QAccessibleActionInterface", "Scroll Right", u"Défiler vers la droite"},
    {"QAccessibleActionInterface", "Scroll Up", u"Défiler vers le haut"},
    {"QAccessibleActionInterface", "Scroll Down", u"Défiler vers le bas"},
    {"QAccessibleActionInterface", "Previous Page", u"Page précédente"},
    {"QAccessibleActionInterface", "Next Page", u"Page suivante"},
    {"QAccessibleActionInterface", "Triggers the action", u"Déclenche l'action"},
    {"QAccessibleActionInterface", "Increase the value", u"Augmenter la valeur"},
    {"QAccessibleActionInterface", "Decrease the value", u"Diminuer la valeur"},
    {"QAccessibleActionInterface", "Shows the menu", u"Affiche le menu"},
    {"QAccessibleActionInterface", "Sets the focus", u"Donne le focus"},
    {"QAccessibleActionInterface", "Toggles the state", u"Bascule l'état"},
    {"QAccessibleActionInterface", "Scrolls to the left", u"Défile vers la gauche"},
    {"QAccessibleActionInterface", "Scrolls to the right", u"Défile vers la droite"},
    {"QAccessibleActionInterface", "Scrolls up", u"Défile vers le haut"},
    {"QAccessibleActionInterface", "Scrolls down", u"Défile vers le bas"},
    {"QAccessibleActionInterface", "Goes back a page", u"Revient à la page précédente"},
    {"QAccessibleActionInterface", "Goes to the next page", u"Va à la page suivante"},
});

} // namespace

std::span<const ToolkitText> toolkitFrenchTexts()
{
    return kTexts;
}

QString ToolkitFrench::translate(const char *context, const char *sourceText, const char *, int) const
{
    if (!context || !sourceText)
        return {};
    for (const ToolkitText &text : kTexts)
        if (std::strcmp(text.context, context) == 0 && std::strcmp(text.source, sourceText) == 0)
            return QString::fromUtf16(text.french);
    // Not ours: the toolkit keeps its English text.
    return {};
}

} // namespace korvelan

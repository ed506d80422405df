#pragma once

#include <QString>

namespace korvelan {

enum class MessageIcon { None, Critical, Warning, Information, Question };
enum class MessageButtons { Ok, YesNo }; // with Yes and No, Yes is the default button
enum class MessageAnswer { Ok, Yes, No };

// Every message box of the program goes through this one interface, so that tests can note each
// box and answer it.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows a modal box and returns the button pressed.
    virtual MessageAnswer show(MessageIcon icon, const QString &title, const QString &text, MessageButtons buttons) = 0;
};

// The real boxes: modal QMessageBox dialogs with their buttons in French.
class DialogMessageBoxes : public MessageBoxes {
public:
    // Needs the application object: looks up the boxes' icons once, at start (see the definition).
    DialogMessageBoxes();
    MessageAnswer show(MessageIcon icon, const QString &title, const QString &text, MessageButtons buttons) override;
};

} // namespace korvelan

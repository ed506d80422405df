#include "messagebox.h"

#include "geometry.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>

using namespace Qt::StringLiterals;

namespace korvelan {
namespace {

QMessageBox::Icon toQt(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

// The picture the style puts on a Yes, No or OK button, from the toolkit's own resources. Asked for
// it, the style reads its pictures without naming their format, and the toolkit then loads every
// image plugin it has (JPEG, GIF, ICO, with the JPEG library) to ask each whether it knows the file;
// read here as PNG, the same pictures load none of them. The style's icon shows the picture made for
// the button's size on the screen as it is, and the focused button's picture drawn from the larger
// ones, scaled down and lightened: both are made here the same way, once. Where a resource is
// missing, the style's own icon is taken.
QIcon buttonIcon(const QWidget &box, QStyle::StandardPixmap which, const QString &name)
{
    const qreal ratio = qApp->devicePixelRatio();
    const int wanted = qRound(16 * ratio);
    QIcon all;
    QPixmap exact;
    for (int size : {16, 32, 128}) {
        const QImage picture =
            readPicture(u":/qt-project.org/styles/commonstyle/images/standardbutton-%1-%2.png"_s.arg(name).arg(size));
        if (picture.isNull())
            return box.style()->standardIcon(which, nullptr, &box);
        all.addPixmap(QPixmap::fromImage(picture));
        if (size == wanted)
            exact = QPixmap::fromImage(picture);
    }
    if (exact.isNull())
        return all;
    QIcon icon;
    icon.addPixmap(exact, QIcon::Normal);
    icon.addPixmap(all.pixmap(QSize(16, 16), ratio, QIcon::Active), QIcon::Active);
    return icon;
}

QPushButton *addButton(QMessageBox &box, const QString &text, QMessageBox::ButtonRole role,
                       QStyle::StandardPixmap which, const QString &name)
{
    QPushButton *button = box.addButton(text, role);
    if (box.style()->styleHint(QStyle::SH_DialogButtonBox_ButtonsHaveIcons, nullptr, &box))
        button->setIcon(buttonIcon(box, which, name));
    return button;
}

} // namespace

DialogMessageBoxes::DialogMessageBoxes()
{
    // The first box the style draws an icon for reads the whole index of the desktop's icon theme
    // (some 800 KB of short-lived strings) before it finds the icon. Done here, at start, that memory
    // is freed before the windows are built and they reuse it; done by the quit question, the last
    // box of a session, it would add to the program's peak of memory. The icons found are the
    // ones the boxes show.
    if (QStyle *style = QApplication::style())
        for (QStyle::StandardPixmap icon : {QStyle::SP_MessageBoxQuestion, QStyle::SP_MessageBoxInformation,
                                            QStyle::SP_MessageBoxWarning, QStyle::SP_MessageBoxCritical})
            style->standardIcon(icon);
}

MessageAnswer DialogMessageBoxes::show(MessageIcon icon, const QString &title, const QString &text,
                                       MessageButtons buttons)
{
    // Texts join their lines with CR LF; the dialog wants plain line feeds to break lines.
    QString shown = text;
    shown.replace(u"\r\n"_s, u"\n"_s);
    // The box belongs to the window it answers: it stays above it, and the keyboard goes back to
    // that window when the box closes.
    QMessageBox box(toQt(icon), title, shown, QMessageBox::NoButton, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    // The buttons are the standard ones, in their places and with their pictures, but built here
    // (see buttonIcon).
    QPushButton *yes = nullptr;
    if (buttons == MessageButtons::YesNo) {
        yes = addButton(box, u"Oui"_s, QMessageBox::YesRole, QStyle::SP_DialogYesButton, u"yes"_s);
        addButton(box, u"Non"_s, QMessageBox::NoRole, QStyle::SP_DialogNoButton, u"no"_s);
        box.setDefaultButton(yes);
    } else {
        addButton(box, u"OK"_s, QMessageBox::AcceptRole, QStyle::SP_DialogOkButton, u"ok"_s);
    }
    box.exec();
    if (buttons == MessageButtons::Ok)
        return MessageAnswer::Ok;
    // Closing the box any other way than with Yes counts as No.
    return box.clickedButton() == yes ? MessageAnswer::Yes : MessageAnswer::No;
}

} // namespace korvelan

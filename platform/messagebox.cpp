#include "messagebox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
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
    if (buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.button(QMessageBox::Yes)->setText(u"Oui"_s);
        box.button(QMessageBox::No)->setText(u"Non"_s);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        box.button(QMessageBox::Ok)->setText(u"OK"_s);
    }
    const int pressed = box.exec();
    if (buttons == MessageButtons::Ok)
        return MessageAnswer::Ok;
    // Closing the box any other way than with Yes counts as No.
    return pressed == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

} // namespace korvelan

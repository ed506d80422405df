// The yardsticks tools/measure.sh measures the program's memory against, on the same display:
//   bare_window             a window of the toolkit, of the size of the program's main window, with
//                           nothing in it;
//   BARE_WINDOW_CONTROLS=1 bare_window
//                           the same window showing one line in each font face the program's window
//                           uses, one control of each kind it uses (with a line or two of text, no
//                           data), and after three seconds a question box with Oui and Non, as the
//                           program's session ends. What the toolkit takes to show these at all.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QWidget>

namespace {

void addControls(QWidget &window)
{
    struct Face {
        const char *family;
        bool bold;
        bool italic;
    };
    // The faces the window asks for; fontconfig resolves them as it does for the program.
    const Face faces[] = {{"Arial", false, false},   {"Arial", true, false},   {"Arial", false, true},
                          {"Verdana", false, false}, {"Verdana", true, false}, {"Courier New", false, false},
                          {"Calibri", false, false}};
    int y = 0;
    for (const Face &face : faces) {
        auto *label = new QLabel(QStringLiteral("E950 Acésulfame K : autorisé dans l'UE, DJA 9 mg/kg"), &window);
        QFont font(QString::fromLatin1(face.family));
        font.setPixelSize(13);
        font.setBold(face.bold);
        font.setItalic(face.italic);
        label->setFont(font);
        label->setGeometry(8, y, 480, 18);
        y += 20;
    }
    auto *line = new QLineEdit(QStringLiteral("acide"), &window);
    line->setGeometry(8, y, 200, 22);
    auto *combo = new QComboBox(&window);
    combo->addItems({QStringLiteral("E100"), QStringLiteral("E950")});
    combo->setGeometry(220, y, 120, 22);
    auto *button = new QPushButton(QStringLiteral("Quitter"), &window);
    button->setStyleSheet(QStringLiteral("QPushButton { background-color: #c0c0c0; border: 1px solid #808080; }"));
    button->setGeometry(350, y, 100, 22);
    auto *tool = new QToolButton(&window);
    tool->setIcon(window.style()->standardIcon(QStyle::SP_MessageBoxInformation));
    tool->setGeometry(460, y, 22, 22);
    y += 30;
    auto *list = new QListWidget(&window);
    list->addItems({QStringLiteral("E100  Curcumine"), QStringLiteral("E950  Acésulfame K")});
    list->setGeometry(8, y, 300, 120);
    auto *plain = new QPlainTextEdit(QStringLiteral("Colorant"), &window);
    plain->setGeometry(320, y, 200, 120);
    auto *scroll = new QScrollArea(&window);
    auto *browser = new QTextBrowser;
    browser->setHtml(QStringLiteral("<p>Un <b>document</b> en <i>texte riche</i>.</p>"));
    browser->resize(300, 200);
    scroll->setWidget(browser);
    scroll->setGeometry(530, y, 300, 120);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Fenêtre nue"));
    window.setFixedSize(996, 652);
    const bool controls = qEnvironmentVariableIsSet("BARE_WINDOW_CONTROLS");
    if (controls)
        addControls(window);
    window.show();
    if (controls) {
        QTimer::singleShot(3000, &window, [&window] {
            auto *question = new QMessageBox(QMessageBox::Question, QStringLiteral("Question"),
                                             QStringLiteral("Voulez-vous quitter ?"),
                                             QMessageBox::Yes | QMessageBox::No, &window);
            question->button(QMessageBox::Yes)->setText(QStringLiteral("Oui"));
            question->button(QMessageBox::No)->setText(QStringLiteral("Non"));
            question->show();
        });
    }
    return app.exec();
}

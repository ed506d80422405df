// A bare window of the toolkit, of the size of the program's main window and with nothing in it: the
// yardstick tools/measure.sh measures the program's memory against, on the same display.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Fenêtre nue"));
    window.setFixedSize(996, 652);
    window.show();
    return app.exec();
}

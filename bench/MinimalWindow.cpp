// The yardstick for the launcher's start-up and idle figures: a Qt Widgets program of the same build that maps a
// window of the launcher's size and does nothing else.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.setFixedSize(861, 702);
    window.show();
    return app.exec();
}

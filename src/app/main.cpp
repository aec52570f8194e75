#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Tavlo Terminal Ver 2.3");
    window.show();
    return app.exec();
}

// Start function: builds the application object and runs it.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow frame;
    frame.setWindowTitle("Tarnwick");
    frame.resize(600, 400);
    frame.show();
    return app.exec();
}

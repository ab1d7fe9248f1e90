// Program entry.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("办公用品登记"));
    window.resize(800, 600);
    window.show();
    return app.exec();
}

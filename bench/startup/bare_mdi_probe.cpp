// A bare Qt program with an MDI area of three child windows, shown, then an
// exit: the yardstick of the start-up benchmark.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow main;
    auto* area = new QMdiArea(&main);
    main.setCentralWidget(area);
    for (const char* name : {"one", "two", "three"}) area->addSubWindow(new QLabel(name));
    main.resize(882, 606);
    main.show();
    QTimer::singleShot(0, &app, &QApplication::quit);
    return app.exec();
}

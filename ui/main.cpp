#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    return 0; // the windows are built by the desktop work
}

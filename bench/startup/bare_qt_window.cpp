// A bare Qt window with the program's client size (792 x 573) and background, to compare the
// program's time to its first paint with.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle("Bare Qt window");
  window.setFixedSize(792, 573);
  QPalette palette = window.palette();
  palette.setColor(QPalette::Window, QColor(192, 192, 192));
  window.setPalette(palette);
  window.setAutoFillBackground(true);
  window.show();
  return app.exec();
}

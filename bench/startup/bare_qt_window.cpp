// A bare Qt window with the program's client size (792 x 573) and background, to compare the
// program's time to its first paint with. With --text it also shows one line of text, which
// tells how much of the difference is the price of drawing any text at all (the fonts).
#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstring>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const bool text = argc > 1 && std::strcmp(argv[1], "--text") == 0;
  QWidget window;
  window.setWindowTitle(text ? "Bare Qt window with text" : "Bare Qt window");
  window.setFixedSize(792, 573);
  QPalette palette = window.palette();
  palette.setColor(QPalette::Window, QColor(192, 192, 192));
  window.setPalette(palette);
  window.setAutoFillBackground(true);
  if (text) {
    auto* label = new QLabel("Reject - Konfiguration Servicez\u00e4hler", &window);
    label->setGeometry(2, 0, 483, 24);
  }
  window.show();
  return app.exec();
}

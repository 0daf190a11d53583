// A bare Qt window with the program's client size (792 x 573) and background, to compare the
// program's time to its first paint with. With --text it also shows one line of text, which
// tells how much of the difference is the price of drawing any text at all (the fonts); with
// --combo, in addition, one editable combo box with five items, whose list Qt builds at once.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QWidget>
#include <cstring>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const char* mode = argc > 1 ? argv[1] : "";
  const bool combo = std::strcmp(mode, "--combo") == 0;
  const bool text = combo || std::strcmp(mode, "--text") == 0;
  QWidget window;
  window.setWindowTitle(combo  ? "Bare Qt window with text and a combo box"
                        : text ? "Bare Qt window with text"
                               : "Bare Qt window");
  window.setFixedSize(792, 573);
  QPalette palette = window.palette();
  palette.setColor(QPalette::Window, QColor(192, 192, 192));
  window.setPalette(palette);
  window.setAutoFillBackground(true);
  if (text) {
    auto* label = new QLabel("Reject - Konfiguration Servicez\u00e4hler", &window);
    label->setGeometry(2, 0, 483, 24);
  }
  if (combo) {
    auto* box = new QComboBox(&window);
    box->setEditable(true);
    box->addItems({"1", "2", "3", "4", "5"});
    box->setGeometry(280, 100, 33, 25);
  }
  window.show();
  return app.exec();
}

// A bare Qt window with the program's client size (792 x 573) and background, to compare the
// program's time to its first paint with. With --text it also shows one line of text, which
// tells how much of the difference is the price of drawing any text at all (the fonts); with
// --combo, in addition, one editable combo box with five items, whose list Qt builds at once.
// With --widgets it creates the program's widgets as they show the sample project (the same
// kinds, count, places, fonts, texts and pictures), written the plainest way: no model, no
// INI files, no language texts.
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <cstring>

namespace {

QFont RowFont(double points) {
  QFont font("MS Sans Serif");
  font.setPointSizeF(points);
  font.setBold(true);
  return font;
}

void SameWidgets(QWidget& window) {
  auto* header = new QLabel("Reject - Konfiguration Servicez\u00e4hler", &window);
  header->setGeometry(2, 0, 483, 24);
  header->setFont(RowFont(13.5));
  auto* mainFrame = new QFrame(&window);
  mainFrame->setFrameStyle(QFrame::Box | QFrame::Sunken);
  mainFrame->setGeometry(0, 24, 792, 484);
  auto* rows = new QFrame(mainFrame);
  rows->setFrameStyle(QFrame::Box | QFrame::Sunken);
  rows->setGeometry(6, 8, 298, 321);
  auto* heading = new QLabel("Reihenfolge Servicez\u00e4hler", rows);
  heading->setGeometry(8, 10, 241, 25);
  heading->setFont(RowFont(12));
  // The sample project: machines 1, 3 and 4 have a service counter, 2 has none, 5 is missing.
  const char* names[] = {"Maschine 1  (Filler)", "Maschine 2  ( none )", "Maschine 3  (Cartoner)",
                         "Maschine 4  (Palletizer)", "Maschine 5  ( none )"};
  const char* positions[] = {"2", "-", "1", "0", "-"};
  for (int i = 0; i < 5; ++i) {
    auto* label = new QLabel(names[i], rows);
    label->setGeometry(8, 46 + 56 * i, 105, 41);
    label->setFont(RowFont(12));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* combo = new QComboBox(rows);
    combo->setGeometry(141, 54 + 56 * i, 33, 28);
    combo->setFont(RowFont(12));
    combo->setEditable(true);
    const bool valid = positions[i][0] != '-';
    if (valid) combo->addItems({"0", "1", "2", "3", "4"});
    combo->setEditText(positions[i]);
    combo->setEnabled(valid);
    label->setEnabled(valid);
  }
  const struct {
    const char* picture;
    int left;
    int width;
  } buttons[] = {
      {":/art/quest.png", 490, 65}, {":/art/check.png", 560, 113}, {":/art/cross.png", 678, 113}};
  for (const auto& b : buttons) {
    auto* button = new QPushButton(&window);
    button->setGeometry(b.left, 512, b.width, 57);
    const QPixmap picture(b.picture);
    button->setIcon(picture);
    button->setIconSize(picture.size());
  }
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const char* mode = argc > 1 ? argv[1] : "";
  const bool widgets = std::strcmp(mode, "--widgets") == 0;
  const bool combo = std::strcmp(mode, "--combo") == 0;
  const bool text = combo || std::strcmp(mode, "--text") == 0;
  QWidget window;
  window.setWindowTitle(widgets ? "Bare Qt window with the same widgets"
                        : combo ? "Bare Qt window with text and a combo box"
                        : text  ? "Bare Qt window with text"
                                : "Bare Qt window");
  window.setFixedSize(792, 573);
  QPalette palette = window.palette();
  palette.setColor(QPalette::Window, QColor(192, 192, 192));
  window.setPalette(palette);
  window.setAutoFillBackground(true);
  if (widgets) SameWidgets(window);
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

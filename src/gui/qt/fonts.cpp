#include "gui/qt/fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QHash>

#include "gui/qt/text_codec.h"

namespace morlane::gui::qt {
namespace {

// fonts-wine ships a free "MS Sans Serif", but only as bitmap strikes without a bold one, and
// Qt takes the first strike (13 px) of such a face for every size: 12 pt bold would show as
// 10 pt regular. Its Tahoma is an outline font of nearly the layout's widths ("(Füllmaschine)"
// fits the 105 pixels of a row label at 12 pt), outside the directories fontconfig searches.
// Its bold face draws thin strokes, so only the regular face is registered and Qt emboldens it.
constexpr const char* kTahomaFile = "/usr/share/wine/fonts/tahoma.ttf";

bool Scalable(const QString& family) {
  return QFontDatabase::hasFamily(family) && QFontDatabase::isScalable(family);
}

bool TahomaAvailable() {
  static const bool available = [] {
    if (Scalable(QStringLiteral("Tahoma"))) return true;
    const QString file = QString::fromLatin1(kTahomaFile);
    return QFile::exists(file) && QFontDatabase::addApplicationFont(file) >= 0 &&
           Scalable(QStringLiteral("Tahoma"));
  }();
  return available;
}

}  // namespace

QString LayoutFamily(const QString& designed) {
  // One look into the font database per family, not one per control.
  static QHash<QString, QString> chosen;
  auto known = chosen.find(designed);
  if (known != chosen.end()) return *known;
  QString family;
  if (Scalable(designed)) {
    family = designed;
  } else if (designed.compare(QStringLiteral("MS Sans Serif"), Qt::CaseInsensitive) == 0 &&
             TahomaAvailable()) {
    family = QStringLiteral("Tahoma");
  } else {
    family = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
  }
  chosen.insert(designed, family);
  return family;
}

std::optional<QFont> FontOf(const form::Font& font) {
  if (font.family.empty()) return std::nullopt;
  QFont qfont(LayoutFamily(FromAnsi(font.family)));
  if (font.points > 0) qfont.setPointSizeF(font.points);
  qfont.setWeight(font.bold ? QFont::Bold : QFont::Normal);
  qfont.setItalic(false);
  qfont.setUnderline(false);
  qfont.setStrikeOut(false);
  return qfont;
}

}  // namespace morlane::gui::qt

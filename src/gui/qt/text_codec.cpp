#include "gui/qt/text_codec.h"

#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

#include "text/code_point_mark.h"

namespace morlane::gui::qt {
namespace {

constexpr const char* kCodePage = "windows-1252";

// A Qt without ICU may lack the code page; Latin-1 then keeps at least the letters of the
// German texts.
bool HaveCodePage() {
  static const bool valid = QStringDecoder(kCodePage).isValid();
  return valid;
}

// The bytes where Windows-1252 and Latin-1 part ways.
bool IsLatin1Exception(char byte) {
  const auto b = static_cast<unsigned char>(byte);
  return b >= 0x80 && b <= 0x9F;
}

bool IsLatin1Range(QChar c) {
  return c.unicode() >= 0xA0 && c.unicode() <= 0xFF;
}

std::string Latin1(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(text.size()));
  for (const QChar c : text)
    bytes += c.unicode() < 0x100 ? static_cast<char>(c.unicode()) : '?';
  return bytes;
}

}  // namespace

QString FromAnsi(std::string_view bytes) {
  const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
  // Outside 0x80..0x9F the code page is Latin-1; most texts never need the converter, whose
  // first use costs the window's start close to a millisecond.
  if (std::none_of(bytes.begin(), bytes.end(), IsLatin1Exception) || !HaveCodePage()) {
    return QString::fromLatin1(view);
  }
  QStringDecoder decoder(kCodePage);
  return decoder.decode(view);
}

std::string ToAnsi(const QString& text) {
  const auto sameInLatin1 = [](QChar c) { return c.unicode() < 0x80 || IsLatin1Range(c); };
  if (std::all_of(text.begin(), text.end(), sameInLatin1) || !HaveCodePage()) {
    return Latin1(text);
  }
  QStringEncoder encoder(kCodePage);
  const QByteArray whole = encoder.encode(text);
  if (!encoder.hasError()) return whole.toStdString();

  // The converter puts its own substitute (SUB) for what the code page lacks; the core expects
  // "?", so encode character by character.
  std::string bytes;
  for (const uint ucs4 : text.toUcs4()) {
    const char32_t codePoint = ucs4;
    QStringEncoder one(kCodePage);
    const QByteArray encoded = one.encode(QString::fromUcs4(&codePoint, 1));
    bytes += one.hasError() ? std::string("?") : encoded.toStdString();
  }
  return bytes;
}

QString FromCoreText(std::string_view bytes) {
  QString result;
  std::size_t plain = 0;  // start of the text not converted yet
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '<') continue;
    const auto mark = text::ReadCodePointMark(bytes.substr(i));
    if (!mark || text::IsRawByteMark(mark->codePoint)) continue;
    result += FromAnsi(bytes.substr(plain, i - plain));
    result += QString::fromUcs4(&mark->codePoint, 1);
    i += mark->length - 1;
    plain = i + 1;
  }
  return result + FromAnsi(bytes.substr(plain));
}

QString MessageText(std::string_view bytes) {
  const QString text = FromCoreText(bytes);
  QString result;
  result.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c != u'\n' && c != u'\r') {
      result += c;
      continue;
    }
    result += u'\n';
    // The partner of a two-character break belongs to the same break.
    const QChar partner = c == u'\n' ? u'\r' : u'\n';
    if (i + 1 < text.size() && text[i + 1] == partner) ++i;
  }
  return result;
}

}  // namespace morlane::gui::qt

// The private-profile behaviour every backend must show, file bytes compared before and after.
// Backend-neutral: see profile_conformance.h.
#include "platform/conformance/profile_conformance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <tuple>

namespace morlane::testing {

ProfileCall ProfileCall::Except(const std::string& backend, std::string text) && {
  elsewhere[backend] = {static_cast<std::uint32_t>(text.size()), std::move(text)};
  return std::move(*this);
}

ProfileCall ProfileCall::ExceptInt(const std::string& backend, std::uint32_t number) && {
  elsewhere[backend] = {number, ""};
  return std::move(*this);
}

ProfileCall ProfileCall::ExceptWrite(const std::string& backend, bool ok) && {
  elsewhere[backend] = {ok ? 1u : 0u, ""};
  return std::move(*this);
}

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using Op = ProfileCall::Op;

// The backends that run this table: the program's engine (both builds) and, as the reference,
// Wine's private-profile services.
const std::set<std::string> kBackends = {"engine", "wine"};

ProfileCall Get(std::string section, std::string key, std::string expected,
                std::string defaultValue = "dflt", std::uint32_t size = 255) {
  ProfileCall c;
  c.section = std::move(section);
  c.key = std::move(key);
  c.arg = std::move(defaultValue);
  c.size = size;
  c.expected = {static_cast<std::uint32_t>(expected.size()), std::move(expected)};
  return c;
}

ProfileCall GetInt(std::string section, std::string key, std::int32_t defaultValue,
                   std::uint32_t expected) {
  ProfileCall c;
  c.op = Op::kGetInt;
  c.section = std::move(section);
  c.key = std::move(key);
  c.intDefault = defaultValue;
  c.expected = {expected, ""};
  return c;
}

ProfileCall Write(std::string section, std::string key, std::string value, bool ok = true) {
  ProfileCall c;
  c.op = Op::kWrite;
  c.section = std::move(section);
  c.key = std::move(key);
  c.arg = std::move(value);
  c.expected = {ok ? 1u : 0u, ""};
  return c;
}

ProfileCall Refuse(std::string section, std::string key, std::string value) {
  return Write(std::move(section), std::move(key), std::move(value), false);
}

std::string HighBytes() {
  std::string s;
  for (int c = 0x80; c <= 0xFF; ++c) {
    s += static_cast<char>(c);
  }
  return s;
}

// Latin-1 text as UTF-16 with its byte order mark.
std::string Utf16(const std::string& latin1, bool bigEndian) {
  std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char c : latin1) {
    const char unit[2] = {c, '\0'};
    out += bigEndian ? unit[1] : unit[0];
    out += bigEndian ? unit[0] : unit[1];
  }
  return out;
}

// Why Wine's services differ, as observed under Wine 8.
const char* const kWholeFileRewrite =
    "Wine rewrites the whole file on a change: blank lines dropped, lines and headers trimmed, "
    "'key = value' written 'key=value', every line end CRLF";
const char* const kRawWrite =
    "Windows takes any text: line breaks and '=' are written as they are and split the line when "
    "the file is read again, a NUL ends the text, blanks and line breaks around names are dropped";
const char* const kWrittenValueTrimmed =
    "Wine drops the leading blanks of a written value and of the names at once; the trailing ones "
    "go when the next change rewrites the file from what Wine read back";

const char* const kIntFile =
    "[Int]\r\ni1=42\r\ni2= 42\r\ni2q=\" 42\"\r\ni3=-1\r\ni4=+5\r\ni5=12abc\r\ni6=abc\r\n"
    "i7=\r\ni8=0x10\r\ni9=070\r\ni10=70000\r\ni11=4294967295\r\ni12=-40000\r\ni13=\"7\"\r\n"
    "i14=4294967296\r\ni15=2147483648\r\ni16=-2147483649\r\ni17=0X1F\r\ni18=  -7  \r\n"
    "i19=- 5\r\ni21=1.9\r\ni23=99999999999999999999\r\ni24=\"\t 9\"\r\ni25=0x\r\n"
    "i26=0xff\r\ni27=\"\"\r\ntext only\r\n";

std::vector<ProfileCase> Cases() {
  const std::string blanks255(255, ' ');
  const std::string long300(300, 'x');
  return {
      // --- Reading ---
      {"NamesIgnoreAsciiCaseAndOuterBlanks",
       "[MySection]\r\n"
       "  MyKey  =  Value  \r\n"
       "my key = spaced name \r\n"
       "\xC4rger=high\r\n"
       "[\xC4rger]\r\n"
       "\xD6l=x\r\n",
       {Get("MySection", "MyKey", "Value"), Get("mysection", "MYKEY", "Value"),
        Get(" \tMYSECTION\t ", " \tmykey\t ", "Value"), Get("MySection", "my key", "spaced name"),
        Get("MySection", "my  key", "dflt"), Get("MySection", "\xE4rger", "dflt"),
        Get("MySection", "\xC4rger", "high"), Get("\xE4rger", "\xD6l", "dflt"),
        Get("\xC4rger", "\xF6l", "dflt"), Get("\xC4RGER", "\xD6L", "x")}},
      {"ValuesLoseBlanksAndOneQuotePair",
       "[Q]\n"
       "q1=\"abc\"\n"
       "q2='abc'\n"
       "q3=\"abc\n"
       "q4=\" abc \"\n"
       "q5=\"\"\n"
       "q6=\"a\"b\"\n"
       "q7=  \"abc\"   \n"
       "q8=\"abc'\n"
       "q9=\t \t\n"
       "q10=ab\0cd\n"
       "q11=v ; no comment\n"
       "q12=\"\n"
       "q13=ab\"c\"d\n"
       "q14= a b  c \n"s,
       {Get("Q", "q1", "abc"), Get("Q", "q2", "abc"), Get("Q", "q3", "\"abc"),
        Get("Q", "q4", " abc "), Get("Q", "q5", ""), Get("Q", "q6", "a\"b"), Get("Q", "q7", "abc"),
        Get("Q", "q8", "\"abc'"), Get("Q", "q9", ""), Get("Q", "q10", "ab"),
        Get("Q", "q11", "v ; no comment"), Get("Q", "q12", "\""), Get("Q", "q13", "ab\"c\"d"),
        Get("Q", "q14", "a b  c"), GetInt("Q", "q9", 77, 77)}},
      {"DefaultsAndBufferSizes",
       "[S]\r\nk=abcdef\r\nempty=\r\nlong=" + long300 + "\r\n",
       {Get("S", "nokey", "  dflt", "  dflt  "), Get("S", "nokey", "dflt\t", "dflt\t"),
        Get("S", "nokey", "", ""), Get("S", "empty", ""), Get("Other", "k", "dflt"),
        Get("S", "k", "abc", "dflt", 4), Get("S", "k", "", "dflt", 1), Get("S", "k", "", "dflt", 0),
        Get("S", "nokey", "df", "dflt", 3), Get("S", "long", long300.substr(0, 254)),
        Get("S", "long", long300, "dflt", 301)}},
      {"QuotedValueCutToTheBuffer",
       "[S]\r\nq=\"abc\"\r\n",
       {Get("S", "q", "abc", "dflt", 4).Except("wine", "ab"), Get("S", "q", "ab", "dflt", 3)},
       std::nullopt,
       {{"wine", "Wine cuts a quoted value one character short when it only just fits"}}},
      {"AllBlankDefaultReadsEmpty",
       "[S]\r\nk=v\r\n",
       {Get("S", "nokey", "", blanks255), Get("Nosec", "k", "", "   ")}},
      {"MissingFileGivesDefaults",
       std::nullopt,
       {Get("Sec", "Key", "dflt"), Get("Sec", "Key", "", blanks255),
        GetInt("Sec", "Key", -1, 4294967295u), GetInt("Sec", "Key", 77, 77)}},
      {"DuplicatesFirstKeyAndFirstSectionOnly",
       "[Sec]\r\nk=first\r\nk=second\r\n[Other]\r\nx=1\r\n[sec]\r\nk=third\r\nj=fromdup\r\n",
       {Get("Sec", "k", "first"), Get("SEC", "k", "first"), Get("sec", "j", "dflt"),
        Write("Sec", "k", "new"), Write("sec", "j", "newj"), Get("Sec", "j", "newj")},
       "[Sec]\r\nk=new\r\nk=second\r\nj=newj\r\n[Other]\r\nx=1\r\n[sec]\r\nk=third\r\n"
       "j=fromdup\r\n"},
      {"HeaderFormsAndLinesBeforeTheFirstHeader",
       "pre=1\r\n"
       " pre2 = two\r\n"
       "; top comment\r\n"
       "[ Project ]\r\n"
       "a=1\r\n"
       "[Tail] trailing text\r\n"
       "b=2\r\n"
       "[Missing\r\n"
       "c=3\r\n"
       "[Two]]x\r\n"
       "d=4\r\n"
       "  [Indented]\r\n"
       "e=5\r\n"
       "[]\r\n"
       "f=6\r\n"
       "[x]y]\r\n"
       "g=7\r\n"
       "[\tTab\t]\r\n"
       "t=8\r\n"
       ";[Hidden]\r\n"
       "h=9\r\n",
       {Get("", "pre", "1"), Get(" ", "pre2", "two"), Get("Project", "pre", "dflt"),
        Get("", "; top comment", "dflt"), Get("Project", "a", "1"), Get(" Project ", "a", "1"),
        Get("Tail", "b", "2"), Get("Missing", "c", "dflt"), Get("Tail", "c", "3"),
        Get("Tail", "[Missing", "dflt"), Get("Two]", "d", "4"), Get("Two", "d", "dflt"),
        Get("Indented", "e", "5"), Get("", "f", "dflt"), Get("x]y", "g", "7"),
        Get("x", "g", "dflt"), Get("Tab", "t", "8"), Get("Tab", "h", "9"),
        Get("Hidden", "h", "dflt")}},
      {"CommentLikeLinesAreOrdinaryLines",
       "[Sec]\r\n;k1=commented\r\n#k2=hash\r\nk1=real1\r\n  ;k3=indented\r\njusttext\r\n"
       "=noname\r\n",
       {Get("Sec", ";k1", "commented"), Get("Sec", "k1", "real1"), Get("Sec", "#k2", "hash"),
        Get("Sec", "k2", "dflt"), Get("Sec", ";k3", "indented"), Get("Sec", "k3", "dflt"),
        Get("Sec", "justtext", "dflt"), GetInt("Sec", "justtext", 77, 77),
        Get("Sec", "", "noname")}},
      {"LineWithoutEqualsIsNoKey",
       "[Sec]\r\njusttext\r\njusttext=real\r\nalone\r\n",
       {Get("Sec", "justtext", "real").Except("wine", "dflt"), Get("Sec", "alone", "dflt"),
        GetInt("Sec", "alone", 77, 77), Write("Sec", "justtext", "new"),
        Write("Sec", "alone", "1")},
       "[Sec]\r\njusttext\r\njusttext=new\r\nalone\r\nalone=1\r\n",
       {{"wine",
         "Wine takes a line without '=' for a key without a value: it reads as the default, hides "
         "a later key of its name, and a write of that key replaces the line"}},
       {{"wine", "[Sec]\r\njusttext=new\r\njusttext=real\r\nalone=1\r\n"}}},
      {"ReadLfFile", "[Sec]\nk=v\nk2=v2\n", {Get("Sec", "k", "v"), Get("Sec", "k2", "v2")}},
      {"ReadCrFile", "[Sec]\rk=v\rk2=v2\r", {Get("Sec", "k", "v"), Get("Sec", "k2", "v2")}},
      {"ReadMixedLineEndsAndLastLineWithoutEnd",
       "[Sec]\r\r\nk=v\nk2=v2\r\n[B]\rb=1\r\nlast=end  \t",
       {Get("Sec", "k", "v"), Get("Sec", "k2", "v2"), Get("B", "b", "1"), Get("B", "last", "end")}},
      {"HighBytesPassUnchanged",
       "[Sec]\r\nall=" + HighBytes() + "\r\n[\xE9t\xE9]\r\nx=1\r\n",
       {Get("Sec", "all", HighBytes()), Get("\xE9t\xE9", "x", "1"), Get("\xC9T\xC9", "x", "dflt"),
        Write("\xE9t\xE9", "h", "\x80\x81\xFF"), Write("Sec", "all2", "\xE4"),
        Get("\xE9T\xE9", "h", "\x80\x81\xFF")},
       "[Sec]\r\nall=" + HighBytes() + "\r\nall2=\xE4\r\n[\xE9t\xE9]\r\nx=1\r\nh=\x80\x81\xFF\r\n"},
      {"Utf8BomFileIsReadAndWrittenAsUtf8",
       "\xEF\xBB\xBFpre=1\r\n[Sec]\r\nk=v\r\nu=\xC3\xA9\xE2\x82\xAC\r\nbad=\xFFx\r\n"
       "[\xC3\xA9t\xC3\xA9]\r\nx=1\r\n",
       {Get("", "pre", "1"), Get("Sec", "u", "\xE9\x80"), Get("Sec", "bad", "?x"),
        Get("\xE9t\xE9", "x", "1"), Get("\xC9t\xC9", "x", "dflt"),
        Write("\xE9t\xE9", "h", "\xE9\x80"), Write("Sec", "k", "\xE9"),
        Write("Neu\xE9", "k\xE9", "v"), Get("\xE9t\xE9", "h", "\xE9\x80"),
        Get("NEU\xE9", "K\xE9", "v"), Write("Sec", "u", "\xE9\x80"), Write("Sec", "c1", "\x81")},
       "\xEF\xBB\xBFpre=1\r\n[Sec]\r\nk=\xC3\xA9\r\nu=\xC3\xA9\xE2\x82\xAC\r\nbad=\xFFx\r\n"
       "c1=\xC2\x81\r\n[\xC3\xA9t\xC3\xA9]\r\nx=1\r\nh=\xC3\xA9\xE2\x82\xAC\r\n[Neu\xC3\xA9]"
       "\r\nk\xC3\xA9=v\r\n",
       {{"wine",
         "Wine rewrites the whole file from what it decoded: the invalid byte 0xFF comes back as "
         "U+FFFD (EF BF BD)"}},
       {{"wine",
         "\xEF\xBB\xBFpre=1\r\n[Sec]\r\nk=\xC3\xA9\r\nu=\xC3\xA9\xE2\x82\xAC\r\n"
         "bad=\xEF\xBF\xBDx\r\nc1=\xC2\x81\r\n[\xC3\xA9t\xC3\xA9]\r\nx=1\r\n"
         "h=\xC3\xA9\xE2\x82\xAC\r\n[Neu\xC3\xA9]\r\nk\xC3\xA9=v\r\n"}}},
      {"Utf16LeBomFileIsReadAndWrittenAsUtf16",
       Utf16("[Sec]\r\nk=v\r\nu=\xE9\r\n\r\n[B]\nb=1\n", false),
       {Get("Sec", "k", "v"), Get("Sec", "u", "\xE9"), GetInt("B", "b", 77, 1),
        Write("Sec", "k", "new"), Write("Sec", "n", "\xE9"), Write("Neu", "x", "1"),
        Get("sec", "N", "\xE9")},
       Utf16("[Sec]\r\nk=new\r\nu=\xE9\r\nn=\xE9\r\n\r\n[B]\nb=1\n[Neu]\r\nx=1\r\n", false),
       {{"wine", kWholeFileRewrite}},
       {{"wine",
         Utf16("[Sec]\r\nk=new\r\nu=\xE9\r\nn=\xE9\r\n[B]\r\nb=1\r\n[Neu]\r\nx=1\r\n", false)}}},
      {"Utf16BeBomFileIsReadAndWrittenAsUtf16",
       Utf16("[Sec]\r\nk=v\r\n", true),
       {Get("Sec", "k", "v"), Write("Sec", "k", "\xE9"), Write("Sec", "n", "1"),
        Get("Sec", "k", "\xE9")},
       Utf16("[Sec]\r\nk=\xE9\r\nn=1\r\n", true)},
      {"Utf8BomCharacterOutside1252",
       "\xEF\xBB\xBF[S]\r\nu=\xCE\xA9x\r\n",
       {Get("S", "u", "?x").Except("wine", "Ox")},
       std::nullopt,
       {{"wine", "Wine converts to the best-fit letter 'O' instead of '?'"}}},
      {"IntegersDecimalHexAndDefaults",
       kIntFile,
       {GetInt("Int", "i1", 77, 42), GetInt("Int", "i2", 77, 42), GetInt("Int", "i2q", 77, 42),
        GetInt("Int", "i3", 77, 4294967295u), GetInt("Int", "i4", 77, 5),
        GetInt("Int", "i5", 77, 12), GetInt("Int", "i6", 77, 0), GetInt("Int", "i7", 77, 77),
        GetInt("Int", "i7", -1, 4294967295u), GetInt("Int", "i8", 77, 16),
        GetInt("Int", "i9", 77, 70), GetInt("Int", "i10", 77, 70000),
        GetInt("Int", "i11", 77, 4294967295u), GetInt("Int", "i12", 77, 4294927296u),
        GetInt("Int", "i13", 77, 7), GetInt("Int", "i14", 77, 0)}},
      {"IntegersWrapAndStopAtOtherCharacters",
       kIntFile,
       {GetInt("Int", "i15", 77, 2147483648u), GetInt("Int", "i16", 77, 2147483647u),
        GetInt("Int", "i17", 77, 0), GetInt("Int", "i18", 77, 4294967289u),
        GetInt("Int", "i19", 77, 0), GetInt("Int", "i21", 77, 1),
        GetInt("Int", "i23", 77, 1661992959u), GetInt("Int", "i24", 77, 9),
        GetInt("Int", "i25", 77, 0), GetInt("Int", "i26", 77, 255), GetInt("Int", "i27", 77, 77),
        GetInt("Int", "text only", 77, 77), GetInt("Int", "nokey", -1, 4294967295u),
        GetInt("NoSec", "i1", -1, 4294967295u)}},
      {"IntegerTextLongerThan29Characters",
       "[Int]\r\nat29=00000000000000000000000000042\r\nat30=000000000000000000000000000042\r\ntail="
       "42xxxxxxxxxxxxxxxxxxxxxxxxxxxx\r\n",
       {GetInt("Int", "at29", 77, 42), GetInt("Int", "at30", 77, 4),
        GetInt("Int", "tail", 77, 42)}},
      {"IntegersOnlyHexHasAPrefix",
       "[Int]\r\nb=0b101\r\no=0o17\r\n",
       {GetInt("Int", "b", 77, 0).ExceptInt("wine", 5),
        GetInt("Int", "o", 77, 0).ExceptInt("wine", 15)},
       std::nullopt,
       {{"wine", "Wine also reads binary (0b) and octal (0o) prefixes"}}},

      // --- Writing ---
      {"NewFileSectionAndKey",
       std::nullopt,
       {Write("Sec", "Key", "Value"), Write("Sec", "Key2", "V2"), Write("New", "k", "v"),
        Get("sec", "key2", "V2")},
       "[Sec]\r\nKey=Value\r\nKey2=V2\r\n[New]\r\nk=v\r\n"},
      {"EmptyFileIsLikeANewOne", "", {Write("Sec", "Key", "Value")}, "[Sec]\r\nKey=Value\r\n"},
      {"NewKeyAfterTheSectionsLastNonBlankLine",
       "[A]\r\na1=1\r\n; c\r\n\r\n  \r\n[B]\r\nb1=1\r\n",
       {Write("A", "a2", "2"), Write("B", "b2", "3")},
       "[A]\r\na1=1\r\n; c\r\na2=2\r\n\r\n  \r\n[B]\r\nb1=1\r\nb2=3\r\n",
       {{"wine", kWholeFileRewrite}},
       {{"wine", "[A]\r\na1=1\r\n; c\r\na2=2\r\n[B]\r\nb1=1\r\nb2=3\r\n"}}},
      {"NewKeyIntoASectionWithoutKeys",
       "[A]\r\n\r\n[B]\r\n",
       {Write("A", "a1", "1")},
       "[A]\r\na1=1\r\n\r\n[B]\r\n",
       {{"wine", kWholeFileRewrite}},
       {{"wine", "[A]\r\na1=1\r\n[B]\r\n"}}},
      {"NoFinalLineEnd",
       "[A]\r\na1=1",
       {Write("A", "a2", "2"), Write("C", "c", "3")},
       "[A]\r\na1=1\r\na2=2\r\n[C]\r\nc=3\r\n"},
      {"HeaderOnlyWithoutLineEnd", "[A]", {Write("A", "k", "v")}, "[A]\r\nk=v\r\n"},
      {"NewSectionAfterAComment",
       "; only a comment\r\n",
       {Write("C", "c", "3")},
       "; only a comment\r\n[C]\r\nc=3\r\n"},
      {"NewSectionAfterTrailingBlankLine",
       "[A]\r\na=1\r\n\r\n",
       {Write("C", "c", "3")},
       "[A]\r\na=1\r\n\r\n[C]\r\nc=3\r\n",
       {{"wine", kWholeFileRewrite}},
       {{"wine", "[A]\r\na=1\r\n[C]\r\nc=3\r\n"}}},
      {"ReplaceKeepsEveryOtherByte",
       "pre = 1\r\n"
       "; comment\r\n"
       "[ Project ]  \r\n"
       "  a1 =  old  \r\n"
       "justtext\r\n"
       "  spaced text  \r\n"
       "\r\n"
       "[Tail] trailing text\r\n"
       "b\t=\t2\t\r\n"
       "[Missing\r\n"
       "c=\"quoted\"\r\n"
       "#hash=1\r\n"
       "h=\xE9\x81\xFF\r\n"
       "[Target]\r\n"
       "t=old\r\n",
       {Write("project", "A1", "new"), Write("Tail", "c", "q"), Write("Target", "t", "new"),
        Write("Project", "a2", "2"), Get("Tail", "b", "2")},
       "pre = 1\r\n"
       "; comment\r\n"
       "[ Project ]  \r\n"
       "a1=new\r\n"
       "justtext\r\n"
       "  spaced text  \r\n"
       "a2=2\r\n"
       "\r\n"
       "[Tail] trailing text\r\n"
       "b\t=\t2\t\r\n"
       "[Missing\r\n"
       "c=q\r\n"
       "#hash=1\r\n"
       "h=\xE9\x81\xFF\r\n"
       "[Target]\r\n"
       "t=new\r\n",
       {{"wine", kWholeFileRewrite}},
       {{"wine",
         "pre=1\r\n"
         "; comment\r\n"
         "[Project]\r\n"
         "a1=new\r\n"
         "justtext\r\n"
         "spaced text\r\n"
         "a2=2\r\n"
         "[Tail]\r\n"
         "b=2\r\n"
         "[Missing\r\n"
         "c=q\r\n"
         "#hash=1\r\n"
         "h=\xE9\x81\xFF\r\n"
         "[Target]\r\n"
         "t=new\r\n"}}},
      {"ReplaceKeepsEachLinesOwnEnd",
       "[A]\r\nk=1\nj=2\rl=3",
       {Write("A", "k", "9"), Write("A", "j", "8"), Write("A", "l", "7"), Write("A", "m", "6")},
       "[A]\r\nk=9\nj=8\rl=7\r\nm=6\r\n",
       {{"wine", kWholeFileRewrite}},
       {{"wine", "[A]\r\nk=9\r\nj=8\r\nl=7\r\nm=6\r\n"}}},
      {"InsertedLinesFollowAnLfFile",
       "[A]\na=1\n\n[B]\nb=1\n",
       {Write("A", "b", "2"), Write("C", "c", "3")},
       "[A]\na=1\nb=2\n\n[B]\nb=1\n[C]\nc=3\n",
       {{"wine", kWholeFileRewrite}},
       {{"wine", "[A]\r\na=1\r\nb=2\r\n[B]\r\nb=1\r\n[C]\r\nc=3\r\n"}}},
      {"InsertedLinesFollowACrFile",
       "[A]\ra=1\r",
       {Write("A", "b", "2"), Write("C", "c", "3")},
       "[A]\ra=1\rb=2\r[C]\rc=3\r",
       {{"wine", kWholeFileRewrite}},
       {{"wine", "[A]\r\na=1\r\nb=2\r\n[C]\r\nc=3\r\n"}}},
      {"InsertedLinesFollowTheFirstLineEnd",
       "; x\n[A]\r\na=1\r\n",
       {Write("A", "b", "2")},
       "; x\n[A]\r\na=1\r\nb=2\n",
       {{"wine", kWholeFileRewrite}},
       {{"wine", "; x\r\n[A]\r\na=1\r\nb=2\r\n"}}},
      {"ExistingSpellingOfNamesIsKept",
       "[MySec]\r\nMyKey=1\r\n",
       {Write("mysec", "MYKEY", "2")},
       "[MySec]\r\nMyKey=2\r\n"},
      {"EmptyValueIsWrittenAndReadsEmpty",
       "[A]\r\nk=old\r\n",
       {Write("A", "k", ""), Write("A", "newk", ""), Get("A", "k", ""), Get("A", "newk", ""),
        GetInt("A", "k", 77, 77)},
       "[A]\r\nk=\r\nnewk=\r\n"},
      {"NamesTrimmedValueWrittenAsGiven",
       std::nullopt,
       {Write("  Spaced\t", "\t key  ", "  v  "), Get("Spaced", "key", "v"),
        Write("Spaced", "q", "\"  padded  \""), Get("Spaced", "q", "  padded  ")},
       "[Spaced]\r\nkey=  v  \r\nq=\"  padded  \"\r\n",
       {{"wine", kWrittenValueTrimmed}},
       {{"wine", "[Spaced]\r\nkey=v\r\nq=\"  padded  \"\r\n"}}},
      {"WriteOfTheStoredValueLeavesTheFileAlone",
       "[A]\r\n k = \"x\"  \r\nj=  y\r\n",
       {Write("A", "k", "x"), Write(" a ", "K", "x"), Write("A", "j", "  y"), Get("A", "k", "x")},
       std::nullopt,
       {{"wine",
         "Wine compares the new value with the stored text, quotes included: '\"x\"' is "
         "replaced by 'x', and with that the whole file is rewritten"}},
       {{"wine", "[A]\r\nk=x\r\nj=y\r\n"}}},
      {"UnsafeInputIsRefused",
       "[A]\r\nk=1\r\n",
       {Refuse("A", "k", "a\r\nb=c").ExceptWrite("wine", true),
        Refuse("A", "k", "a\rb").ExceptWrite("wine", true),
        Refuse("A", "k", "a\nb").ExceptWrite("wine", true),
        Refuse("A", "k", "a\0b"s).ExceptWrite("wine", true),
        Refuse("A", "k\n", "v").ExceptWrite("wine", true),
        Refuse("A", "k\0"s, "v").ExceptWrite("wine", true),
        Refuse("A\r", "k", "v").ExceptWrite("wine", true),
        Refuse("A\0"s, "k", "v").ExceptWrite("wine", true),
        Refuse("A", "k=x", "v").ExceptWrite("wine", true),
        Refuse("A", "=", "v").ExceptWrite("wine", true),
        Refuse("A", " \t ", "v").ExceptWrite("wine", true),
        Refuse("A", "", "v").ExceptWrite("wine", true),
        Refuse("", "k", "v").ExceptWrite("wine", true),
        Refuse(" \t", "k", "v").ExceptWrite("wine", true),
        Refuse("A", "[x", "v").ExceptWrite("wine", true),
        Refuse("A", " [x]", "v").ExceptWrite("wine", true), Get("A", "k", "1").Except("wine", "v")},
       std::nullopt,
       {{"wine", kRawWrite}},
       // Each line break made a line of its own ("b" has no "="); "k=x" became key "k" (the
       // first "k" still wins); "=" and the blank names became the empty key; the empty section
       // is the one before the first header; " [x]" became the header of a section "x".
       {{"wine", "k=v\r\n[A]\r\nk=v\r\nb\r\nb\r\nb=c\r\nk=x=v\r\n=v\r\n[x=v\r\n[x]=v\r\n"}}},
      {"RefusedWriteCreatesNoFile",
       std::nullopt,
       {Refuse("A", "k=x", "v").ExceptWrite("wine", true),
        Refuse("", "k", "v").ExceptWrite("wine", true)},
       std::nullopt,
       {{"wine", kRawWrite}},
       {{"wine", "k=v\r\n[A]\r\nk=x=v\r\n"}}},
  };
}

std::string Escaped(const std::string& s) {
  std::ostringstream out;
  for (const char c : s) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u < 0x7F) {
      out << c;
    } else {
      static const char* const kHex = "0123456789ABCDEF";
      out << "\\x" << kHex[u >> 4] << kHex[u & 15];
    }
  }
  return out.str();
}

std::string Describe(std::size_t index, const ProfileCall& c) {
  static const char* const kNames[] = {"GetString", "GetInt", "WriteString"};
  std::ostringstream out;
  out << "call " << index << ": " << kNames[static_cast<int>(c.op)] << "(\"" << Escaped(c.section)
      << "\", \"" << Escaped(c.key) << "\", \"" << Escaped(c.arg) << "\")";
  return out.str();
}

std::optional<std::string> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

class ScratchDir {
 public:
  explicit ScratchDir(const std::string& name) {
    std::random_device random;
    path_ = fs::temp_directory_path() /
            ("profile-case-" + name + "-" + std::to_string(random()) + std::to_string(random()));
    fs::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// A backend's known difference must show in at least one expectation of its own, and every
// expectation of its own must differ: a stale note, or an override that merely repeats the
// common result, would hide what the backend really does.
TEST(ProfileConformanceTable, EachKnownDifferenceIsStatedCallByCall) {
  for (const ProfileCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    std::set<std::string> stated;
    for (std::size_t i = 0; i < c.calls.size(); ++i) {
      for (const auto& [backend, outcome] : c.calls[i].elsewhere) {
        stated.insert(backend);
        EXPECT_FALSE(outcome == c.calls[i].expected)
            << Describe(i, c.calls[i]) << " on " << backend;
      }
    }
    const std::optional<std::string> common = c.after ? c.after : c.before;
    for (const auto& [backend, bytes] : c.afterElsewhere) {
      stated.insert(backend);
      EXPECT_NE(common, bytes) << "the file on " << backend;
    }
    std::set<std::string> noted;
    for (const auto& [backend, reason] : c.knownDifferences) {
      noted.insert(backend);
      EXPECT_EQ(kBackends.count(backend), 1u) << "unknown backend " << backend;
      EXPECT_FALSE(reason.empty());
    }
    EXPECT_EQ(stated, noted);
  }
}

class ProfileConformance
    : public ::testing::TestWithParam<std::tuple<ProfileCase, ProfileBackend>> {};

TEST_P(ProfileConformance, Case) {
  const ProfileCase& c = std::get<0>(GetParam());
  const ProfileBackend& backend = std::get<1>(GetParam());
  ASSERT_EQ(kBackends.count(backend.name), 1u);
  const auto note = c.knownDifferences.find(backend.name);
  const bool differs = note != c.knownDifferences.end();
  SCOPED_TRACE(differs ? "known difference of " + backend.name + ": " + note->second
                       : "no known difference of " + backend.name);
  const ScratchDir dir(c.name);
  const fs::path file = dir.path() / "case.ini";
  fs::file_time_type oldTime{};
  if (c.before) {
    std::ofstream(file, std::ios::binary) << *c.before;
    // An old time, so that a rewrite would show even within the clock's resolution.
    fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::hours(24 * 3650));
    oldTime = fs::last_write_time(file);
  }

  const auto service = backend.make();
  const std::string path = file.string();
  for (std::size_t i = 0; i < c.calls.size(); ++i) {
    const ProfileCall& call = c.calls[i];
    SCOPED_TRACE(Describe(i, call));
    const auto own = call.elsewhere.find(backend.name);
    const ProfileOutcome& want = own != call.elsewhere.end() ? own->second : call.expected;
    switch (call.op) {
      case Op::kGet: {
        std::vector<char> buffer(call.size + 1, '\x7F');
        const std::uint32_t n =
            service->GetString(call.section, call.key, call.arg, buffer.data(), call.size, path);
        EXPECT_EQ(n, want.result);
        if (call.size == 0) {
          EXPECT_EQ(buffer[0], '\x7F') << "a buffer of size 0 must stay untouched";
          break;
        }
        const std::size_t shown = std::min<std::size_t>(n, call.size - 1);
        EXPECT_EQ(Escaped(std::string(buffer.data(), shown)), Escaped(want.text));
        EXPECT_EQ(buffer[shown], '\0');
        break;
      }
      case Op::kGetInt:
        EXPECT_EQ(service->GetInt(call.section, call.key, call.intDefault, path), want.result);
        break;
      case Op::kWrite:
        EXPECT_EQ(service->WriteString(call.section, call.key, call.arg, path) != 0,
                  want.result != 0);
        break;
    }
  }

  std::optional<std::string> expected = c.after ? c.after : c.before;
  bool untouched = !c.after;
  if (const auto it = c.afterElsewhere.find(backend.name); it != c.afterElsewhere.end()) {
    expected = it->second;
    untouched = false;
  }
  const std::optional<std::string> actual = ReadBytes(file);
  ASSERT_EQ(actual.has_value(), expected.has_value()) << "the file should exist: " << !!expected;
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path()))
    ++entries;
  EXPECT_EQ(entries, expected ? 1u : 0u) << "nothing but the file may be left in its directory";
  if (!expected) return;
  EXPECT_EQ(Escaped(*actual), Escaped(*expected));
  if (untouched) {
    EXPECT_TRUE(fs::last_write_time(file) == oldTime) << "an unchanged file was written";
  }
}

INSTANTIATE_TEST_SUITE_P(Profile, ProfileConformance,
                         ::testing::Combine(::testing::ValuesIn(Cases()),
                                            ::testing::ValuesIn(ProfileBackendsUnderTest())),
                         [](const ::testing::TestParamInfo<ProfileConformance::ParamType>& info) {
                           return std::get<0>(info.param).name + "_" + std::get<1>(info.param).name;
                         });

}  // namespace
}  // namespace morlane::testing

#include "card_corpus.h"

#include <cstdio>
#include <string_view>

#include "foundation/code_page.h"

namespace velmora::bench {
namespace {

// A small xorshift generator: the corpus must not depend on the standard
// library's distributions.
class Random {
 public:
  explicit Random(std::uint32_t seed) : state_(seed ? seed : 1) {}
  std::uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }
  template <std::size_t N>
  const char* Pick(const char* const (&list)[N]) {
    return list[Below(static_cast<int>(N))];
  }

 private:
  std::uint32_t state_;
};

constexpr const char* kFirstLatin[] = {"John",  "Mary",   "Peter", "Linda",   "James",
                                       "Susan", "Robert", "Karen", "Michael", "Nancy"};
constexpr const char* kLastLatin[] = {"Smith",  "Johnson", "Williams", "Brown",    "Jones",
                                      "Miller", "Davis",   "Wilson",   "Anderson", "Taylor"};
constexpr const char* kFirstGerman[] = {"Jürgen", "Björn",     "Käthe", "Günther",
                                        "Müller", "Françoise", "José",  "Zoë"};
constexpr const char* kLastGerman[] = {"Müller", "Schäfer", "Größmann", "Köhler",
                                       "Weiß",   "Bäcker",  "Dürr",     "Lösch"};
constexpr const char* kFirstCyrillic[] = {"Иван",   "Мария", "Пётр",    "Анна",
                                          "Сергей", "Ольга", "Дмитрий", "Елена"};
constexpr const char* kLastCyrillic[] = {"Иванов", "Петрова",  "Смирнов", "Кузнецова",
                                         "Попов",  "Соколова", "Лебедев", "Новикова"};
constexpr const char* kCompanies[] = {"Acme Corp.",    "Globex, Inc.",     "Initech; Ltd",
                                      "Umbrella GmbH", "Stark Industries", "Wayne Enterprises"};
constexpr const char* kStreets[] = {"Main St. 1",    "Elm Street 42",    "Hauptstraße 7",
                                    "ул. Ленина, 5", "Rue de la Paix 3", "Baker St 221b"};
constexpr const char* kCities[] = {"Springfield", "München", "Москва", "Paris", "London", "Zürich"};
constexpr const char* kNoteWords[] = {
    "met",    "at",   "the",  "conference", "in",      "Berlin,", "call",      "back;",  "prefers",
    "e-mail", "über", "café", "важно",      "встреча", "notes:",  "follow-up", "réunion"};
constexpr const char* kCategories[] = {"Work", "Friends", "Family", "VIP", "Clients", "Suppliers"};

enum class Kind { kV30Utf8, kV21Utf8, kV21Windows1252, kV21Windows1251 };

// UTF-8 text in the card's charset (characters it lacks become '?').
std::string InCharset(Kind kind, std::string_view utf8) {
  if (kind == Kind::kV21Windows1252 || kind == Kind::kV21Windows1251) {
    const int cp = kind == Kind::kV21Windows1252 ? 1252 : 1251;
    return codepage::FromUtf16(cp, codepage::ToUtf16(codepage::kUtf8, utf8));
  }
  return std::string(utf8);
}

bool IsAscii(std::string_view s) {
  for (char c : s) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// Quoted-printable with soft line breaks after about 73 characters.
std::string QuotedPrintable(std::string_view bytes, std::size_t first_line_used) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  std::size_t column = first_line_used;
  for (unsigned char c : bytes) {
    std::string piece;
    if (c == '\n') {
      piece = "=0D=0A";
    } else if (c >= 0x20 && c < 0x7F && c != '=') {
      piece.assign(1, static_cast<char>(c));
    } else {
      piece = {'=', kHex[c >> 4], kHex[c & 15]};
    }
    if (column + piece.size() > 73) {
      out += "=\r\n";
      column = 0;
    }
    out += piece;
    column += piece.size();
  }
  return out;
}

// 3.0 text escaping and folding at 75 octets.
std::string Escaped30(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == ',' || c == ';' || c == '\\') {
      out.push_back('\\');
      out.push_back(c);
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out.push_back(c);
    }
  }
  return out;
}

void AppendFolded(std::string& out, std::string_view line) {
  std::size_t column = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    // Fold between UTF-8 sequences only.
    const bool continuation = (static_cast<unsigned char>(line[i]) & 0xC0) == 0x80;
    if (column >= 74 && !continuation) {
      out += "\r\n ";
      column = 1;
    }
    out.push_back(line[i]);
    ++column;
  }
  out += "\r\n";
}

std::string Base64(const std::string& bytes) {
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  std::size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const std::uint32_t v = static_cast<unsigned char>(bytes[i]) << 16 |
                            static_cast<unsigned char>(bytes[i + 1]) << 8 |
                            static_cast<unsigned char>(bytes[i + 2]);
    out += kAlphabet[v >> 18 & 63];
    out += kAlphabet[v >> 12 & 63];
    out += kAlphabet[v >> 6 & 63];
    out += kAlphabet[v & 63];
  }
  if (i < bytes.size()) {
    std::uint32_t v = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    out += kAlphabet[v >> 18 & 63];
    out += kAlphabet[v >> 12 & 63];
    out += i + 1 < bytes.size() ? kAlphabet[v >> 6 & 63] : '=';
    out += '=';
  }
  return out;
}

class CardWriter {
 public:
  CardWriter(Random& random, std::string& out) : r_(random), out_(out) {}

  void Write(Kind kind, bool photo, int number) {
    kind_ = kind;
    const bool v30 = kind == Kind::kV30Utf8;
    const char* const* first = kFirstLatin;
    const char* const* last = kLastLatin;
    int names = 10;
    if (kind == Kind::kV21Windows1251 || (kind != Kind::kV21Windows1252 && r_.Below(4) == 0)) {
      first = kFirstCyrillic;
      last = kLastCyrillic;
      names = 8;
    } else if (kind != Kind::kV30Utf8 || r_.Below(3) == 0) {
      first = kFirstGerman;
      last = kLastGerman;
      names = 8;
    }
    const std::string given = first[r_.Below(names)];
    const std::string family = last[r_.Below(names)];

    out_ += "BEGIN:VCARD\r\n";
    out_ += v30 ? "VERSION:3.0\r\n" : "VERSION:2.1\r\n";
    if (v30) out_ += "PRODID:-//Apple Inc.//iPhone OS 17.0//EN\r\n";
    Text("N", family + ";" + given + ";;;", true);
    Text("FN", given + " " + family, false);
    Text("ORG", std::string(r_.Pick(kCompanies)) + ";Sales", true);
    Text("TITLE", "Account Manager", false);
    const int phones = 2 + r_.Below(3);
    static constexpr const char* kPhoneTypes30[] = {"CELL,VOICE", "HOME,VOICE", "WORK,FAX",
                                                    "WORK,VOICE,PREF"};
    static constexpr const char* kPhoneTypes21[] = {"CELL;VOICE", "HOME;VOICE", "WORK;FAX",
                                                    "WORK;VOICE;PREF"};
    for (int i = 0; i < phones; ++i) {
      char number_text[40];
      std::snprintf(number_text, sizeof number_text, "+1 (%03d) 555-%04d", 200 + r_.Below(700),
                    r_.Below(10000));
      out_ += v30 ? "TEL;TYPE=" : "TEL;";
      out_ += v30 ? kPhoneTypes30[i % 4] : kPhoneTypes21[i % 4];
      out_ += ':';
      out_ += number_text;
      out_ += "\r\n";
    }
    const int emails = 1 + r_.Below(3);
    for (int i = 0; i < emails; ++i) {
      if (v30 && i == 0) {
        out_ += "item1.EMAIL;TYPE=INTERNET,PREF:";
      } else {
        out_ += v30 ? "EMAIL;TYPE=INTERNET,WORK:" : "EMAIL;INTERNET:";
      }
      out_ += "contact" + std::to_string(number) + "." + std::to_string(i) + "@example.com\r\n";
      if (v30 && i == 0) out_ += "item1.X-ABLabel:_$!<Other>!$_\r\n";
    }
    const int addresses = 1 + r_.Below(2);
    for (int i = 0; i < addresses; ++i) {
      const std::string adr = std::string(";;") + r_.Pick(kStreets) + ";" + r_.Pick(kCities) +
                              ";;" + std::to_string(10000 + r_.Below(89999)) + ";Country";
      Text(i == 0 ? (v30 ? "ADR;TYPE=HOME" : "ADR;HOME") : (v30 ? "ADR;TYPE=WORK" : "ADR;WORK"),
           adr, true);
    }
    if (v30) {
      out_ += "item2.URL:https\\://www.example.com/people/" + std::to_string(number) + "\r\n";
      out_ += "item2.X-ABLabel:_$!<HomePage>!$_\r\n";
    }
    std::string note;
    const int words = 20 + r_.Below(40);
    for (int i = 0; i < words; ++i) {
      note += r_.Pick(kNoteWords);
      note += (i % 12 == 11) ? "\n" : " ";
    }
    Text("NOTE", note, false);
    char date[64];
    std::snprintf(date, sizeof date, v30 ? "BDAY:%04d-%02d-%02d\r\n" : "BDAY:%04d%02d%02d\r\n",
                  1950 + r_.Below(55), 1 + r_.Below(12), 1 + r_.Below(28));
    out_ += date;
    std::snprintf(date, sizeof date, "REV:%04d-%02d-%02dT%02d:%02d:%02dZ\r\n", 2015 + r_.Below(10),
                  1 + r_.Below(12), 1 + r_.Below(28), r_.Below(24), r_.Below(60), r_.Below(60));
    out_ += date;
    char uid[64];
    std::snprintf(uid, sizeof uid, "UID:%08x-%04x-%04x-%04x-%08x%04x\r\n", r_.Next(),
                  r_.Next() & 0xFFFF, r_.Next() & 0xFFFF, r_.Next() & 0xFFFF, r_.Next(),
                  r_.Next() & 0xFFFF);
    out_ += uid;
    std::string categories = std::string(r_.Pick(kCategories)) + "," + r_.Pick(kCategories);
    out_ += "CATEGORIES:" + categories + "\r\n";
    if (photo) Photo(v30);
    out_ += "END:VCARD\r\n";
  }

 private:
  // A text property in the card's form: 3.0 escaped and folded; 2.1 with
  // CHARSET and QUOTED-PRINTABLE when not ASCII. `structured` keeps the ';'.
  void Text(const std::string& name, const std::string& utf8, bool structured) {
    if (kind_ == Kind::kV30Utf8) {
      std::string value;
      if (structured) {
        std::size_t start = 0;
        for (;;) {
          const std::size_t semi = utf8.find(';', start);
          value += Escaped30(utf8.substr(start, semi - start));
          if (semi == std::string::npos) break;
          value += ';';
          start = semi + 1;
        }
      } else {
        value = Escaped30(utf8);
      }
      AppendFolded(out_, name + ":" + value);
      return;
    }
    const std::string bytes = InCharset(kind_, utf8);
    if (IsAscii(bytes) && bytes.find('\n') == std::string::npos) {
      out_ += name + ":" + bytes + "\r\n";
      return;
    }
    static constexpr const char* kCharsets[] = {"", "UTF-8", "WINDOWS-1252", "windows-1251"};
    const std::string head =
        name + ";CHARSET=" + kCharsets[static_cast<int>(kind_)] + ";ENCODING=QUOTED-PRINTABLE:";
    out_ += head;
    out_ += QuotedPrintable(bytes, head.size());
    out_ += "\r\n";
  }

  void Photo(bool v30) {
    std::string jpeg = "\xFF\xD8\xFF\xE0";
    const int size = 3000 + r_.Below(3000);
    for (int i = 0; i < size; ++i) jpeg.push_back(static_cast<char>(r_.Next() >> 7));
    const std::string data = Base64(jpeg);
    // 3.0: data from the first line on, folded with one space; 2.1: data on
    // indented lines after the property line, closed by a blank line.
    out_ += v30 ? "PHOTO;ENCODING=b;TYPE=JPEG:" : "PHOTO;ENCODING=BASE64;TYPE=JPEG:\r\n";
    for (std::size_t i = 0; i < data.size(); i += 72) {
      if (!v30) {
        out_ += "  ";
      } else if (i > 0) {
        out_ += ' ';
      }
      out_ += data.substr(i, 72);
      out_ += "\r\n";
    }
    if (!v30) out_ += "\r\n";
  }

  Random& r_;
  std::string& out_;
  Kind kind_ = Kind::kV30Utf8;
};

}  // namespace

std::string MakeCardCorpus(const CardCorpusOptions& options) {
  Random random(options.seed);
  std::string out;
  out.reserve(options.target_bytes + 65536);
  CardWriter writer(random, out);
  static constexpr Kind kRotation[] = {Kind::kV30Utf8, Kind::kV21Utf8,
                                       Kind::kV30Utf8, Kind::kV21Windows1252,
                                       Kind::kV30Utf8, Kind::kV21Windows1251};
  static constexpr Kind kRotation21[] = {Kind::kV21Utf8, Kind::kV21Windows1252,
                                         Kind::kV21Windows1251};
  for (int number = 0; out.size() < options.target_bytes; ++number) {
    const bool photo = random.Below(100) < options.photo_percent;
    Kind kind = kRotation[number % 6];
    if (options.versions == CardVersions::kOnly30) kind = Kind::kV30Utf8;
    if (options.versions == CardVersions::kOnly21) kind = kRotation21[number % 3];
    writer.Write(kind, photo, number);
  }
  return out;
}

}  // namespace velmora::bench

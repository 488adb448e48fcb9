#include "vcard/date_time_value.h"

namespace velmora::vcard {
namespace {

class Reader {
 public:
  explicit Reader(std::u16string_view text) : text_(text) {}

  bool AtEnd() const { return pos_ >= text_.size(); }
  char16_t Peek() const { return AtEnd() ? u'\0' : text_[pos_]; }
  bool Take(char16_t c) {
    if (Peek() != c) return false;
    ++pos_;
    return true;
  }
  // Up to `max` digits; how many were read goes to `count`.
  int Digits(int max, int& count) {
    int value = 0;
    count = 0;
    while (count < max && !AtEnd() && text_[pos_] >= u'0' && text_[pos_] <= u'9') {
      value = value * 10 + (text_[pos_] - u'0');
      ++pos_;
      ++count;
    }
    return value;
  }
  int DigitRun() const {
    std::size_t p = pos_;
    while (p < text_.size() && text_[p] >= u'0' && text_[p] <= u'9') ++p;
    return static_cast<int>(p - pos_);
  }

 private:
  std::u16string_view text_;
  std::size_t pos_ = 0;
};

bool ReadDate(Reader& r, SystemTime& t) {
  int count = 0;
  if (r.Take(u'-')) {
    // A birthday without its year: "--MMDD" or "--MM-DD".
    if (!r.Take(u'-')) return false;
    t.year = kYearUnknown;
    if (r.DigitRun() == 4) {
      t.month = r.Digits(2, count);
      t.day = r.Digits(2, count);
      return true;
    }
    t.month = r.Digits(2, count);
    if (count == 0 || !r.Take(u'-')) return false;
    t.day = r.Digits(2, count);
    return count > 0;
  }
  const int run = r.DigitRun();
  if (run == 8) {
    t.year = r.Digits(4, count);
    t.month = r.Digits(2, count);
    t.day = r.Digits(2, count);
    return true;
  }
  if (run < 1 || run > 4) return false;
  t.year = r.Digits(4, count);
  if (count < 4) t.year += 2000;
  if (!r.Take(u'-')) return false;
  t.month = r.Digits(2, count);
  if (!r.Take(u'-')) return false;
  t.day = r.Digits(2, count);
  return true;
}

bool ReadTime(Reader& r, SystemTime& t) {
  int count = 0;
  if (r.DigitRun() == 6) {
    t.hour = r.Digits(2, count);
    t.minute = r.Digits(2, count);
    t.second = r.Digits(2, count);
    return true;
  }
  t.hour = r.Digits(2, count);
  if (!r.Take(u':')) return false;
  t.minute = r.Digits(2, count);
  if (!r.Take(u':')) return false;
  t.second = r.Digits(2, count);
  if (r.Take(u',') || r.Take(u'.')) {
    const int fraction = r.Digits(3, count);
    if (count == 0) return false;
    static constexpr int kScale[] = {0, 100, 10, 1};
    t.milliseconds = fraction * kScale[count];
  }
  return true;
}

// "+hh:mm", "-hh:mm", "+hhmm" or "+hh": minutes east of UTC.
bool ReadOffset(Reader& r, int& minutes) {
  int sign = 1;
  if (r.Take(u'-')) {
    sign = -1;
  } else if (!r.Take(u'+')) {
    return false;
  }
  int count = 0;
  const int hours = r.Digits(2, count);
  if (count != 2 || hours > 23) return false;
  int mins = 0;
  const bool colon = r.Take(u':');
  if (colon || !r.AtEnd()) {
    mins = r.Digits(2, count);
    if (count != 2 || mins > 59) return false;
  }
  minutes = sign * (hours * 60 + mins);
  return true;
}

}  // namespace

bool ParseDateTimeText(std::u16string_view text, SystemTime& time, bool& is_utc,
                       std::optional<int>* utc_offset_minutes) {
  is_utc = false;
  if (utc_offset_minutes) utc_offset_minutes->reset();
  SystemTime t;
  Reader r(text);
  if (!ReadDate(r, t)) return false;
  int offset = 0;
  bool has_offset = false;
  if (!r.AtEnd()) {
    if (!r.Take(u'T') && !r.Take(u't')) return false;
    if (!ReadTime(r, t)) return false;
    if (r.Take(u'Z') || r.Take(u'z')) {
      is_utc = true;
    } else if (utc_offset_minutes && (r.Peek() == u'+' || r.Peek() == u'-')) {
      if (!ReadOffset(r, offset)) return false;
      has_offset = true;
    }
    if (!r.AtEnd()) return false;
  }
  if (t.year == 0 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour > 23 ||
      t.minute > 59 || t.second > 59 || t.milliseconds > 999) {
    return false;
  }
  time = t;
  if (has_offset) *utc_offset_minutes = offset;
  return true;
}

}  // namespace velmora::vcard

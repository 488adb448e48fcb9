#include "csv_corpus.h"

#include <array>
#include <random>

namespace velmora::bench {
namespace {

constexpr std::array<const char*, 92> kHeader = {"Title",
                                                 "First Name",
                                                 "Middle Name",
                                                 "Last Name",
                                                 "Suffix",
                                                 "Company",
                                                 "Department",
                                                 "Job Title",
                                                 "Business Street",
                                                 "Business Street 2",
                                                 "Business Street 3",
                                                 "Business City",
                                                 "Business State",
                                                 "Business Postal Code",
                                                 "Business Country/Region",
                                                 "Home Street",
                                                 "Home Street 2",
                                                 "Home Street 3",
                                                 "Home City",
                                                 "Home State",
                                                 "Home Postal Code",
                                                 "Home Country/Region",
                                                 "Other Street",
                                                 "Other Street 2",
                                                 "Other Street 3",
                                                 "Other City",
                                                 "Other State",
                                                 "Other Postal Code",
                                                 "Other Country/Region",
                                                 "Assistant's Phone",
                                                 "Business Fax",
                                                 "Business Phone",
                                                 "Business Phone 2",
                                                 "Callback",
                                                 "Car Phone",
                                                 "Company Main Phone",
                                                 "Home Fax",
                                                 "Home Phone",
                                                 "Home Phone 2",
                                                 "ISDN",
                                                 "Mobile Phone",
                                                 "Other Fax",
                                                 "Other Phone",
                                                 "Pager",
                                                 "Primary Phone",
                                                 "Radio Phone",
                                                 "TTY/TDD Phone",
                                                 "Telex",
                                                 "Account",
                                                 "Anniversary",
                                                 "Assistant's Name",
                                                 "Billing Information",
                                                 "Birthday",
                                                 "Business Address PO Box",
                                                 "Categories",
                                                 "Children",
                                                 "Directory Server",
                                                 "E-mail Address",
                                                 "E-mail Type",
                                                 "E-mail Display Name",
                                                 "E-mail 2 Address",
                                                 "E-mail 2 Type",
                                                 "E-mail 2 Display Name",
                                                 "E-mail 3 Address",
                                                 "E-mail 3 Type",
                                                 "E-mail 3 Display Name",
                                                 "Gender",
                                                 "Government ID Number",
                                                 "Hobby",
                                                 "Home Address PO Box",
                                                 "Initials",
                                                 "Internet Free Busy",
                                                 "Keywords",
                                                 "Language",
                                                 "Location",
                                                 "Manager's Name",
                                                 "Mileage",
                                                 "Notes",
                                                 "Office Location",
                                                 "Organizational ID Number",
                                                 "Other Address PO Box",
                                                 "Priority",
                                                 "Private",
                                                 "Profession",
                                                 "Referred By",
                                                 "Sensitivity",
                                                 "Spouse",
                                                 "User 1",
                                                 "User 2",
                                                 "User 3",
                                                 "User 4",
                                                 "Web Page"};

// Columns Outlook writes bare: the two dates, gender, priority, private,
// sensitivity.
bool IsBare(std::size_t column) {
  return column == 49 || column == 52 || column == 66 || column == 81 || column == 82 ||
         column == 85;
}

class RowWriter {
 public:
  RowWriter(bool windows1252, std::uint32_t seed) : ansi_(windows1252), random_(seed) {}

  void Header(std::string& out) const {
    if (!ansi_) out += "\xEF\xBB\xBF";
    for (std::size_t i = 0; i < kHeader.size(); ++i) {
      if (i > 0) out += ',';
      out += kHeader[i];
    }
    out += "\r\n";
  }

  void Row(std::string& out) {
    const unsigned r = random_();
    for (std::size_t column = 0; column < kHeader.size(); ++column) {
      if (column > 0) out += ',';
      if (IsBare(column)) {
        out += Bare(column, r);
        continue;
      }
      out += '"';
      Value(out, column, r);
      out += '"';
    }
    out += "\r\n";
  }

 private:
  std::string Bare(std::size_t column, unsigned r) const {
    switch (column) {
      case 49:
        return "0/0/00";
      case 52:
        return r % 3 == 0 ? "0/0/00"
                          : std::to_string(r % 12 + 1) + "/" + std::to_string(r % 28 + 1) + "/19" +
                                std::to_string(50 + r % 50);
      case 66:
        return "Unspecified";
      case 81:
        return "Normal";
      case 82:
        return "False";
      default:
        return "Normal";
    }
  }

  const char* Pick(const char* const* utf8, const char* const* ansi, unsigned r) const {
    return (ansi_ ? ansi : utf8)[r % 8];
  }

  void Value(std::string& out, std::size_t column, unsigned r) {
    static const char* const kFirstUtf8[] = {"René", "Zoë",   "Søren",  "John",
                                             "Mary", "Ñandú", "Jürgen", "Anne"};
    static const char* const kFirst1252[] = {"Ren\xE9",
                                             "Zo\xEB",
                                             "S\xF8ren",
                                             "John",
                                             "Mary",
                                             "\xD1"
                                             "and\xFA",
                                             "J\xFCrgen",
                                             "Anne"};
    static const char* const kLastUtf8[] = {"Müller",  "Smith",  "O'Brien", "Crème",
                                            "Johnson", "Straße", "Lee",     "García"};
    static const char* const kLast1252[] = {"M\xFCller",
                                            "Smith",
                                            "O'Brien",
                                            "Cr\xE8me",
                                            "Johnson",
                                            "Stra\xDF"
                                            "e",
                                            "Lee",
                                            "Garc\xED"
                                            "a"};
    const unsigned v = r + static_cast<unsigned>(column) * 2654435761u;
    switch (column) {
      case 1:
        out += Pick(kFirstUtf8, kFirst1252, r);
        return;
      case 3:
        out += Pick(kLastUtf8, kLast1252, r >> 3);
        return;
      case 5:
        out += (v % 2 == 0) ? "Contoso, Ltd." : "Fabrikam Inc.";
        return;
      case 7:
        out += "Sales Manager";
        return;
      case 8:
        out += std::to_string(v % 9000 + 100);
        out += " Main Street\r\nSuite ";
        out += std::to_string(v % 90 + 10);
        return;
      case 11:
        out += "Redmond";
        return;
      case 12:
        out += "WA";
        return;
      case 13:
        out += std::to_string(98000 + v % 999);
        return;
      case 14:
        out += "United States of America";
        return;
      case 15:
        out += "12 Elm Road, Apt. 4";
        return;
      case 18:
        out += "Seattle";
        return;
      case 31:
        out += "+1 (425) 555-0" + std::to_string(100 + v % 900);
        return;
      case 37:
        out += "(206) 555-" + std::to_string(1000 + v % 9000);
        return;
      case 40:
        out += "+1 206 555 " + std::to_string(1000 + v % 9000);
        return;
      case 54:
        out += "Business;Friends";
        return;
      case 57:
        out += Pick(kFirstUtf8, kFirst1252, r);
        out += ".user" + std::to_string(v % 10000) + "@example.com";
        return;
      case 58:
        out += "SMTP";
        return;
      case 59:
        out += "John Doe (john@example.com)";
        return;
      case 77:
        if (r % 2 == 0) {
          out += "Met at the \"\"Spring\"\" fair, booth 12.\r\nCall back, after 3pm.\r\n";
          out += Pick(kLastUtf8, kLast1252, r >> 5);
        }
        return;
      case 91:
        out += "http://www.example.com/";
        return;
      default:
        return;
    }
  }

  bool ansi_;
  std::mt19937 random_;
};

}  // namespace

std::string MakeCsvCorpus(const CsvCorpusOptions& options) {
  RowWriter writer(options.windows1252, options.seed);
  std::string out;
  out.reserve(options.target_bytes + 4096);
  writer.Header(out);
  while (out.size() < options.target_bytes) writer.Row(out);
  return out;
}

}  // namespace velmora::bench

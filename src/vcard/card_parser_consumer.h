// Where the vCard parser hands its results: whoever loads cards (conversion,
// saving, previews, duplicate resolution, CSV export) implements this and
// plugs it into a CCardParser without the parser knowing what happens next.
#pragma once

namespace velmora::contact {
struct ContactRecord;
}  // namespace velmora::contact

namespace velmora::vcard {

class CCardDocItem;

class ICardParserConsumer {
 public:
  // Convert mode: called once per item with the record parsed from it. The
  // record is the parser's own and is reused for the next item: copy what
  // must outlive the call. The item stays valid as long as its document
  // holds it. Returning false stops loading.
  virtual bool OnParsedItem(const contact::ContactRecord& record, const CCardDocItem& item) = 0;

  // Collect mode: called once per item instead, after its text was added to
  // the collected texts. Returning false stops loading.
  virtual bool OnCollectedItem(const CCardDocItem& item) {
    (void)item;
    return true;
  }

 protected:
  ~ICardParserConsumer() = default;
};

}  // namespace velmora::vcard

// The callback through which a vCard document hands out each item as soon as
// the reader has completed it, so that a caller can convert cards while the
// rest of the text is still being read.
#pragma once

namespace velmora::vcard {

class CCardDocItem;

class ICardLoadProgress {
 public:
  // Called once per complete item, right after it was appended to its
  // document. The item (and every slice of it) stays valid until the document
  // is cleared, reloaded or destroyed. Returning false stops loading; the
  // load then returns LoadResult::kStopped.
  virtual bool OnCardLoaded(const CCardDocItem& item) = 0;

 protected:
  ~ICardLoadProgress() = default;
};

}  // namespace velmora::vcard

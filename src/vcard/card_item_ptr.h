// A non-owning handle to an item of a document, as the document's item list
// hands them out: it reads like a pointer (get, ->, *). The document owns the
// item; the handle is valid until the document is cleared, reloaded or
// destroyed.
#pragma once

namespace velmora::vcard {

class CCardDocItem;

class CardItemPtr {
 public:
  explicit CardItemPtr(CCardDocItem* item) : item_(item) {}
  CCardDocItem* get() const { return item_; }
  CCardDocItem* operator->() const { return item_; }
  CCardDocItem& operator*() const { return *item_; }
  explicit operator bool() const { return item_ != nullptr; }

 private:
  CCardDocItem* item_;
};

}  // namespace velmora::vcard

#include "automation/single_card_parser.h"

#include "vcard/card_parser.h"

namespace velmora {
namespace {

// Copies the first record and stops the load.
class FirstRecord final : public ICardParserConsumer {
 public:
  explicit FirstRecord(ContactRecord* record) : record_(record) {}
  bool OnParsedItem(const ContactRecord& record, const CCardDocItem&) override {
    *record_ = record;
    delivered_ = true;
    return false;
  }
  bool delivered() const { return delivered_; }

 private:
  ContactRecord* record_;
  bool delivered_ = false;
};

}  // namespace

HRESULT ParseSingleCard(CConverterContext& context, std::string_view card,
                        const FieldFilter* filter, ContactRecord* record) {
  if (card.empty() || card.size() > static_cast<std::size_t>(CCardDoc::kMaxContentLength)) {
    return E_GENERIC_FAILURE;
  }
  CCardParser parser(context.log(), context.charsets());
  FirstRecord consumer(record);
  const LoadResult loaded = parser.LoadMemory(card.data(), static_cast<std::int32_t>(card.size()),
                                              {.consumer = &consumer, .filter = filter});
  if (loaded == LoadResult::kNoItem) return LoadResultStatus(loaded);
  return consumer.delivered() ? S_OK : E_GENERIC_FAILURE;
}

}  // namespace velmora

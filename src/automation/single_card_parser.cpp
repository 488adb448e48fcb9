#include "automation/single_card_parser.h"

#include "vcard/card_parser.h"

namespace velmora::automation {
namespace {

// Copies the first record and stops the load.
class FirstRecord final : public vcard::ICardParserConsumer {
 public:
  explicit FirstRecord(contact::ContactRecord* record) : record_(record) {}
  bool OnParsedItem(const contact::ContactRecord& record, const vcard::CCardDocItem&) override {
    *record_ = record;
    delivered_ = true;
    return false;
  }
  bool delivered() const { return delivered_; }

 private:
  contact::ContactRecord* record_;
  bool delivered_ = false;
};

}  // namespace

HRESULT ParseSingleCard(CConverterContext& context, std::string_view card,
                        const contact::FieldFilter* filter, contact::ContactRecord* record) {
  if (card.empty() || card.size() > static_cast<std::size_t>(vcard::CCardDoc::kMaxContentLength)) {
    return E_GENERIC_FAILURE;
  }
  vcard::CCardParser parser(context.log(), context.charsets());
  FirstRecord consumer(record);
  const vcard::LoadResult loaded =
      parser.LoadMemory(card.data(), static_cast<std::int32_t>(card.size()),
                        {.consumer = &consumer, .filter = filter});
  if (loaded == vcard::LoadResult::kNoItem) return vcard::LoadResultStatus(loaded);
  return consumer.delivered() ? S_OK : E_GENERIC_FAILURE;
}

}  // namespace velmora::automation

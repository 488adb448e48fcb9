// The converter's duplicate resolution between a client and a server card
// set: argument checks, loading, resolution and the two result collections.
#pragma once

#include <cstdint>
#include <memory>

#include <velmora/card_converter.h>
#include <velmora/cards.h>
#include <velmora/enums.h>
#include <velmora/status.h>
#include <velmora/variant.h>

#include "automation/converter_context.h"

namespace velmora::automation {

// See ICardConverter::DR. Label "CComCardConverter.DR".
HRESULT ResolveDuplicates(const std::shared_ptr<CConverterContext>& context,
                          const Variant& client_cards, const Variant& server_cards,
                          const Variant& server_cards_tags, EDRMethod method,
                          std::shared_ptr<ICards>* cards_to_add,
                          std::shared_ptr<ICards>* cards_to_overwrite,
                          std::int32_t* client_duplicates, ICardConverterProgress* progress);

}  // namespace velmora::automation

// Parses the bytes of one card (as a collection holds them) into a contact
// record, for previews and contact objects.
#pragma once

#include <string_view>

#include <velmora/status.h>

#include "automation/converter_context.h"
#include "contact/card_fields.h"
#include "contact/contact_record.h"

namespace velmora::automation {

// Reads the first item of `card`, restricted to `filter` when given, into
// `record`. Returns S_OK, or the load's failure (-1 when `card` holds no
// complete item).
HRESULT ParseSingleCard(CConverterContext& context, std::string_view card,
                        const contact::FieldFilter* filter, contact::ContactRecord* record);

}  // namespace velmora::automation

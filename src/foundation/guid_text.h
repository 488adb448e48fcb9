// GUIDs as registry text: "{9F092E35-D228-4288-A17B-CD42FE326225}".
#pragma once

#include <string>

#include <velmora/guids.h>

namespace velmora {

// Upper-case hexadecimal in braces, the form keys and values are named by.
std::string GuidText(const VelmoraGuid& guid);

}  // namespace velmora

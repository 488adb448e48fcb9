// Small helpers for the arguments of the public methods: the optional
// Variant kinds they accept, out pointers and UTF-16 paths.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

#include <velmora/status.h>
#include <velmora/variant.h>

namespace velmora::automation {

// True when `value` is missing or a string.
inline bool IsMissingOrString(const Variant& value) {
  return value.is_missing() || value.string() != nullptr;
}

// True when `value` is missing or a 32-bit integer of either sign, as
// flags are passed.
inline bool IsMissingOrInt32(const Variant& value) {
  return value.is_missing() || value.int32() != nullptr || value.uint32() != nullptr;
}

// The 32-bit integer a Variant holds; `fallback` when it holds none.
inline std::int32_t Int32Or(const Variant& value, std::int32_t fallback) {
  if (value.int32() != nullptr) return *value.int32();
  if (value.uint32() != nullptr) return static_cast<std::int32_t>(*value.uint32());
  return fallback;
}

// The string a Variant holds; empty when it holds none.
inline std::u16string StringOrEmpty(const Variant& value) {
  const std::u16string* text = value.string();
  return text ? *text : std::u16string();
}

// Stores a result through a required out pointer; E_INVALIDARG when the
// pointer is null.
template <typename T, typename V>
HRESULT SetOut(T* out, V&& value) {
  if (out == nullptr) return E_INVALIDARG;
  *out = std::forward<V>(value);
  return S_OK;
}

// A file-system path from UTF-16 text (UTF-8 on disk) and back.
std::filesystem::path PathFromUtf16(std::u16string_view text);
std::u16string Utf16FromPath(const std::filesystem::path& path);

}  // namespace velmora::automation

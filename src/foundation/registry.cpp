#include "foundation/registry.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>
#include <vector>

#include "foundation/file_system.h"
#include "foundation/system_status.h"
#include "foundation/text_util.h"

namespace velmora::registry {
namespace {

struct Value {
  std::string name;
  bool is_dword = false;
  std::uint32_t dword = 0;
  std::string text;
};

struct Key {
  std::string path;
  std::vector<Value> values;
};

using HiveData = std::vector<Key>;

std::mutex& Mutex() {
  static std::mutex m;
  return m;
}

std::mutex& OverrideMutex() {
  static std::mutex m;
  return m;
}

std::optional<Hive>& ClassesHiveOverride() {
  static std::optional<Hive> hive;
  return hive;
}

std::filesystem::path& Override(Hive hive) {
  static std::filesystem::path paths[2];
  return paths[hive == Hive::kCurrentUser ? 0 : 1];
}

// Keys compare without case and without surrounding or doubled separators.
std::string NormalizeKey(std::string_view key) {
  std::string out;
  for (char c : key) {
    if (c == '\\' || c == '/') {
      if (!out.empty() && out.back() != '\\') out.push_back('\\');
    } else {
      out.push_back(c);
    }
  }
  while (!out.empty() && out.back() == '\\') out.pop_back();
  return out;
}

std::string Unescape(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) ++i;
    out.push_back(s[i]);
  }
  return out;
}

std::string Escape(std::string_view s) {
  std::string out;
  for (char c : s) {
    if (c == '\\' || c == '"') out.push_back('\\');
    out.push_back(c);
  }
  return out;
}

// Reads a quoted string starting at s[*pos] == '"'; advances past it.
bool ReadQuoted(std::string_view s, std::size_t* pos, std::string* out) {
  if (*pos >= s.size() || s[*pos] != '"') return false;
  std::size_t i = *pos + 1;
  std::size_t start = i;
  while (i < s.size() && s[i] != '"') i += (s[i] == '\\') ? 2 : 1;
  if (i >= s.size()) return false;
  *out = Unescape(s.substr(start, i - start));
  *pos = i + 1;
  return true;
}

// Lines that do not parse are skipped: a damaged file must not stop the
// lookups of the values that are still readable.
HiveData Parse(const std::string& content) {
  HiveData data;
  std::istringstream in(content);
  std::string raw;
  Key* current = nullptr;
  while (std::getline(in, raw)) {
    std::string_view line = text::Trim(std::string_view(raw));
    if (line.empty() || line[0] == '#' || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      data.push_back(Key{NormalizeKey(line.substr(1, line.size() - 2)), {}});
      current = &data.back();
      continue;
    }
    if (current == nullptr) continue;
    std::size_t pos = 0;
    Value value;
    if (!ReadQuoted(line, &pos, &value.name)) continue;
    if (pos >= line.size() || line[pos] != '=') continue;
    ++pos;
    std::string_view rest = line.substr(pos);
    if (text::StartsWithAsciiNoCase(rest, "dword:")) {
      std::string digits(text::Trim(rest.substr(6)));
      char* end = nullptr;
      unsigned long v = std::strtoul(digits.c_str(), &end, 16);
      if (digits.empty() || *end != '\0' || v > 0xFFFFFFFFul) continue;
      value.is_dword = true;
      value.dword = static_cast<std::uint32_t>(v);
    } else if (!ReadQuoted(line, &pos, &value.text)) {
      continue;
    }
    current->values.push_back(std::move(value));
  }
  return data;
}

std::string Serialize(const HiveData& data) {
  std::ostringstream out;
  out << "# Velmora settings store; keys in brackets, values \"name\"=dword:hex or "
         "\"name\"=\"text\"\n";
  for (const Key& key : data) {
    out << '\n' << '[' << key.path << "]\n";
    for (const Value& v : key.values) {
      out << '"' << Escape(v.name) << "\"=";
      if (v.is_dword) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%08x", v.dword);
        out << "dword:" << hex << '\n';
      } else {
        out << '"' << Escape(v.text) << "\"\n";
      }
    }
  }
  return out.str();
}

HRESULT Load(Hive hive, HiveData* data) {
  std::string content;
  HRESULT status = files::ReadWholeFile(HivePath(hive), content, 64u << 20);
  if (FAILED(status)) return status;
  *data = Parse(content);
  return S_OK;
}

Key* FindKey(HiveData& data, std::string_view key) {
  std::string wanted = NormalizeKey(key);
  for (Key& k : data) {
    if (text::EqualsAsciiNoCase(k.path, wanted)) return &k;
  }
  return nullptr;
}

const Value* FindValue(Hive hive, std::string_view key, std::string_view name, HiveData* data,
                       HRESULT* status) {
  *status = Load(hive, data);
  if (FAILED(*status)) return nullptr;
  Key* k = FindKey(*data, key);
  if (k != nullptr) {
    for (const Value& v : k->values) {
      if (text::EqualsAsciiNoCase(v.name, name)) return &v;
    }
  }
  *status = HRESULT_FROM_WIN32(win32::ERROR_FILE_NOT_FOUND);
  return nullptr;
}

template <typename Edit>
HRESULT Modify(Hive hive, Edit edit) {
  std::lock_guard lock(Mutex());
  HiveData data;
  HRESULT status = Load(hive, &data);
  if (status == HRESULT_FROM_WIN32(win32::ERROR_FILE_NOT_FOUND) ||
      status == HRESULT_FROM_WIN32(win32::ERROR_PATH_NOT_FOUND)) {
    data.clear();
  } else if (FAILED(status)) {
    return status;
  }
  status = edit(data);
  if (FAILED(status)) return status;
  const std::filesystem::path path = HivePath(hive);
  if (path.has_parent_path()) {
    status = files::CreateFolder(path.parent_path());
    if (FAILED(status)) return status;
  }
  return files::WriteFileReplacing(path, Serialize(data));
}

HRESULT SetValue(Hive hive, std::string_view key, Value value) {
  return Modify(hive, [&](HiveData& data) {
    Key* k = FindKey(data, key);
    if (k == nullptr) {
      data.push_back(Key{NormalizeKey(key), {}});
      k = &data.back();
    }
    for (Value& v : k->values) {
      if (text::EqualsAsciiNoCase(v.name, value.name)) {
        v = std::move(value);
        return S_OK;
      }
    }
    k->values.push_back(std::move(value));
    return S_OK;
  });
}

}  // namespace

std::filesystem::path HivePath(Hive hive) {
  {
    std::lock_guard lock(OverrideMutex());
    if (!Override(hive).empty()) return Override(hive);
  }
  if (hive == Hive::kCurrentUser) {
    if (const char* p = std::getenv("VELMORA_REGISTRY_USER"); p && *p) return p;
    if (const char* p = std::getenv("XDG_CONFIG_HOME"); p && *p == '/') {
      return std::filesystem::path(p) / "velmora" / "registry.ini";
    }
    if (const char* p = std::getenv("HOME"); p && *p) {
      return std::filesystem::path(p) / ".config" / "velmora" / "registry.ini";
    }
    return {};
  }
  if (const char* p = std::getenv("VELMORA_REGISTRY_MACHINE"); p && *p) return p;
  return "/etc/velmora/registry.ini";
}

void OverrideHivePath(Hive hive, const std::filesystem::path& path) {
  std::lock_guard lock(OverrideMutex());
  Override(hive) = path;
}

HRESULT ReadDword(Hive hive, std::string_view key, std::string_view name, std::uint32_t* value) {
  HiveData data;
  HRESULT status;
  const Value* v = FindValue(hive, key, name, &data, &status);
  if (v == nullptr) return status;
  if (!v->is_dword) return HRESULT_FROM_WIN32(kErrorDatatypeMismatch);
  *value = v->dword;
  return S_OK;
}

HRESULT ReadString(Hive hive, std::string_view key, std::string_view name, std::string* value) {
  HiveData data;
  HRESULT status;
  const Value* v = FindValue(hive, key, name, &data, &status);
  if (v == nullptr) return status;
  if (v->is_dword) return HRESULT_FROM_WIN32(kErrorDatatypeMismatch);
  *value = v->text;
  return S_OK;
}

HRESULT WriteDword(Hive hive, std::string_view key, std::string_view name, std::uint32_t value) {
  return SetValue(hive, key, Value{std::string(name), true, value, {}});
}

HRESULT WriteString(Hive hive, std::string_view key, std::string_view name,
                    std::string_view value) {
  return SetValue(hive, key, Value{std::string(name), false, 0, std::string(value)});
}

HRESULT DeleteValue(Hive hive, std::string_view key, std::string_view name) {
  return Modify(hive, [&](HiveData& data) {
    Key* k = FindKey(data, key);
    if (k == nullptr) return HRESULT_FROM_WIN32(win32::ERROR_FILE_NOT_FOUND);
    std::erase_if(k->values, [&](const Value& v) { return text::EqualsAsciiNoCase(v.name, name); });
    return S_OK;
  });
}

HRESULT CreateKey(Hive hive, std::string_view key) {
  return Modify(hive, [&](HiveData& data) {
    if (FindKey(data, key) == nullptr) data.push_back(Key{NormalizeKey(key), {}});
    return S_OK;
  });
}

HRESULT DeleteKey(Hive hive, std::string_view key) {
  const std::string wanted = NormalizeKey(key);
  return Modify(hive, [&](HiveData& data) {
    const std::size_t before = data.size();
    std::erase_if(data, [&](const Key& k) {
      return text::EqualsAsciiNoCase(k.path, wanted) ||
             (k.path.size() > wanted.size() && k.path[wanted.size()] == '\\' &&
              text::StartsWithAsciiNoCase(k.path, wanted));
    });
    return data.size() == before ? HRESULT_FROM_WIN32(win32::ERROR_FILE_NOT_FOUND) : S_OK;
  });
}

Hive ClassesHive() {
  {
    std::lock_guard lock(OverrideMutex());
    if (ClassesHiveOverride()) return *ClassesHiveOverride();
  }
  const char* per_user = std::getenv("VELMORA_REGISTER_PER_USER");
  return per_user != nullptr && *per_user != '\0' && std::string_view(per_user) != "0"
             ? Hive::kCurrentUser
             : Hive::kLocalMachine;
}

void OverrideClassesHive(std::optional<Hive> hive) {
  std::lock_guard lock(OverrideMutex());
  ClassesHiveOverride() = hive;
}

}  // namespace velmora::registry

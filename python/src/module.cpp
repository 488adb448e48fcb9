// The extension module velmora._velmora: the object model as it is, every
// method returning its status (alone, or first in a tuple with the out
// values). The pure-Python package velmora builds the friendly layer on top.
#include <limits>

#include "common.h"

namespace velmora::python {

std::vector<std::uint8_t> BytesIn(const py::object& value) {
  if (py::isinstance<py::bytes>(value) || py::isinstance<py::bytearray>(value) ||
      py::isinstance<py::memoryview>(value)) {
    const py::buffer_info info = py::buffer(value).request();
    const auto* data = static_cast<const std::uint8_t*>(info.ptr);
    return std::vector<std::uint8_t>(data, data + info.size * info.itemsize);
  }
  throw py::type_error("expected bytes, bytearray or memoryview");
}

py::bytes BytesOut(const std::vector<std::uint8_t>& value) {
  return py::bytes(reinterpret_cast<const char*>(value.data()), value.size());
}

Variant VariantIn(const py::object& value) {
  if (value.is_none()) return Variant();
  if (py::isinstance<py::str>(value)) return Variant(value.cast<std::u16string>());
  // bool before int: Python's bool is an int.
  if (py::isinstance<py::bool_>(value)) return Variant(value.cast<bool>());
  if (py::isinstance<py::int_>(value)) {
    const long long number = value.cast<long long>();
    if (number >= std::numeric_limits<std::int32_t>::min() &&
        number <= std::numeric_limits<std::int32_t>::max()) {
      return Variant(static_cast<std::int32_t>(number));
    }
    if (number >= 0 && number <= std::numeric_limits<std::uint32_t>::max()) {
      return Variant(static_cast<std::uint32_t>(number));
    }
    throw py::type_error("integer argument does not fit in 32 bits");
  }
  if (py::isinstance<py::float_>(value)) return Variant(value.cast<double>());
  if (py::isinstance<py::bytes>(value) || py::isinstance<py::bytearray>(value)) {
    return Variant(BytesIn(value));
  }
  if (py::isinstance<py::list>(value) || py::isinstance<py::tuple>(value)) {
    return Variant(value.cast<std::vector<std::u16string>>());
  }
  if (py::isinstance<IObject>(value)) return Variant(value.cast<std::shared_ptr<IObject>>());
  throw py::type_error("unsupported argument type: " +
                       py::str(py::type::of(value)).cast<std::string>());
}

PyProgress::~PyProgress() = default;

void PyProgress::OnCardConverterProgress(std::int32_t iContact, std::int32_t cContacts,
                                         std::int32_t StatsSuccess, std::int32_t StatsSkipped,
                                         std::int32_t StatsErrors) {
  py::gil_scoped_acquire gil;
  if (error_) return;
  try {
    target_.attr("OnCardConverterProgress")(iContact, cContacts, StatsSuccess, StatsSkipped,
                                            StatsErrors);
  } catch (py::error_already_set& e) {
    error_ = std::make_unique<py::error_already_set>(std::move(e));
  }
}

bool PyProgress::IsCardConverterCancelled() {
  py::gil_scoped_acquire gil;
  if (error_) return true;
  try {
    return py::bool_(target_.attr("IsCardConverterCancelled")());
  } catch (py::error_already_set& e) {
    error_ = std::make_unique<py::error_already_set>(std::move(e));
    return true;
  }
}

void PyProgress::Rethrow() {
  if (error_) {
    std::unique_ptr<py::error_already_set> error = std::move(error_);
    error->restore();
    throw py::error_already_set();
  }
}

namespace {

void BindBase(py::module_& m) {
  py::class_<IObject, std::shared_ptr<IObject>>(m, "IObject",
                                                "The base of every object the library hands out.");
  m.def("LiveObjectCount", &LiveObjectCount,
        "The number of library objects alive in this process; zero once every object handed "
        "out has been released.");
  m.def("VersionString", &VersionString, "The library's version, \"major.minor.patch\".");
  m.def(
      "LibraryFileVersion",
      [] {
        const FileVersion v = LibraryFileVersion();
        return py::make_tuple(v.major, v.minor, v.patch, v.build);
      },
      "The four-part file version (major, minor, patch, build).");
  m.def("LibraryDirectory", &LibraryDirectory, "The folder that holds libvelmora.so.");
  m.def("DataDirectory", &DataDirectory,
        "The folder that holds supportedEncodings.txt and supportedOutlookHeaders.csv.");
  m.def("SameCharset", &SameCharset, py::arg("a"), py::arg("b"),
        "True when two charset names name one charset by the usual aliases.");
  m.def(
      "ListSupportedEncodings",
      [](const std::string& path) {
        std::vector<EncodingInfo> out;
        const HRESULT status = ListSupportedEncodings(path, &out);
        py::list entries;
        for (const EncodingInfo& e : out) {
          entries.append(
              py::make_tuple(e.display_name, e.charset, e.code_page, e.visible, e.system_locale));
        }
        return py::make_tuple(status, entries);
      },
      py::arg("path") = std::string(),
      "(status, [(display_name, charset, code_page, visible, system_locale), ...]) from "
      "supportedEncodings.txt at `path` (empty: the one in DataDirectory()).");
}

}  // namespace

}  // namespace velmora::python

PYBIND11_MODULE(_velmora, m) {
  using namespace velmora::python;
  m.doc() =
      "Velmora's object model, method for method: every call returns its status, alone or "
      "first in a tuple with the out values. Use the velmora package for the Pythonic layer.";
  BindBase(m);
  BindEnums(m);
  BindContact(m);
  BindCards(m);
  BindCsv(m);
  BindHeaders(m);
  BindConverter(m);
}

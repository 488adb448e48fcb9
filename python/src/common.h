// Shared pieces of the Python binding: conversions between Python values and
// the object model's types, the progress and report adapters, and the
// registration functions of each bound area.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <velmora/velmora.h>

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

namespace velmora::python {

namespace py = pybind11;

// Card data crosses as bytes: a copy in, a copy out.
std::vector<std::uint8_t> BytesIn(const py::object& value);
py::bytes BytesOut(const std::vector<std::uint8_t>& value);

// A Python value as an optional argument: None is missing; str, bool, int
// (32-bit signed, else unsigned), float, bytes, a list of str and library
// objects map to their kinds. Anything else raises TypeError.
Variant VariantIn(const py::object& value);

// The caller's progress object (methods OnCardConverterProgress and
// IsCardConverterCancelled) seen from the library, which calls it with the
// interpreter lock released: each call takes the lock again. An exception
// raised by the callback cancels the operation and is raised again once the
// call returns (Rethrow).
class PyProgress final : public ICardConverterProgress {
 public:
  explicit PyProgress(py::object target) : target_(std::move(target)) {}
  ~PyProgress();
  void OnCardConverterProgress(std::int32_t iContact, std::int32_t cContacts,
                               std::int32_t StatsSuccess, std::int32_t StatsSkipped,
                               std::int32_t StatsErrors) override;
  bool IsCardConverterCancelled() override;
  // Raises the callback's exception, if any; called with the lock held.
  void Rethrow();

 private:
  py::object target_;
  std::unique_ptr<py::error_already_set> error_;
};

// Holds an optional PyProgress for the length of one call.
class ProgressArg {
 public:
  explicit ProgressArg(const py::object& value) {
    if (!value.is_none()) adapter_ = std::make_unique<PyProgress>(value);
  }
  ICardConverterProgress* get() { return adapter_.get(); }
  void Rethrow() {
    if (adapter_) adapter_->Rethrow();
  }

 private:
  std::unique_ptr<PyProgress> adapter_;
};

// Runs a library call with the interpreter lock released, so that other
// Python threads run meanwhile.
template <typename F>
HRESULT Released(F&& call) {
  py::gil_scoped_release release;
  return call();
}

// The same for a call that takes a progress callback: `call` receives the
// adapter of `progress` (null for None), and what the Python callback
// raised is raised again once the call has returned.
template <typename F>
HRESULT ReleasedWithProgress(const py::object& progress, F&& call) {
  ProgressArg adapter(progress);
  const HRESULT status = Released([&] { return call(adapter.get()); });
  adapter.Rethrow();
  return status;
}

// A raw object or None when the library returned none.
template <typename T>
py::object ObjectOut(const std::shared_ptr<T>& value) {
  if (!value) return py::none();
  return py::cast(value);
}

void BindEnums(py::module_& m);
void BindCards(py::module_& m);
void BindContact(py::module_& m);
void BindCsv(py::module_& m);
void BindHeaders(py::module_& m);
void BindConverter(py::module_& m);

}  // namespace velmora::python

namespace velmora::python {

// An out value as Python sees it: bytes for byte arrays, None for a missing
// object, the natural type otherwise.
template <typename T>
py::object Out(const T& value) {
  return py::cast(value);
}
inline py::object Out(const std::vector<std::uint8_t>& value) { return BytesOut(value); }
template <typename T>
py::object Out(const std::shared_ptr<T>& value) {
  return ObjectOut(value);
}
inline py::object Out(const std::vector<bool>& value) {
  py::list list;
  for (bool b : value) list.append(py::bool_(b));
  return list;
}

// A getter `HRESULT get_X(T*)` as a method returning (status, value).
template <typename I, typename T>
auto Getter(HRESULT (I::*method)(T*)) {
  return [method](I& self) {
    T value{};
    const HRESULT status = (self.*method)(&value);
    return py::make_tuple(status, Out(value));
  };
}

// An indexed getter `HRESULT X(A, T*)` as a method returning (status, value).
template <typename I, typename A, typename T>
auto IndexedGetter(HRESULT (I::*method)(A, T*)) {
  return [method](I& self, A arg) {
    T value{};
    const HRESULT status = (self.*method)(arg, &value);
    return py::make_tuple(status, Out(value));
  };
}

}  // namespace velmora::python

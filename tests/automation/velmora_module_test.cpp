#include "automation/velmora_module.h"

#include <latch>
#include <memory>
#include <thread>

#include <velmora/module.h>

#include "automation/automation_test_support.h"
#include "automation/card_converter_unknown.h"
#include "foundation/guid_text.h"
#include "foundation/module_info.h"

namespace velmora::test {
namespace {

void* const kGarbage = reinterpret_cast<void*>(0x1234);

// Every one of `lines` is in the module's own log.
void ExpectModuleLogged(std::initializer_list<std::string_view> lines) {
  ExpectLogged("Velmora", ThisModule().path.stem().string(), lines);
}

// The class factory from the exported entry point.
VelmoraClassFactory* Factory() {
  void* factory = kGarbage;
  EXPECT_EQ(DllGetClassObject(&CLSID_CardConverter, &IID_IClassFactory, &factory), S_OK);
  return static_cast<VelmoraClassFactory*>(factory);
}

// Only CardConverter has a factory; the pointers and interfaces asked for
// are checked.
TEST(ModuleGetClassObject, ChecksClassesPointersAndInterfaces) {
  const VelmoraGuid unknown_class = {0x12345678, 0x1, 0x2, {3, 4, 5, 6, 7, 8, 9, 10}};
  EXPECT_EQ(DllGetClassObject(&CLSID_CardConverter, &IID_IClassFactory, nullptr), E_POINTER);
  const struct {
    const VelmoraGuid* clsid;
    const VelmoraGuid* iid;
    HRESULT status;
  } cases[] = {
      {nullptr, &IID_IClassFactory, E_INVALIDARG},
      {&CLSID_CardConverter, nullptr, E_INVALIDARG},
      {&CLSID_CardConverter, &IID_IUnknown, S_OK},
      {&CLSID_CardConverter, &IID_IClassFactory, S_OK},
      {&CLSID_CardConverter, &IID_ICardConverter, E_NOINTERFACE},
      {&CLSID_Cards, &IID_IUnknown, CLASS_E_CLASSNOTAVAILABLE},
      {&CLSID_Cards, &IID_IClassFactory, CLASS_E_CLASSNOTAVAILABLE},
      {&IID_ICardConverter, &IID_IClassFactory, CLASS_E_CLASSNOTAVAILABLE},
      {&unknown_class, &IID_IClassFactory, CLASS_E_CLASSNOTAVAILABLE},
  };
  VelmoraClassFactory* first = nullptr;
  for (const auto& c : cases) {
    void* object = kGarbage;
    const HRESULT status = DllGetClassObject(c.clsid, c.iid, &object);
    EXPECT_EQ(status, c.status) << (c.clsid ? GuidText(*c.clsid) : "null");
    auto* factory = static_cast<VelmoraClassFactory*>(object);
    if (status != S_OK) {
      EXPECT_EQ(object, nullptr);  // cleared on failure
      continue;
    }
    // Every request gets the one cached factory.
    if (first == nullptr) first = factory;
    EXPECT_EQ(factory, first);
    factory->lpVtbl->Release(factory);
  }
  ExpectModuleLogged({"ppv is NULL", "No interface {DAB089C9-ACA1-411A-81CC-F5A1DF22C06F}",
                      "Class {F8875A16-0D57-4372-8786-FCB933D0B0C2} is not available"});
  EXPECT_EQ(DllCanUnloadNow(), S_OK);
}

TEST(ModuleClassFactory, CreatesUninitialisedConverters) {
  VelmoraClassFactory* factory = Factory();
  ASSERT_NE(factory, nullptr);
  VelmoraUnknown outer_object{nullptr};
  const struct {
    VelmoraUnknown* outer;
    const VelmoraGuid* iid;
    HRESULT status;
  } cases[] = {
      {nullptr, &IID_IUnknown, S_OK},
      {nullptr, &IID_ICardConverter, S_OK},
      {nullptr, &IID_IClassFactory, E_NOINTERFACE},
      {nullptr, nullptr, E_INVALIDARG},
      {&outer_object, &IID_IUnknown, CLASS_E_NOAGGREGATION},
      {&outer_object, &IID_ICardConverter, CLASS_E_NOAGGREGATION},
  };
  for (const auto& c : cases) {
    void* object = kGarbage;
    const HRESULT status = factory->lpVtbl->CreateInstance(factory, c.outer, c.iid, &object);
    EXPECT_EQ(status, c.status);
    if (status != S_OK) {
      EXPECT_EQ(object, nullptr);
      continue;
    }
    auto* unknown = static_cast<VelmoraUnknown*>(object);
    // One identity for both interfaces; nothing else.
    void* same = nullptr;
    ASSERT_EQ(unknown->lpVtbl->QueryInterface(unknown, &IID_IUnknown, &same), S_OK);
    EXPECT_EQ(same, object);
    ASSERT_EQ(unknown->lpVtbl->QueryInterface(unknown, &IID_ICardConverter, &same), S_OK);
    EXPECT_EQ(same, object);
    EXPECT_EQ(unknown->lpVtbl->QueryInterface(unknown, &IID_ICards, &same), E_NOINTERFACE);
    EXPECT_EQ(same, nullptr);
    EXPECT_EQ(unknown->lpVtbl->QueryInterface(unknown, &IID_IUnknown, nullptr), E_POINTER);
    EXPECT_EQ(unknown->lpVtbl->Release(unknown), 2u);
    EXPECT_EQ(unknown->lpVtbl->Release(unknown), 1u);
    // A new converter: uninitialised, so its first Init succeeds.
    const std::shared_ptr<ICardConverter> converter =
        automation::CCardConverterUnknown::From(unknown)->converter();
    std::int32_t count = 0;
    EXPECT_EQ(converter->CountFilesContacts({}, nullptr, 0, nullptr, &count), E_GENERIC_FAILURE);
    EXPECT_EQ(converter->Init(u"", Variant(U16(EncodingsFile()))), S_OK);
    EXPECT_EQ(unknown->lpVtbl->Release(unknown), 0u);
  }
  EXPECT_EQ(factory->lpVtbl->CreateInstance(factory, nullptr, &IID_IUnknown, nullptr), E_POINTER);
  EXPECT_EQ(automation::CCardConverterUnknown::From(nullptr), nullptr);
  EXPECT_EQ(factory->lpVtbl->Release(factory), 0u);
  ExpectModuleLogged({"Aggregation is not supported"});
}

TEST(ModuleClassFactory, TwoThreadsRacingSeeOneFactory) {
  for (int round = 0; round < 50; ++round) {
    automation::CVelmoraModule module;
    void* seen[2] = {nullptr, nullptr};
    std::latch start(2);
    auto ask = [&](int i) {
      start.arrive_and_wait();
      EXPECT_EQ(module.GetClassObject(&CLSID_CardConverter, &IID_IClassFactory, &seen[i]), S_OK);
    };
    std::thread other(ask, 1);
    ask(0);
    other.join();
    ASSERT_NE(seen[0], nullptr);
    ASSERT_EQ(seen[0], seen[1]) << "round " << round;
    auto* factory = static_cast<VelmoraClassFactory*>(seen[0]);
    EXPECT_EQ(module.CanUnloadNow(), S_FALSE);
    EXPECT_EQ(factory->lpVtbl->Release(factory), 1u);
    EXPECT_EQ(factory->lpVtbl->Release(factory), 0u);
  }
}

TEST(ModuleCanUnloadNow, LocksAndFactoryReferencesKeepTheModule) {
  automation::CVelmoraModule module;
  EXPECT_EQ(module.CanUnloadNow(), S_OK);
  void* object = nullptr;
  ASSERT_EQ(module.GetClassObject(&CLSID_CardConverter, &IID_IClassFactory, &object), S_OK);
  auto* factory = static_cast<VelmoraClassFactory*>(object);
  EXPECT_EQ(module.CanUnloadNow(), S_FALSE);  // the factory is held
  EXPECT_EQ(factory->lpVtbl->LockServer(factory, 1), S_OK);
  EXPECT_EQ(factory->lpVtbl->Release(factory), 0u);
  EXPECT_EQ(module.CanUnloadNow(), S_FALSE);  // the lock
  EXPECT_EQ(factory->lpVtbl->LockServer(factory, 0), S_OK);
  EXPECT_EQ(module.CanUnloadNow(), S_OK);
  // Unbalanced calls change nothing.
  EXPECT_EQ(factory->lpVtbl->LockServer(factory, 0), E_UNEXPECTED);
  EXPECT_EQ(factory->lpVtbl->Release(factory), 0u);
  EXPECT_EQ(module.locks(), 0);
  EXPECT_EQ(module.CanUnloadNow(), S_OK);
  EXPECT_EQ(factory->lpVtbl->LockServer(factory, 1), S_OK);
  EXPECT_EQ(module.CanUnloadNow(), S_FALSE);
  EXPECT_EQ(factory->lpVtbl->LockServer(factory, 0), S_OK);
  ExpectModuleLogged({"LockServer(FALSE) without a lock", "Release without a reference"});
}

using Holder = std::shared_ptr<void>;

// A C object, released when the last holder goes.
template <typename T>
Holder Held(T* object) {
  return Holder(object, [](void* p) {
    if (p != nullptr) static_cast<T*>(p)->lpVtbl->Release(static_cast<T*>(p));
  });
}

// One object of each kind the library hands out, named, made from `c`.
std::vector<std::pair<const char*, Holder>> EveryKindOfObject(ICardConverter& c) {
  VelmoraClassFactory* factory = Factory();
  void* unknown = nullptr;
  EXPECT_EQ(factory->lpVtbl->CreateInstance(factory, nullptr, &IID_IUnknown, &unknown), S_OK);
  std::shared_ptr<ICardPreview> preview;
  EXPECT_EQ(LoadText(c, Card("Doe", "John"))->ItemPreview(0, &preview), S_OK);
  std::shared_ptr<ICardContact> contact;
  std::shared_ptr<ICardContactAddress> address;
  bool added = false;
  EXPECT_EQ(c.CreateCardContact(&contact), S_OK);
  EXPECT_EQ(contact->AddAddress(u"", u"", u"1 Main St", u"", u"", u"", u"", vlmcaHome, &added),
            S_OK);
  EXPECT_EQ(contact->get_HomeAddress(&address), S_OK);
  std::shared_ptr<ICsvContent> content;
  std::shared_ptr<ICsvCells> cells;
  EXPECT_EQ(c.LoadCsvContentFromMemory(Bytes("First Name\r\nJohn\r\n"), 1252, &content), S_OK);
  EXPECT_EQ(content->Parse(&cells), S_OK);
  std::shared_ptr<ICsvOutlookLocale> locale;
  EXPECT_EQ(c.get_CsvOutlookLocalesItem(Variant(std::int32_t{0}), &locale), S_OK);
  std::shared_ptr<ICsvHeaders> headers;
  std::shared_ptr<ICsvHeader> header;
  EXPECT_EQ(c.GetCsvHeaders2(vlmcsvOutlook, &headers), S_OK);
  EXPECT_EQ(headers->get_Item(0, &header), S_OK);
  return {{"CardConverter through the factory", Held(static_cast<VelmoraUnknown*>(unknown))},
          {"class factory", Held(factory)},
          {"CardConverter", CreateCardConverter()},
          {"Cards", LoadText(c, Card("Doe", "John"))},
          {"CardPreview", preview},
          {"CardContact", contact},
          {"CardContactAddress", address},
          {"CsvContent", content},
          {"CsvCells", cells},
          {"CsvOutlookLocale", locale},
          {"CsvHeaders", headers},
          {"CsvHeader", header}};
}

// Each kind of object keeps the module loaded on its own, after the
// converter that made it and every other object are gone.
TEST(ModuleCanUnloadNow, EveryKindOfObjectKeepsTheModule) {
  ASSERT_EQ(DllCanUnloadNow(), S_OK);
  const std::size_t kinds = EveryKindOfObject(*NewCsvConverter()).size();
  ASSERT_EQ(DllCanUnloadNow(), S_OK);
  for (std::size_t i = 0; i < kinds; ++i) {
    auto objects = EveryKindOfObject(*NewCsvConverter());
    SCOPED_TRACE(objects[i].first);
    Holder object = objects[i].second;
    ASSERT_TRUE(object);
    objects.clear();
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE);
    object.reset();
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
  }
}

}  // namespace
}  // namespace velmora::test

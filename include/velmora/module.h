/* The module's C interface: how a C program, or any language with a C
 * foreign-function interface, gets a converter from libvelmora.so and lets
 * it go again.
 *
 * The library exports four functions. DllGetClassObject hands out the class
 * factory of CardConverter, the one class that can be created from outside;
 * the factory's CreateInstance makes converters. Both objects are reference
 * counted tables of functions, laid out as component-object bindings lay
 * them out (the function table first, QueryInterface, AddRef, Release at its
 * start): every pointer handed out is released once with Release. The
 * converter itself is used from C++ (velmora/card_converter.h); from C it is
 * held and released.
 *
 *   VelmoraClassFactory* factory = NULL;
 *   VelmoraUnknown* converter = NULL;
 *   if (DllGetClassObject(&CLSID_CardConverter, &IID_IClassFactory, (void**)&factory) == 0 &&
 *       factory->lpVtbl->CreateInstance(factory, NULL, &IID_IUnknown, (void**)&converter) == 0) {
 *     ...
 *     converter->lpVtbl->Release(converter);
 *   }
 *   if (factory) factory->lpVtbl->Release(factory);
 *
 * Objects are used from the thread that created them; the entry points and
 * the factory may be called from any thread. */
#pragma once

#include <velmora/export.h>
#include <velmora/guids.h>

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* A status: 0 success, 1 success with nothing to do, negative a failure.
 * The same values as velmora::HRESULT (velmora/status.h). */
typedef int32_t VelmoraStatus;

#define VELMORA_S_OK ((VelmoraStatus)0)
#define VELMORA_S_FALSE ((VelmoraStatus)1)
#define VELMORA_E_NOINTERFACE ((VelmoraStatus)0x80004002u)
#define VELMORA_E_POINTER ((VelmoraStatus)0x80004003u)
#define VELMORA_E_UNEXPECTED ((VelmoraStatus)0x8000FFFFu)
#define VELMORA_E_OUTOFMEMORY ((VelmoraStatus)0x8007000Eu)
#define VELMORA_E_INVALIDARG ((VelmoraStatus)0x80070057u)
#define VELMORA_CLASS_E_NOAGGREGATION ((VelmoraStatus)0x80040110u)
#define VELMORA_CLASS_E_CLASSNOTAVAILABLE ((VelmoraStatus)0x80040111u)

/* An object known only by its identity: a converter made by the factory.
 * QueryInterface answers IID_IUnknown and the object's own interface
 * identifier (IID_ICardConverter) with the same pointer. */
typedef struct VelmoraUnknown VelmoraUnknown;
typedef struct VelmoraUnknownVtbl {
  VelmoraStatus (*QueryInterface)(VelmoraUnknown* self, const VelmoraGuid* iid, void** object);
  uint32_t (*AddRef)(VelmoraUnknown* self);
  uint32_t (*Release)(VelmoraUnknown* self);
} VelmoraUnknownVtbl;
struct VelmoraUnknown {
  const VelmoraUnknownVtbl* lpVtbl;
};

/* The class factory. CreateInstance(outer, iid, object) makes a new,
 * uninitialised converter; `outer` must be NULL (VELMORA_CLASS_E_NOAGGREGATION
 * otherwise) and `iid` IID_IUnknown or IID_ICardConverter. LockServer(1)
 * keeps the module loaded without holding an object; LockServer(0) undoes
 * one such lock. */
typedef struct VelmoraClassFactory VelmoraClassFactory;
typedef struct VelmoraClassFactoryVtbl {
  VelmoraStatus (*QueryInterface)(VelmoraClassFactory* self, const VelmoraGuid* iid, void** object);
  uint32_t (*AddRef)(VelmoraClassFactory* self);
  uint32_t (*Release)(VelmoraClassFactory* self);
  VelmoraStatus (*CreateInstance)(VelmoraClassFactory* self, VelmoraUnknown* outer,
                                  const VelmoraGuid* iid, void** object);
  VelmoraStatus (*LockServer)(VelmoraClassFactory* self, int32_t lock);
} VelmoraClassFactoryVtbl;
struct VelmoraClassFactory {
  const VelmoraClassFactoryVtbl* lpVtbl;
};

/* The class factory of `clsid`, as its interface `iid` (IID_IClassFactory or
 * IID_IUnknown). `*object` is cleared first. VELMORA_E_POINTER when `object`
 * is NULL; VELMORA_CLASS_E_CLASSNOTAVAILABLE for every class but
 * CLSID_CardConverter. */
VELMORA_API VelmoraStatus DllGetClassObject(const VelmoraGuid* clsid, const VelmoraGuid* iid,
                                            void** object);

/* VELMORA_S_OK when no object the library handed out is alive and no lock is
 * held, so the module may be unloaded; VELMORA_S_FALSE otherwise. */
VELMORA_API VelmoraStatus DllCanUnloadNow(void);

/* Writes (and removes) the registration of CardConverter in the registry
 * store: its class, programmatic identifiers and application identity under
 * Software\Classes of the machine's store, or of the user's store when
 * VELMORA_REGISTER_PER_USER is set. Both can be repeated; they return the
 * first failing status of the store. */
VELMORA_API VelmoraStatus DllRegisterServer(void);
VELMORA_API VelmoraStatus DllUnregisterServer(void);

#ifdef __cplusplus
}
#endif

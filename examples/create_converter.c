/* Gets a converter from libvelmora.so through its C interface, the way a C
 * program or a foreign-function binding does: the class factory of
 * CardConverter, a new converter from it, then both released, after which
 * the module reports that it may be unloaded.
 *
 *   create_converter */
#include <velmora/module.h>

#include <stdio.h>

static int Check(const char* step, VelmoraStatus status, VelmoraStatus expected) {
  printf("%-40s 0x%08X%s\n", step, (unsigned)status, status == expected ? "" : "  (unexpected)");
  return status == expected;
}

int main(void) {
  VelmoraClassFactory* factory = NULL;
  VelmoraUnknown* converter = NULL;
  VelmoraUnknown* same = NULL;
  int ok = 1;

  ok &= Check("DllGetClassObject(CardConverter)",
              DllGetClassObject(&CLSID_CardConverter, &IID_IClassFactory, (void**)&factory),
              VELMORA_S_OK);
  if (factory == NULL) return 1;
  ok &=
      Check("CreateInstance(IID_ICardConverter)",
            factory->lpVtbl->CreateInstance(factory, NULL, &IID_ICardConverter, (void**)&converter),
            VELMORA_S_OK);
  if (converter == NULL) return 1;
  /* The converter's identity: asking for IID_IUnknown gives the same object. */
  ok &= Check("QueryInterface(IID_IUnknown)",
              converter->lpVtbl->QueryInterface(converter, &IID_IUnknown, (void**)&same),
              VELMORA_S_OK);
  ok &= same == converter;
  if (same != NULL) same->lpVtbl->Release(same);

  ok &= Check("DllCanUnloadNow (converter held)", DllCanUnloadNow(), VELMORA_S_FALSE);
  converter->lpVtbl->Release(converter);
  factory->lpVtbl->Release(factory);
  ok &= Check("DllCanUnloadNow (all released)", DllCanUnloadNow(), VELMORA_S_OK);

  puts(ok ? "converter created and released" : "FAILED");
  return ok ? 0 : 1;
}

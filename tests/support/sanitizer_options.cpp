// What the leak checker of the sanitizer suite (the unit tests and the
// command) leaves alone: only leaks of a system library on inputs built to
// break it, never one of ours.
//
// freexl 1.0.6 loses 178 bytes when it gives up on the hostile workbook of
// the corpus (calamine_OOM_alloc.xls), even after freexl_close: the memory
// is freexl's own, allocated inside freexl_open.
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions() {
  return "leak:libfreexl.so\n";
}

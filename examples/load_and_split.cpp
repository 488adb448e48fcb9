// Loads a .vcf file and saves every contact in it as a vCard 2.1 file of
// its own, named after the contact ("Doe, John.vcf", "Doe, John[1].vcf", ...).
//
//   load_and_split CONTACTS.vcf OUTPUT-FOLDER
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <velmora/velmora.h>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s CONTACTS.vcf OUTPUT-FOLDER\n", argv[0]);
    return 2;
  }
  using namespace velmora;

  std::shared_ptr<ICardConverter> converter = CreateCardConverter();
  // No product code: nothing is logged. The encodings list is the one
  // installed with the library.
  if (!converter || FAILED(converter->Init(u""))) return 1;

  std::shared_ptr<ICards> cards;
  HRESULT status = converter->LoadFile(Utf8ToUtf16(argv[1]), 0, false, nullptr, &cards);
  if (FAILED(status)) {
    std::fprintf(stderr, "cannot load %s (status 0x%08X)\n", argv[1],
                 static_cast<unsigned>(status));
    return 1;
  }

  std::vector<std::uint8_t> vcards;
  cards->GetAllItems(&vcards);
  std::int32_t saved = 0, skipped = 0, errors = 0;
  std::vector<std::u16string> files;
  status = converter->SaveMemory(vcards, Utf8ToUtf16(argv[2]), u"contacts",
                                 /*save_to_single_file=*/false, &saved, &skipped, &errors,
                                 /*dst_version=*/2.1, /*dst_encoding_cp=*/65001, Variant(), drmNone,
                                 nullptr, &files);
  for (const std::u16string& file : files) std::printf("%s\n", Utf16ToUtf8(file).c_str());
  std::printf("%d saved, %d skipped, %d errors\n", saved, skipped, errors);
  return FAILED(status) ? 1 : 0;
}

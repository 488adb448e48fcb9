// ICards and ICardPreview.
#include "common.h"

namespace velmora::python {

void BindCards(py::module_& m) {
  py::class_<ICardPreview, IObject, std::shared_ptr<ICardPreview>>(
      m, "ICardPreview",
      "Display strings of one card; lists are joined by the user's list separator and a space.")
      .def("get_Addresses", Getter(&ICardPreview::get_Addresses))
      .def("get_Company", Getter(&ICardPreview::get_Company))
      .def("get_Emails", Getter(&ICardPreview::get_Emails))
      .def("get_FileAs", Getter(&ICardPreview::get_FileAs))
      .def("get_FullName", Getter(&ICardPreview::get_FullName))
      .def("get_IMPPs", Getter(&ICardPreview::get_IMPPs))
      .def("get_JobTitle", Getter(&ICardPreview::get_JobTitle))
      .def("get_Notes", Getter(&ICardPreview::get_Notes), "The note on one line.")
      .def("get_Phones", Getter(&ICardPreview::get_Phones))
      .def("get_vCard", Getter(&ICardPreview::get_vCard), "The card's bytes.");

  py::class_<ICards, IObject, std::shared_ptr<ICards>>(
      m, "ICards",
      "An ordered list of cards, each the bytes of one vCard item; indexes are 0-based and an "
      "index outside the collection gives E_INVALIDARG.")
      .def("get_Count", Getter(&ICards::get_Count))
      .def("Item", IndexedGetter(&ICards::Item), py::arg("index"), "A copy of the card's bytes.")
      .def("ItemPreview", IndexedGetter(&ICards::ItemPreview), py::arg("index"),
           "The card's preview; asking twice for one index gives the same object.")
      .def("ItemContact", IndexedGetter(&ICards::ItemContact), py::arg("index"),
           "The card as a contact; asking twice for one index gives the same object, so edits "
           "made through it stay visible (they never change the card's bytes).")
      .def("Tag", IndexedGetter(&ICards::Tag), py::arg("index"),
           "The card's tag (the server tag of duplicate resolution); empty without tags.")
      .def(
          "GetAllItems",
          [](ICards& self) {
            std::vector<std::uint8_t> cards;
            HRESULT status;
            {
              py::gil_scoped_release release;
              status = self.GetAllItems(&cards);
            }
            return py::make_tuple(status, BytesOut(cards));
          },
          "Every card, trimmed, joined by CR LF; empty when no card has content.");
}

}  // namespace velmora::python

// Whatever a person types into the Programmer's address fields: no bus address
// is refused, naming the field, and nothing is sent; an address is used.
#include "tests/programmer/programmer_fixture.h"

namespace zelta::test {
namespace {

struct Field {
  const char* mode;
  const char* name;
  const char* button;
  const char* caption;  // as the refusal names it
  // The frame that carries an accepted address, or nothing to look for.
  Frame (*carrier)(std::uint16_t address);
};

const Field kFields[] = {
    {"Option1", "Text2", "Command6", "Start Address", &request::autoAddress},
    {"Option1", "Text3", "Command6", "End Address", nullptr},
    {"Option2", "Text5", "Command7", "Modul Search Address",
     [](std::uint16_t a) { return request::moduleSearch(a, SearchAction::StartFlashing); }},
    {"Option2", "Text4", "Command2", "Current Address",
     [](std::uint16_t a) { return request::setAddress(a, 1); }},
    {"Option2", "Text1", "Command2", "New Adress",
     [](std::uint16_t a) { return request::setAddress(0, a); }},
};

class ProgrammerInput : public ProgrammerFixture {
 protected:
  // A fresh window in the field's mode, the other fields of that mode holding
  // good addresses, the text typed and the button pressed; ten seconds later.
  void typeAndPress(const Field& f, const QString& typed) {
    startOpen();
    click(f.mode);
    for (const auto& [name, good] : {std::pair{"Text2", "1"}, {"Text3", "2"}, {"Text5", "7"},
                                     {"Text4", "0"}, {"Text1", "1"}})
      if (enabled(name)) type(name, good);
    type(f.name, typed);
    click(f.button);
    clock.advance(10000);
  }
  bool refused(const Field& f) {
    for (const BoxRequest& b : boxes.asked())
      if (b.text.contains(f.caption) && b.text.contains("0 to 65535")) return true;
    return false;
  }
};

TEST_F(ProgrammerInput, EveryFieldRefusesWhatIsNoBusAddressAndUsesWhatIs) {
  const std::pair<QString, int> cases[] = {  // typed, the address it holds (-1: none, refused)
      {"-1", -1},          {"65536", -1},       {"1.5", -1},        {"&H10000", -1},
      {"-0.5", -1},        {"65535.5", -1},     {"99999999999", -1}, {QString(400, '9'), -1},
      {"&H1.8", 1},        {"0", 0},            {"65535", 65535},   {"&HFFFF", 65535},
      {"  42", 42},        {"42abc", 42},       {"7 8", 7},         {"3e2", 300},
      {"1" + QString(400, '0') + "e-400", 1}, {"", 0}, {"abc", 0}, {"&h1f", 31},
  };
  bus.addModules(2, 0);
  for (const Field& f : kFields) {
    for (const auto& [typed, address] : cases) {
      SCOPED_TRACE(std::string(f.name) + " holds '" + typed.left(20).toStdString() + "'");
      typeAndPress(f, typed);
      if (address < 0) {
        EXPECT_TRUE(refused(f));
        EXPECT_EQ(boxes.asked().size(), 1u);
        EXPECT_TRUE(sent().empty()) << sent().size() << " frames sent";
        continue;
      }
      EXPECT_FALSE(refused(f));
      bool carried = f.carrier == nullptr;
      for (const auto& s : sent())
        carried |= f.carrier && s.frame == f.carrier(static_cast<std::uint16_t>(address));
      EXPECT_TRUE(carried) << "no request for address " << address;
    }
  }
}

}  // namespace
}  // namespace zelta::test

// Feeds arbitrary byte streams to the frame receiver and routes every frame it
// accepts through both programs' dispatch tables. Checks the receiver's
// promises: never more than ten bytes pending, every accepted frame carries a
// correct check byte, and a clean frame after the noise is always received.
#include <cstddef>
#include <cstdint>

#include "protocol/dispatch.h"
#include "protocol/receiver.h"
#include "protocol/requests.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

struct RangeCheckingReader final : zelta::ReaderReplies {
  void up_t_auswert(const zelta::Frame&, double c) override { check(c >= -39 && c <= 88.5); }
  void up_u_auswert(const zelta::Frame&, double v) override { check(v >= 0 && v <= 65.535); }
  void up_z_auswert(const zelta::Frame&, double z) override { check(z >= 0 && z <= 655.35); }
  void up_sammel_auswert(const zelta::Frame&, const zelta::decode::CollectiveReading& r) override {
    check(r.voltage >= 0 && r.voltage <= 65.535);
  }
  void up_hw(const zelta::Frame&, const std::string& s) override { check(s.size() <= 7); }
  void up_sw(const zelta::Frame&, const std::string& s) override { check(s.size() <= 11); }
  void up_modul(const zelta::Frame&, const std::optional<std::string>& n) override {
    check(!n || n->size() == 3);
  }
};

struct CountingProgrammer final : zelta::ProgrammerReplies {
  int calls = 0;
  void up_z_auswert(const zelta::Frame&, double) override { ++calls; }
  void up_sammel_auswert(const zelta::Frame&, const zelta::decode::CollectiveReading&) override { ++calls; }
  void up_modul_search(const zelta::Frame&) override { ++calls; }
  void up_address_search(const zelta::Frame&, std::uint16_t) override { ++calls; }
  void up_set_address(const zelta::Frame& f) override { check(zelta::frameAddress(f) == 0); }
  void up_set_address1(const zelta::Frame& f, std::uint16_t) override { check(zelta::frameAddress(f) != 0); }
  void up_set_auto(const zelta::Frame&, std::uint16_t) override { ++calls; }
  void up_rec_check(const zelta::Frame&, std::uint16_t) override { ++calls; }
  void temperatureReply(const zelta::Frame&) override { ++calls; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zelta::FrameReceiver receiver;
  RangeCheckingReader reader;
  CountingProgrammer programmer;
  for (std::size_t i = 0; i < size; ++i) {
    const auto outcome = receiver.push(data[i]);
    check(receiver.pending() < zelta::kFrameSize);
    if (outcome == zelta::FrameReceiver::Outcome::Complete) {
      check(zelta::hasValidCheckByte(receiver.frame()));
      zelta::dispatchReaderReply(receiver.frame(), reader);
      zelta::dispatchProgrammerReply(receiver.frame(), programmer);
    }
  }
  // Whatever came before, a request cleared receiver takes the next frame whole.
  receiver.clear();
  const zelta::Frame clean = zelta::request::readerVoltage(7);
  zelta::FrameReceiver::Outcome last{};
  for (std::uint8_t b : clean) last = receiver.push(b);
  check(last == zelta::FrameReceiver::Outcome::Complete && receiver.frame() == clean);
  return 0;
}

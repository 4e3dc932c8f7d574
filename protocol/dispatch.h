// Routes a validated reply frame to the handler for its reply type, with the
// dispatch table of each program. The programs implement the handler
// interfaces; this code knows nothing of windows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "decoders.h"
#include "frame.h"

namespace zelta {

class ReaderReplies {
 public:
  virtual ~ReaderReplies() = default;
  virtual void up_t_auswert(const Frame& f, double celsius) = 0;
  virtual void up_u_auswert(const Frame& f, double volts) = 0;
  virtual void up_z_auswert(const Frame& f, double milliohm) = 0;
  virtual void up_sammel_auswert(const Frame& f, const decode::CollectiveReading& r) = 0;
  virtual void up_hw(const Frame& f, const std::string& revision) = 0;
  virtual void up_sw(const Frame& f, const std::string& revision) = 0;
  // name is empty when the code has no name
  virtual void up_modul(const Frame& f, const std::optional<std::string>& name) = 0;
};

// Returns false when the reply type has no entry (the frame is ignored).
bool dispatchReaderReply(const Frame& f, ReaderReplies& handlers);

class ProgrammerReplies {
 public:
  virtual ~ProgrammerReplies() = default;
  virtual void up_z_auswert(const Frame& f, double milliohm) = 0;
  virtual void up_sammel_auswert(const Frame& f, const decode::CollectiveReading& r) = 0;
  virtual void up_modul_search(const Frame& f) = 0;
  virtual void up_address_search(const Frame& f, std::uint16_t address) = 0;
  virtual void up_set_address(const Frame& f) = 0;                         // from address 0
  virtual void up_set_address1(const Frame& f, std::uint16_t newAddress) = 0;  // from another
  virtual void up_set_auto(const Frame& f, std::uint16_t from) = 0;
  virtual void up_rec_check(const Frame& f, std::uint16_t number) = 0;
  virtual void temperatureReply(const Frame& f) = 0;
};

bool dispatchProgrammerReply(const Frame& f, ProgrammerReplies& handlers);

}  // namespace zelta

#include "dispatch.h"

#include "commands.h"

namespace zelta {

bool dispatchReaderReply(const Frame& f, ReaderReplies& h) {
  switch (frameCommand(f)) {
    case cmd::Temperature: h.up_t_auswert(f, decode::temperature(f)); return true;
    case cmd::Voltage: h.up_u_auswert(f, decode::voltage(f)); return true;
    case cmd::Impedance: h.up_z_auswert(f, decode::impedance(f)); return true;
    case cmd::Collective: h.up_sammel_auswert(f, decode::collective(f)); return true;
    case cmd::HardwareRevision: h.up_hw(f, decode::hardwareRevision(f)); return true;
    case cmd::SoftwareRevision: h.up_sw(f, decode::softwareRevision(f)); return true;
    case cmd::ModuleType:
      h.up_modul(f, decode::moduleTypeName(decode::moduleTypeCode(f)));
      return true;
    default: return false;
  }
}

bool dispatchProgrammerReply(const Frame& f, ProgrammerReplies& h) {
  switch (frameCommand(f)) {
    case cmd::Impedance: h.up_z_auswert(f, decode::impedance(f)); return true;
    case cmd::Collective: h.up_sammel_auswert(f, decode::collective(f)); return true;
    case cmd::ModuleSearch: h.up_modul_search(f); return true;
    case cmd::Address:
      if (f[4] == 0) {
        h.up_address_search(f, decode::addressInData(f));
        return true;
      }
      if (f[4] == 1) {
        if (frameAddress(f) == 0)
          h.up_set_address(f);
        else
          h.up_set_address1(f, decode::addressInData(f));
        return true;
      }
      return false;
    case cmd::AutoAddress: h.up_set_auto(f, frameAddress(f)); return true;
    case cmd::Ping: h.up_rec_check(f, decode::messageNumber(f)); return true;
    case cmd::Temperature: h.temperatureReply(f); return true;
    default: return false;
  }
}

}  // namespace zelta

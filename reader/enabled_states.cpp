#include "enabled_states.h"

#include <QWidget>

namespace zelta {
namespace {

constexpr bool E = true;
constexpr bool D = false;

constexpr EnabledEntry kStartUp[] = {
    {"Combo2", E},    {"Command36", E},  {"Command38", D},  {"Option1", D},    {"Option2", D},
    {"Check7", D},    {"Text1", D},      {"Label1", D},     {"Label28", D},    {"Text8", D},
    {"Label36", D},   {"Text45", D},     {"Check1", D},     {"Command16", D},  {"Command17", D},
    {"Label6", D},    {"Option3(0)", D}, {"Option3(1)", D}, {"Option3(2)", D}, {"Label21", D},
    {"Label37", D},   {"Label2", D},     {"Text2", D},      {"Command8", D},   {"Command12", D},
    {"Command13", D}, {"Command14", D},  {"Command15", D},  {"Command56", D},  {"Label31", D},
    {"Command23", D}, {"Command66", D}};

constexpr EnabledEntry kOpen[] = {
    {"Combo2", D},    {"Command36", D},  {"Command38", E},  {"Option1", E},    {"Option2", E},
    {"Check7", E},    {"Text1", E},      {"Label1", E},     {"Label28", E},    {"Text8", E},
    {"Label36", E},   {"Text45", E},     {"Check1", E},     {"Command16", E},  {"Command17", D},
    {"Label6", E},    {"Option3(0)", E}, {"Option3(1)", E}, {"Option3(2)", E}, {"Label21", E},
    {"Label37", E},   {"Label2", D},     {"Text2", D},      {"Command12", D},  {"Command13", D},
    {"Command14", D}, {"Command15", D},  {"Command56", D},  {"Label31", D},    {"Command23", D},
    {"Command66", D}};

constexpr EnabledEntry kFailedOpen[] = {
    {"Combo2", E},  {"Command36", E}, {"Command38", D}, {"Option1", D}, {"Option2", D},
    {"Check7", D},  {"Text1", D},     {"Label1", D},    {"Label28", D}, {"Text8", D},
    {"Label36", D}, {"Label21", D},   {"Label37", D},   {"Label2", D},  {"Text2", D}};

constexpr EnabledEntry kClose[] = {
    {"Combo2", E},    {"Command36", E},  {"Command38", D},  {"Option1", D},    {"Option2", D},
    {"Check7", D},    {"Text1", D},      {"Label1", D},     {"Label28", D},    {"Text8", D},
    {"Label36", D},   {"Text45", D},     {"Check1", D},     {"Command16", D},  {"Command17", D},
    {"Label6", D},    {"Option3(0)", D}, {"Option3(1)", D}, {"Option3(2)", D}, {"Label21", D},
    {"Label37", D},   {"Label2", D},     {"Text2", D},      {"Command8", D},   {"Command12", D},
    {"Command13", D}, {"Command14", D},  {"Command15", D},  {"Command56", D},  {"Label31", D},
    {"Command23", D}, {"Command66", D}};

constexpr EnabledEntry kScanModeSetUp[] = {
    {"Check7", E},    {"Text1", E},      {"Label1", E},     {"Label28", E},    {"Label36", E},
    {"Text8", E},     {"Text45", E},     {"Check1", E},     {"Command16", E},  {"Command17", D},
    {"Label6", E},    {"Option3(0)", E}, {"Option3(1)", E}, {"Option3(2)", E}, {"Label21", E},
    {"Label37", E},   {"Label2", D},     {"Text2", D},      {"Command8", D},   {"Command12", D},
    {"Command13", D}, {"Command14", D},  {"Command15", D},  {"Command56", D},  {"Label31", D},
    {"Command23", D}, {"Command66", D}};

constexpr EnabledEntry kManualModeSetUp[] = {
    {"Check7", D},    {"Text1", D},      {"Label1", D},     {"Label28", D},    {"Label36", D},
    {"Text8", D},     {"Text45", D},     {"Check1", D},     {"Command16", D},  {"Command17", D},
    {"Label6", D},    {"Option3(0)", D}, {"Option3(1)", D}, {"Option3(2)", D}, {"Label21", D},
    {"Label37", D},   {"Label2", E},     {"Text2", E},      {"Command8", E},   {"Command12", E},
    {"Command13", E}, {"Command14", E},  {"Command15", E},  {"Command56", E},  {"Label31", E},
    {"Command23", E}, {"Command66", E}};

constexpr EnabledEntry kScanStart[] = {{"Check7", D},     {"Text8", D},      {"Text45", D},
                                       {"Command16", D},  {"Command17", E},  {"Label6", D},
                                       {"Option3(0)", D}, {"Option3(1)", D}, {"Option3(2)", D}};

constexpr EnabledEntry kScanStop[] = {{"Check7", E},     {"Text8", E},      {"Text45", E},
                                      {"Command16", E},  {"Command17", D},  {"Label6", E},
                                      {"Option3(0)", E}, {"Option3(1)", E}, {"Option3(2)", E}};

}  // namespace

std::span<const EnabledEntry> enabledTable(WindowChange change) {
  switch (change) {
    case WindowChange::StartUp:
      return kStartUp;
    case WindowChange::Open:
      return kOpen;
    case WindowChange::FailedOpen:
      return kFailedOpen;
    case WindowChange::Close:
      return kClose;
    case WindowChange::ScanModeSetUp:
      return kScanModeSetUp;
    case WindowChange::ManualModeSetUp:
      return kManualModeSetUp;
    case WindowChange::ScanStart:
      return kScanStart;
    case WindowChange::ScanStop:
      return kScanStop;
  }
  return {};
}

void applyEnabledState(QWidget& root, WindowChange change) {
  for (const EnabledEntry& e : enabledTable(change))
    if (auto* w = root.findChild<QWidget*>(QString::fromLatin1(e.control)))
      w->setEnabled(e.enabled);
}

}  // namespace zelta
